#include "public/rdcontrol/RdSkinStyle.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdSkinStyle::StaticClass() {
  using C = TRdSkinStyle;
  static const TClassInfo info = TPropertyTable<C>("TRdSkinStyle", &TComponent::StaticClass())
                                     .Creatable()
                                     .StringField("SkinRccFile", &C::FSkinRccFile)
                                     .StringField("RuntimePath", &C::FRuntimePath, "skin")
                                     .Strings("PublicRccFiles", &C::PublicRccFiles)
                                     .BoolField("MainSkin", &C::FMainSkin, false)
                                     .StringField("DesigntimePath", &C::FDesigntimePath)
                                     .BoolField("CurOwnerFont", &C::FCurOwnerFont, false)
                                     .Build();
  return info;
}

TRdSkinStyle::TRdSkinStyle(TComponent* owner) : TComponent(owner) {
  FPublicRccFiles.SetOwner(this);
  FPublicRccFiles.Add("public.rcc");
}
