#pragma once
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/Picture.h"

// The notification-area icon. This class keeps the published settings; showing the icon through
// the desktop's tray protocol is the tray icon's full implementation (the installer keeps it
// disabled for the whole run).
class TCCTrayIcon : public TComponent {
  QVB_PERSISTENT(TCCTrayIcon)

 public:
  enum TClicks {
    ticNone,
    ticLeftClick,
    ticLeftDblClick,
    ticLeftClickUp,
    ticRightClick,
    ticRightDblClick,
    ticRightClickUp
  };

  explicit TCCTrayIcon(TComponent* owner = nullptr) : TComponent(owner) { FIcon.SetOwner(this); }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool on) { FEnabled = on; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  TPicture& Icon() { return FIcon; }
  TComponent* IconList() const { return FIconList; }
  TComponent* PopupMenu() const { return FPopupMenu; }
  void Notification(TComponent* component, TOperation operation) override;

  int FIconIndex{0};
  bool FAnimate{false};
  int FInterval{1000};
  TClicks FRestoreOn{ticLeftDblClick};
  TClicks FPopupMenuOn{ticRightClickUp};
  bool FHideOnMinimize{true};
  bool FHideOnStartup{false};
  TComponent* FIconList{nullptr};
  TComponent* FPopupMenu{nullptr};

 private:
  bool FEnabled{true};
  std::string FHint;
  TPicture FIcon;
};
