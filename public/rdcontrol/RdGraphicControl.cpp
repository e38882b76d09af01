#include "public/rdcontrol/RdGraphicControl.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdGraphicControl::StaticClass() {
  using C = TRdGraphicControl;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdGraphicControl", &TGraphicControl::StaticClass());
    QVB_RD_COMMON(t, C);
    return t.Build();
  }();
  return info;
}
