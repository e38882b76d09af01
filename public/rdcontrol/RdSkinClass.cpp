#include "public/rdcontrol/RdSkinClass.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdSkinClassDraw::StaticClass() {
  using C = TRdSkinClassDraw;
  static const TClassInfo info = TPropertyTable<C>("TRdSkinClassDraw", &TPersistent::StaticClass())
                                     .IntField("DrawAlpha", &C::FDrawAlpha, 255)
                                     .IntField("DrawScale", &C::FDrawScale, 100)
                                     .IntField("DrawBkgBlur", &C::FDrawBkgBlur, 0)
                                     .IntField("DrawBlur", &C::FDrawBlur, 0)
                                     .BoolField("DrawGray", &C::FDrawGray, false)
                                     .EnumField("SmoothFilter", SmoothFilterNames(), &C::FSmoothFilter, psfFastSmooth)
                                     .BoolField("MergeBkg", &C::FMergeBkg, false)
                                     .Build();
  return info;
}

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
