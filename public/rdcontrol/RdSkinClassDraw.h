#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/Persistent.h"

// Drawing options of a skin selector.
class TRdSkinClassDraw : public TPersistent {
  QVB_PERSISTENT(TRdSkinClassDraw)

 public:
  int FDrawAlpha{255};
  int FDrawScale{100};
  int FDrawBkgBlur{0};
  int FDrawBlur{0};
  bool FDrawGray{false};
  TPngSmoothFilter FSmoothFilter{psfFastSmooth};
  bool FMergeBkg{false};
};
