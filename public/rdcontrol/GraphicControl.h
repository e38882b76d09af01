#pragma once
#include "public/rdcontrol/Control.h"

// The platform's windowless control base (labels, images, paint boxes, the library's buttons).
class TGraphicControl : public TControl {
  QVB_PERSISTENT(TGraphicControl)

 public:
  explicit TGraphicControl(TComponent* owner = nullptr) : TControl(owner) {}
};
