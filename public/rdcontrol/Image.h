#pragma once
#include "public/rdcontrol/GraphicControl.h"
#include "public/rdcontrol/Picture.h"

// The platform's image control: shows its picture at natural size, centred, or stretched.
class TImage : public TGraphicControl {
  QVB_PERSISTENT(TImage)

 public:
  explicit TImage(TComponent* owner = nullptr);

  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }

  void Paint(TPainter& painter) override;

  bool FStretch{false};
  bool FCenter{false};
  bool FProportional{false};
  bool FTransparent{false};
  bool FAutoSize{false};

 protected:
  // The rectangle the picture is drawn into.
  TRect PictureRect() const;

 private:
  TPicture FPicture;
};
