#include "public/rdcontrol/Image.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TImage::StaticClass() {
  using C = TImage;
  static const TClassInfo info = TPropertyTable<C>("TImage", &TGraphicControl::StaticClass())
                                     .Creatable()
                                     .Object("Picture", [](C& c) -> TPicture& { return c.Picture(); })
                                     .BoolField("Stretch", &C::FStretch, false)
                                     .BoolField("Center", &C::FCenter, false)
                                     .BoolField("Proportional", &C::FProportional, false)
                                     .BoolField("Transparent", &C::FTransparent, false)
                                     .BoolField("AutoSize", &C::FAutoSize, false)
                                     .Build();
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  InitBounds(0, 0, 105, 105);
  FPicture.SetOwner(this);
  FPicture.OnChange = [this] {
    if (FAutoSize && !FPicture.Bitmap().Empty())
      SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
    Invalidate();
  };
}

TRect TImage::PictureRect() const {
  int w = FPicture.Width(), h = FPicture.Height();
  if (FStretch) {
    if (!FProportional || w == 0 || h == 0) return ClientRect();
    double scale = std::min(double(Width()) / w, double(Height()) / h);
    w = int(w * scale);
    h = int(h * scale);
  }
  if (FCenter) return TRect::FromSize((Width() - w) / 2, (Height() - h) / 2, w, h);
  return TRect::FromSize(0, 0, w, h);
}

void TImage::Paint(TPainter& painter) {
  FPicture.Draw(painter, PictureRect());
}
