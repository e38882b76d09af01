#include "public/rdcontrol/EllipseSize.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TEllipseSize::StaticClass() {
  using C = TEllipseSize;
  static const TClassInfo info = TPropertyTable<C>("TEllipseSize", &TPersistent::StaticClass())
                                     .BoolField("Ellipse", &C::FEllipse, true)
                                     .IntField("Width", &C::FWidth, 0)
                                     .IntField("Height", &C::FHeight, 0)
                                     .Build();
  return info;
}
