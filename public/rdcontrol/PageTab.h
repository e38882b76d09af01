#pragma once
#include "public/rdcontrol/Panel.h"

class TPageNote;

// A page of a TPageNote: a panel that lives only inside one. While its container does not edit
// tabs, the page's empty area lets the mouse through (its children still get their own input).
class TPageTab : public TPanel {
  QVB_PERSISTENT(TPageTab)

 public:
  explicit TPageTab(TComponent* owner = nullptr) : TPanel(owner) {}

  TPageNote* PageNote() const;
  // The page's place in its container; -1 outside one.
  int PageIndex() const;
  bool HitTestAt(TPoint local) const override;
};
