#include "public/rdcontrol/RdStretchImage.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdStretchImage::StaticClass() {
  using C = TRdStretchImage;
  static const TClassInfo info = TPropertyTable<C>("TRdStretchImage", &TRdPaintBox::StaticClass())
                                     .Creatable()
                                     .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, false)
                                     .Object("Picture", &C::Picture)
                                     .Object("Picture_Bg", &C::PictureBg)
                                     .Object("StretchOption", &C::StretchOption)
                                     .Build();
  return info;
}

TRdStretchImage::TRdStretchImage(TComponent* owner) : TRdPaintBox(owner) {
  SetColor(clNone);
  SetParentColor(false);
  for (TPicture* p : {&FPicture, &FPictureBg}) {
    p->SetOwner(this);
    p->OnChange = [this] {
      if (!IsLoading()) Invalidate();
    };
  }
  FStretchOption.SetOwner(this);
  FStretchOption.OnChange = [this] {
    if (!IsLoading()) Invalidate();
  };
}

void TRdStretchImage::Paint(TPainter& painter) {
  FPictureBg.Draw(painter, ClientRect());
  FPicture.Draw(painter, ClientRect(), &FStretchOption.Grid());
  TRdPaintBox::Paint(painter);
}
