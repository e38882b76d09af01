#pragma once
#include "public/rdcontrol/CustomForm.h"

// The library's plain form class: a window that a description is read into. Window classes with
// behaviour of their own derive from it and bind their handlers in ResolveEvent.
class TRdForm : public TCustomForm {
  QVB_PERSISTENT(TRdForm)

 public:
  explicit TRdForm(TComponent* owner = nullptr) : TCustomForm(owner) {}
};
