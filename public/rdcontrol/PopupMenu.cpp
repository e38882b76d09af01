#include "public/rdcontrol/PopupMenu.h"

#include "public/rdcontrol/MenuItem.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TPopupMenu>("TPopupMenu", &TComponent::StaticClass()).Creatable().Build();
  return info;
}

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : FItems) item->FMenu = nullptr;
}
