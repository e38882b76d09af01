#pragma once
#include <vector>

#include "public/rdcontrol/Component.h"

class TMenuItem;

// A popup menu and its items, as a description nests them; showing a menu is the tray icon's
// full implementation.
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

class TMenuItem : public TComponent {
  QVB_PERSISTENT(TMenuItem)

public:
  explicit TMenuItem(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  TComponent* GetParentComponent() const override { return FMenu; }
  void SetParentComponent(TComponent* parent) override;
  void Click() {
    if (OnClick) OnClick(this);
  }

  bool FChecked{false};
  bool FEnabled{true};
  bool FVisible{true};
  TNotifyEvent OnClick;

private:
  friend class TPopupMenu;
  std::string FCaption;
  TPopupMenu* FMenu{nullptr};
};
