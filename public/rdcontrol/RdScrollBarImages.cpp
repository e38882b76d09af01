#include "public/rdcontrol/RdScrollBarImages.h"

#include "public/rdcontrol/PropertyTable.h"

const char* const* TRdScrollBarImages::Names() {
  static const char* const names[Count] = {"BtnLeft",       "BtnLeftHot",  "BtnRight",       "BtnRightHot",
                                           "ScrollBgTop",   "ScrollBg",    "ScrollBgBottom", "TrackTop",
                                           "TrackTopHot",   "TrackCenter", "TrackCenterHot", "TrackBottom",
                                           "TrackBottomHot"};
  return names;
}

const TClassInfo& TRdScrollBarImages::StaticClass() {
  using C = TRdScrollBarImages;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdScrollBarImages", &TPersistent::StaticClass());
    for (int i = 0; i < Count; ++i) t.Object(Names()[i], [i](C& c) -> TPicture& { return c.Image(i); });
    t.Object("ScrollBg_Option", &C::ScrollBgOption)
        .Object("Track_Option", &C::TrackOption)
        .BoolField("AutoArrow", &C::FAutoArrow, false)
        .BoolField("AllowArrow", &C::FAllowArrow, true)
        .BoolField("AutoSize", &C::FAutoSize, false)
        .BoolField("AutoHide", &C::FAutoHide, false)
        .BoolField("AutoCenter", &C::FAutoCenter, false);
    return t.Build();
  }();
  return info;
}

TRdScrollBarImages::TRdScrollBarImages() {
  for (TPicture& p : FImages) p.SetOwner(this);
}
