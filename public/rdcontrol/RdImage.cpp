#include "public/rdcontrol/RdImage.h"

#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/RdGraphicControl.h"

const TClassInfo& TRdImage::StaticClass() {
  using C = TRdImage;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdImage", &TImage::StaticClass());
    t.Creatable();
    QVB_RD_COMMON(t, C).Event("OnPaint").Event("OnPaintEnd");
    return t.Build();
  }();
  return info;
}

void TRdImage::Paint(TPainter& painter) {
  if (OnPaint) OnPaint(this);
  TImage::Paint(painter);
  if (OnPaintEnd) OnPaintEnd(this);
}
