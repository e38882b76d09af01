#include "public/rdcontrol/RdAutoAlign.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdAutoAlign::StaticClass() {
  using C = TRdAutoAlign;
  static const TClassInfo info = TPropertyTable<C>("TRdAutoAlign", &TPersistent::StaticClass())
                                     .BoolField("Left_Right", &C::FLeftRight, false)
                                     .BoolField("Top_Bottom", &C::FTopBottom, false)
                                     .BoolField("Left_Invert", &C::FLeftInvert, false)
                                     .BoolField("Top_Invert", &C::FTopInvert, false)
                                     .Build();
  return info;
}
