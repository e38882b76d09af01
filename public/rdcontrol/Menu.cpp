#include "public/rdcontrol/Menu.h"

#include <algorithm>

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = TPropertyTable<TPopupMenu>("TPopupMenu", &TComponent::StaticClass()).Creatable().Build();
  return info;
}

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

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : FItems) item->FMenu = nullptr;
}

TMenuItem::~TMenuItem() { SetParentComponent(nullptr); }

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
