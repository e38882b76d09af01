#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdGraphicControl.h"

class TWinControl;

// The library's plain text label: caption placed by Alignment and Layout inside TextBorder,
// optional background picture, colours by state. Sized to its text while AutoSize is on.
class TRdLabel : public TRdGraphicControl {
  QVB_PERSISTENT(TRdLabel)

 public:
  explicit TRdLabel(TComponent* owner = nullptr);

  TAlignment Alignment() const { return FAlignment; }
  TTextLayoutPos Layout() const { return FLayout; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool on);
  TDesignRect& TextBorder() { return FTextBorder; }
  TPicture& BkgNormal() { return FBkgNormal; }
  TDesignRect& BkgOption() { return FBkgOption; }
  TWinControl* FocusControl() const { return FFocusControl; }
  bool SetFocusControl(TComponent* c);

  // Results of the last layout.
  bool FoundTextEllipsis() const { return FFoundTextEllipsis; }
  bool FoundTextWordBreak() const { return FFoundTextWordBreak; }
  int FoundTextDrawLine() const { return FFoundTextDrawLine; }

  void Paint(TPainter& painter) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnPaintImage;
  TNotifyEvent OnPaintEnd;

  TAlignment FAlignment{taLeftJustify};
  TTextLayoutPos FLayout{tlTop};
  bool FWrapChar{true};
  TEllipsisPosition FEllipsisPosition{epNone};
  bool FTransparent{true};
  TColor FFontHoverColor{clDefault};
  TColor FFontDownColor{clDefault};
  TColor FFontDisabledColor{clGrayText};
  bool FFontAntialiased{false};
  int FGlowSize{0};
  bool FShowAccelChar{false};
  bool FAutoShowHint{false};

 protected:
  void TextChanged() override { AdjustSize(); }
  void FontChanged() override;
  virtual void AdjustSize();
  TRect TextRect() const;
  TColor TextColor() const;

  bool FAutoSize{true};
  bool FWordWrap{false};
  bool FFoundTextEllipsis{false};
  bool FFoundTextWordBreak{false};
  int FFoundTextDrawLine{0};

 private:
  TDesignRect FTextBorder;
  TPicture FBkgNormal;
  TDesignRect FBkgOption;
  TWinControl* FFocusControl{nullptr};
};
