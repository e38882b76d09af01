#include "public/rdcontrol/RdFormSkinBkgOpt.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdFormSkinBkgOpt::StaticClass() {
  using C = TRdFormSkinBkgOpt;
  static const TClassInfo info = TPropertyTable<C>("TRdFormSkinBkgOpt", &TDesignRect::StaticClass())
                                     .IntField("PadLeft", &C::FPadLeft, 0)
                                     .IntField("PadTop", &C::FPadTop, 0)
                                     .IntField("PadRight", &C::FPadRight, 0)
                                     .IntField("PadBottom", &C::FPadBottom, 0)
                                     .Build();
  return info;
}
