#pragma once
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdPaintBox.h"

// A paint box that draws a background picture and a picture by nine-grid drawing.
class TRdStretchImage : public TRdPaintBox {
  QVB_PERSISTENT(TRdStretchImage)

 public:
  explicit TRdStretchImage(TComponent* owner = nullptr);

  TPicture& Picture() { return FPicture; }
  TPicture& PictureBg() { return FPictureBg; }
  TDesignRect& StretchOption() { return FStretchOption; }
  void Paint(TPainter& painter) override;

 private:
  TPicture FPicture;
  TPicture FPictureBg;
  TDesignRect FStretchOption;
};
