#include "public/rdcontrol/PageTab.h"

#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPageTab::StaticClass() {
  using C = TPageTab;
  static const TClassInfo info = TPropertyTable<C>("TPageTab", &TPanel::StaticClass())
                                     .Creatable()
                                     // Which page shows is the container's TabIndex, not a page's own.
                                     .Boolean("Visible", &C::Visible, &C::SetVisible, true)
                                     .NotStored()
                                     .Build();
  return info;
}

TPageNote* TPageTab::PageNote() const {
  return dynamic_cast<TPageNote*>(Parent());
}

int TPageTab::PageIndex() const {
  TPageNote* note = PageNote();
  return note ? note->IndexOfPage(this) : -1;
}

bool TPageTab::HitTestAt(TPoint local) const {
  TPageNote* note = PageNote();
  if (note && !note->EditTabs()) return false;
  return TPanel::HitTestAt(local);
}
