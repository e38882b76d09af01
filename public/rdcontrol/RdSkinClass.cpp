#include "public/rdcontrol/RdSkinClass.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdSkinClass::StaticClass() {
  using C = TRdSkinClass;
  static const TClassInfo info = TPropertyTable<C>("TRdSkinClass", &TPersistent::StaticClass())
                                     .String("SkinClass", &C::SkinClass, &C::SetSkinClass)
                                     .Strings("IgnoreValues", &C::IgnoreValues)
                                     .Strings("SkinValues", &C::SkinValues)
                                     .BoolField("ClearOwnerPic", &C::FClearOwnerPic, false)
                                     .BoolField("ForceUseSkinPic", &C::FForceUseSkinPic, false)
                                     .Object("Draw", &C::Draw)
                                     .Build();
  return info;
}
