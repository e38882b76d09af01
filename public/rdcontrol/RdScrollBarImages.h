#pragma once
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Persistent.h"
#include "public/rdcontrol/Picture.h"

// The thirteen pictures and options of a picture scroll bar (its AllSkinImage).
class TRdScrollBarImages : public TPersistent {
  QVB_PERSISTENT(TRdScrollBarImages)

 public:
  enum { Count = 13 };
  static const char* const* Names();
  TRdScrollBarImages();
  TPicture& Image(int index) { return FImages[index]; }
  TDesignRect& ScrollBgOption() { return FScrollBgOption; }
  TDesignRect& TrackOption() { return FTrackOption; }

  bool FAutoArrow{false}, FAllowArrow{true}, FAutoSize{false}, FAutoHide{false}, FAutoCenter{false};

 private:
  TPicture FImages[Count];
  TDesignRect FScrollBgOption;
  TDesignRect FTrackOption;
};
