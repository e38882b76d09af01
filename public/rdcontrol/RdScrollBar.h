#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/WinControl.h"

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

// The library's picture scroll bar: range, page and position; the list of a combo box uses it.
class TRdScrollBar : public TWinControl {
  QVB_PERSISTENT(TRdScrollBar)

public:
  explicit TRdScrollBar(TComponent* owner = nullptr);

  int Position() const { return FPosition; }
  void SetPosition(int v);
  TRdScrollBarImages& AllSkinImage() { return FImages; }
  void Paint(TPainter& painter) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnScroll;
  TNotifyEvent OnTrackEnd;

  TScrollBarKind FKind{sbVertical};
  int FMin{0};
  int FMax{100};
  int FPageSize{0};
  int FSmallChange{1};
  int FLargeChange{1};
  bool FAutoArrow{false}, FAllowArrow{true}, FAutoSize{false}, FAutoHide{false}, FAutoCenter{false};

private:
  int FPosition{0};
  TRdScrollBarImages FImages;
};
