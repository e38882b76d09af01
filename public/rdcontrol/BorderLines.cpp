#include "public/rdcontrol/BorderLines.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TBorderLines::StaticClass() {
  using C = TBorderLines;
  static const TClassInfo info = TPropertyTable<C>("TBorderLines", &TPersistent::StaticClass())
                                     .BoolField("Enabled", &C::FEnabled, false)
                                     .ColorField("Color", &C::FColor, clWindowFrame)
                                     .IntField("Width", &C::FWidth, 1)
                                     .BoolField("Left", &C::FLeft, true)
                                     .BoolField("Right", &C::FRight, true)
                                     .BoolField("Top", &C::FTop, true)
                                     .BoolField("Bottom", &C::FBottom, true)
                                     .Build();
  return info;
}
