#pragma once
#include "public/rdcontrol/Component.h"

// The library's balloon hint; window descriptions also name it TBalloonHint.
class TRdBalloonHint : public TComponent {
  QVB_PERSISTENT(TRdBalloonHint)

 public:
  explicit TRdBalloonHint(TComponent* owner = nullptr) : TComponent(owner) {}

  int FDelay{500};
  int FHideAfter{-1};
  std::string FTitle;
  std::string FDescription;
};
