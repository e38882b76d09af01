#include "public/rdcontrol/RdSkinClassDraw.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdSkinClassDraw::StaticClass() {
  using C = TRdSkinClassDraw;
  static const TClassInfo info =
      TPropertyTable<C>("TRdSkinClassDraw", &TPersistent::StaticClass())
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
