#include "public/rdcontrol/ShadowFrame.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TShadowFrame::StaticClass() {
  using C = TShadowFrame;
  static const TClassInfo info = TPropertyTable<C>("TShadowFrame", &TPersistent::StaticClass())
                                     .BoolField("Enabled", &C::FEnabled, false)
                                     .IntField("Left", &C::FLeft, 0)
                                     .IntField("Right", &C::FRight, 0)
                                     .IntField("Top", &C::FTop, 0)
                                     .IntField("Bottom", &C::FBottom, 0)
                                     .Integer("Width", &C::Width, nullptr)
                                     .Integer("Height", &C::Height, nullptr)
                                     .Build();
  return info;
}
