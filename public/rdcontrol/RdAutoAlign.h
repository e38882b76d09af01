#pragma once
#include "public/rdcontrol/Persistent.h"

// The library's alignment helper that its controls publish as AutoAlign; no window of this
// system sets it, so it only keeps its values.
class TRdAutoAlign : public TPersistent {
  QVB_PERSISTENT(TRdAutoAlign)

 public:
  bool FLeftRight{false};
  bool FTopBottom{false};
  bool FLeftInvert{false};
  bool FTopInvert{false};
};
