#pragma once
#include <string>

#include "public/rdcontrol/Component.h"

class TPopupMenu;

// One item of a popup menu.
class TMenuItem : public TComponent {
  QVB_PERSISTENT(TMenuItem)

 public:
  explicit TMenuItem(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  TComponent* GetParentComponent() const override;
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
