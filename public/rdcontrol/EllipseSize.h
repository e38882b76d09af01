#pragma once
#include "public/rdcontrol/Persistent.h"

// The corner size of the window region.
class TEllipseSize : public TPersistent {
  QVB_PERSISTENT(TEllipseSize)

 public:
  bool FEllipse{true};
  int FWidth{0}, FHeight{0};
};
