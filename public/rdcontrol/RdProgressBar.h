#pragma once
#include <memory>

#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdPaintBox.h"
#include "public/rdcontrol/RdTimer.h"

// A picture progress bar: ImgBackground over the whole control, ImgBar nine-grid drawn into the
// filled width, and an optional moving highlight (ImgBooster) swept across the filled part by a
// timer. Position stays within [Min, Max]. Without pictures it draws a plain track and bar.
class TRdProgressBar : public TRdPaintBox {
  QVB_PERSISTENT(TRdProgressBar)

 public:
  explicit TRdProgressBar(TComponent* owner = nullptr);
  ~TRdProgressBar() override;

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const { return FPosition; }
  void SetPosition(int v);
  // A text change sets Position from the text as an integer (0 when it is not one).
  void SetCaption(const std::string& text) override;

  TPicture& ImgBackground() { return FImgBackground; }
  TDesignRect& ImgBackgroundOption() { return FImgBackgroundOption; }
  TPicture& ImgBar() { return FImgBar; }
  TDesignRect& ImgBarOption() { return FImgBarOption; }
  TPicture& ImgBooster() { return FImgBooster; }
  int ImgBoosterY() const { return FImgBoosterY; }
  void SetImgBoosterY(int y);
  int ImgInterval() const { return FImgInterval; }
  void SetImgInterval(int ms);

  // The filled width: client width x (Position - Min) / (Max - Min) rounded up and at least
  // ImgBarOption.Left + Right; 0 while Position <= Min or the range is empty.
  int FilledWidth() const;
  // The client rectangle cut at left + filled width, never beyond the client's right edge;
  // empty when nothing is filled.
  TRect BarRect() const;

  // The highlight: its timer exists exactly while ImgBooster holds a picture.
  TRdTimer* BoosterTimer() const { return FBoosterTimer.get(); }
  int BoosterOffset() const { return FBoosterOffset; }
  // One step of the sweep (what the timer runs).
  void BoosterTick();

  void Paint(TPainter& painter) override;
  void Loaded() override;

 private:
  void UpdateBoosterTimer();

  int FMin{0};
  int FMax{100};
  int FPosition{0};
  TPicture FImgBackground;
  TDesignRect FImgBackgroundOption;
  TPicture FImgBar;
  TDesignRect FImgBarOption;
  TPicture FImgBooster;
  int FImgBoosterY{0};
  int FImgInterval{30};
  std::unique_ptr<TRdTimer> FBoosterTimer;
  int FBoosterOffset{0};
};
