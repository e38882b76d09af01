#pragma once
#include <vector>

#include "public/rdcontrol/Component.h"

class TMenuItem;

// A popup menu: its items (TMenuItem) nest in it in a description; showing a menu is the tray
// icon's full implementation.
class TPopupMenu : public TComponent {
  QVB_PERSISTENT(TPopupMenu)

 public:
  explicit TPopupMenu(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TPopupMenu() override;

  const std::vector<TMenuItem*>& Items() const { return FItems; }

 private:
  friend class TMenuItem;
  std::vector<TMenuItem*> FItems;  // not owned: the items belong to the menu's owner
};
