#pragma once
#include "public/rdcontrol/DesignRect.h"

// The design rectangle of the shadow picture plus the insets of the area it is drawn into.
class TRdFormSkinBkgOpt : public TDesignRect {
  QVB_PERSISTENT(TRdFormSkinBkgOpt)

 public:
  int FPadLeft{0}, FPadTop{0}, FPadRight{0}, FPadBottom{0};
};
