#include "public/rdcontrol/GraphicControl.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TGraphicControl>("TGraphicControl", &TControl::StaticClass()).Build();
  return info;
}
