#include "public/rdcontrol/MenuItem.h"

#include <algorithm>

#include "public/rdcontrol/PopupMenu.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TMenuItem::StaticClass() {
  using C = TMenuItem;
  static const TClassInfo info = TPropertyTable<C>("TMenuItem", &TComponent::StaticClass())
                                     .Creatable()
                                     .String("Caption", &C::Caption, &C::SetCaption)
                                     .BoolField("Checked", &C::FChecked, false)
                                     .BoolField("Enabled", &C::FEnabled, true)
                                     .BoolField("Visible", &C::FVisible, true)
                                     .Event("OnClick")
                                     .Build();
  return info;
}

TComponent* TMenuItem::GetParentComponent() const {
  return FMenu;
}

TMenuItem::~TMenuItem() {
  SetParentComponent(nullptr);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  auto* menu = dynamic_cast<TPopupMenu*>(parent);
  if (!menu && parent) return;
  if (FMenu) {
    auto& items = FMenu->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
  }
  FMenu = menu;
  if (menu) menu->FItems.push_back(this);
}
