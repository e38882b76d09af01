#pragma once
#include "public/rdcontrol/Component.h"

// The crash reporter's event source of the main window: it only carries the handler name a
// description assigns (OnException).
class TMadExceptionHandler : public TComponent {
  QVB_PERSISTENT(TMadExceptionHandler)

 public:
  explicit TMadExceptionHandler(TComponent* owner = nullptr) : TComponent(owner) {}
};
