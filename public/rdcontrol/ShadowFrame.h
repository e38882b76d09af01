#pragma once
#include "public/rdcontrol/Persistent.h"

// How far the shadow window reaches beyond the form on each side.
class TShadowFrame : public TPersistent {
  QVB_PERSISTENT(TShadowFrame)

 public:
  int Width() const { return FLeft + FRight; }
  int Height() const { return FTop + FBottom; }
  bool FEnabled{false};
  int FLeft{0}, FRight{0}, FTop{0}, FBottom{0};
};
