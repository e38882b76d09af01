#pragma once
#include <vector>

#include "public/rdcontrol/WinControl.h"

class TPageTab;

// A tab-less page container. Its pages (TPageTab children) are kept in an ordered list and
// switched by index; TabIndex is the visible page, -1 when there is none.
//   - The first page added becomes current; a later page is inserted right after the current
//     page and becomes current.
//   - Removing the only page leaves -1; removing any other selects (the removed page's
//     position) modulo (the new page count).
//   - Switching shows and raises the new page before it hides the old one, so the area is never
//     empty; an index outside the list, or the current one, changes nothing.
// While loading, TabIndex and ActivePage only record the choice, which Loaded applies.
class TPageNote : public TWinControl {
  QVB_PERSISTENT(TPageNote)

 public:
  explicit TPageNote(TComponent* owner = nullptr);

  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int index);
  int TabCount() const { return int(FPages.size()); }
  TPageTab* Page(int index) const;
  int IndexOfPage(const TPageTab* page) const;
  TPageTab* ActivePage() const { return Page(FTabIndex); }
  // A page of another container (or any other component) gives -1 and is ignored.
  bool SetActivePage(TComponent* page);
  bool EditTabs() const { return FEditTabs; }
  void SetEditTabs(bool on) { FEditTabs = on; }

  // Makes the control active when it is a page and shows it; then any direct child that is not
  // a page moves onto the active page.
  void ShowControl(TControl* control);

  void Paint(TPainter& painter) override;
  void Loaded() override;

 protected:
  void ControlInserted(TControl* control) override;
  void ControlRemoved(TControl* control) override;

 private:
  void SwitchTo(int index);

  std::vector<TPageTab*> FPages;  // children, not owned here
  int FTabIndex{-1};
  int FPendingTabIndex{-2};  // -2: none recorded while loading
  bool FEditTabs{false};
};
