#pragma once
#include <functional>

#include "public/rdcontrol/Persistent.h"

// Limits of a control's size; 0 means no limit.
class TSizeConstraints : public TPersistent {
  QVB_PERSISTENT(TSizeConstraints)

 public:
  int MaxHeight() const { return FMaxHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MinHeight() const { return FMinHeight; }
  int MinWidth() const { return FMinWidth; }
  void SetMaxHeight(int v) { Change(FMaxHeight, v); }
  void SetMaxWidth(int v) { Change(FMaxWidth, v); }
  void SetMinHeight(int v) { Change(FMinHeight, v); }
  void SetMinWidth(int v) { Change(FMinWidth, v); }

  // The width and height within the limits.
  int ClampWidth(int width) const;
  int ClampHeight(int height) const;

  std::function<void()> OnChange;

 private:
  void Change(int& field, int v) {
    if (v < 0) v = 0;
    if (field == v) return;
    field = v;
    if (OnChange) OnChange();
  }

  int FMaxHeight{0};
  int FMaxWidth{0};
  int FMinHeight{0};
  int FMinWidth{0};
};
