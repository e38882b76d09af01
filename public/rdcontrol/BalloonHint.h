#pragma once
#include "public/rdcontrol/RdBalloonHint.h"

// The same balloon hint under the name descriptions use for it.
class TBalloonHint : public TRdBalloonHint {
  QVB_PERSISTENT(TBalloonHint)

 public:
  explicit TBalloonHint(TComponent* owner = nullptr) : TRdBalloonHint(owner) {}
};
