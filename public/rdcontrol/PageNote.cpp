#include "public/rdcontrol/PageNote.h"

#include <algorithm>

#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPageNote::StaticClass() {
  using C = TPageNote;
  static const TClassInfo info =
      TPropertyTable<C>("TPageNote", &TWinControl::StaticClass())
          .Creatable()
          .Component(
              "ActivePage", [](const C& c) -> TComponent* { return c.ActivePage(); }, &C::SetActivePage)
          .Integer("TabIndex", &C::TabIndex, &C::SetTabIndex, -1)
          .Integer("TabCount", &C::TabCount, nullptr)
          .Boolean("EditTabs", &C::EditTabs, &C::SetEditTabs, false)
          .Build();
  return info;
}

TPageNote::TPageNote(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 150, 150);
}

TPageTab* TPageNote::Page(int index) const {
  return index >= 0 && index < TabCount() ? FPages[size_t(index)] : nullptr;
}

int TPageNote::IndexOfPage(const TPageTab* page) const {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TPageNote::SwitchTo(int index) {
  if (index < 0 || index >= TabCount() || index == FTabIndex) return;
  TPageTab* next = FPages[size_t(index)];
  TPageTab* previous = Page(FTabIndex);
  next->SetVisible(true);
  next->BringToFront();
  if (previous) previous->SetVisible(false);
  FTabIndex = index;
}

void TPageNote::SetTabIndex(int index) {
  if (IsLoading()) {
    FPendingTabIndex = index;
    return;
  }
  SwitchTo(index);
}

bool TPageNote::SetActivePage(TComponent* page) {
  auto* tab = dynamic_cast<TPageTab*>(page);
  if (page && !tab) return false;
  int index = IndexOfPage(tab);
  if (index >= 0) SetTabIndex(index);
  return true;
}

void TPageNote::ControlInserted(TControl* control) {
  auto* page = dynamic_cast<TPageTab*>(control);
  if (!page) return;
  page->SetAlign(alClient);
  page->SetBevelOuter(bvNone);
  page->SetCaption("");
  if (FPages.empty()) {
    FPages.push_back(page);
    FTabIndex = -1;
    SwitchTo(0);
    return;
  }
  int at = FTabIndex + 1;
  FPages.insert(FPages.begin() + at, page);
  // The new page starts hidden so that only the switch shows it.
  page->SetVisible(false);
  SwitchTo(at);
}

void TPageNote::ControlRemoved(TControl* control) {
  // NOTE: a page being freed is no longer a TPageTab by the time it leaves its parent, so it is
  // found by address, not by a cast.
  int position = -1;
  for (size_t i = 0; i < FPages.size(); ++i)
    if (static_cast<TControl*>(FPages[i]) == control) position = int(i);
  if (position < 0) return;
  TPageTab* page = FPages[size_t(position)];
  TPageTab* current = Page(FTabIndex);
  FPages.erase(FPages.begin() + position);
  if (FPages.empty()) {
    FTabIndex = -1;
    return;
  }
  FTabIndex = current == page ? -1 : IndexOfPage(current);
  SwitchTo(position % TabCount());
}

void TPageNote::ShowControl(TControl* control) {
  if (auto* page = dynamic_cast<TPageTab*>(control); page && IndexOfPage(page) >= 0)
    SetTabIndex(IndexOfPage(page));
  if (control) control->Show();
  TPageTab* active = ActivePage();
  if (!active) return;
  std::vector<TControl*> strays;
  for (int i = 0; i < ControlCount(); ++i)
    if (!dynamic_cast<TPageTab*>(Controls(i))) strays.push_back(Controls(i));
  for (TControl* c : strays) c->SetParent(active);
}

void TPageNote::Loaded() {
  TWinControl::Loaded();
  if (FPendingTabIndex != -2) SwitchTo(FPendingTabIndex);
  FPendingTabIndex = -2;
}

void TPageNote::Paint(TPainter& painter) {
  // Opaque, as the container paints: its colour behind the pages.
  painter.FillRect(ClientRect(), Color());
}
