#pragma once
#include "public/rdcontrol/Colors.h"
#include "public/rdcontrol/Persistent.h"

// A frame drawn around the form into the shadow window.
class TBorderLines : public TPersistent {
  QVB_PERSISTENT(TBorderLines)

 public:
  bool FEnabled{false};
  TColor FColor{clWindowFrame};
  int FWidth{1};
  bool FLeft{true}, FRight{true}, FTop{true}, FBottom{true};
};
