#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdScrollBarImages.h"
#include "public/rdcontrol/WinControl.h"

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
