#include "public/rdcontrol/CCTrayIcon.h"

#include "public/rdcontrol/PropertyTable.h"

namespace {
const TEnumInfo ClickNames{"TCCTrayIconClicks",
                           {{"ticNone", 0},
                            {"ticLeftClick", 1},
                            {"ticLeftDblClick", 2},
                            {"ticLeftClickUp", 3},
                            {"ticRightClick", 4},
                            {"ticRightDblClick", 5},
                            {"ticRightClickUp", 6}}};
}

const TClassInfo& TCCTrayIcon::StaticClass() {
  using C = TCCTrayIcon;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TCCTrayIcon", &TComponent::StaticClass());
    t.Creatable()
        .Boolean("Enabled", &C::Enabled, &C::SetEnabled, true)
        .Object("Icon", &C::Icon)
        .Component("IconList", &C::IconList,
                   [](C& c, TComponent* v) {
                     c.FIconList = v;
                     return true;
                   })
        .IntField("IconIndex", &C::FIconIndex, 0)
        .BoolField("Animate", &C::FAnimate, false)
        .IntField("Interval", &C::FInterval, 1000)
        .String("Hint", &C::Hint, &C::SetHint)
        .Component("PopupMenu", &C::PopupMenu,
                   [](C& c, TComponent* v) {
                     c.FPopupMenu = v;
                     return true;
                   })
        .EnumField("RestoreOn", ClickNames, &C::FRestoreOn, ticLeftDblClick)
        .EnumField("PopupMenuOn", ClickNames, &C::FPopupMenuOn, ticRightClickUp)
        .BoolField("HideOnMinimize", &C::FHideOnMinimize, true)
        .BoolField("HideOnStartup", &C::FHideOnStartup, false);
    for (const char* e : {"OnMinimizeApp", "OnRestoreApp", "OnLButtonDown", "OnLButtonUp",
                          "OnLButtonDblClick", "OnRButtonDown", "OnRButtonUp", "OnRButtonDblClick",
                          "OnMouseMove", "OnBalloonHintHide", "OnBalloonHintClose", "OnBalloonHintClick",
                          "OnTrayHintOpen", "OnTrayHintClose", "OnEndSession", "OnQueryEndSession"})
      t.Event(e);
    return t.Build();
  }();
  return info;
}

void TCCTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FIconList) FIconList = nullptr;
  if (component == FPopupMenu) FPopupMenu = nullptr;
}
