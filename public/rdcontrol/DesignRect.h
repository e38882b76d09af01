#pragma once
#include <functional>

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/Persistent.h"

const TEnumInfo& StretchModeNames();

// Nine-grid margins (pixels of the source picture) and stretch mode of a picture property, as
// controls publish them (ImageOption, ImgBarOption, TextBorder). Empty: all margins 0 and
// sdmDefault; setting Empty to True zeroes everything. Any change calls OnChange.
class TDesignRect : public TPersistent {
  QVB_PERSISTENT(TDesignRect)

 public:
  TDesignRect() = default;

  int Left() const { return FGrid.Left; }
  int Top() const { return FGrid.Top; }
  int Right() const { return FGrid.Right; }
  int Bottom() const { return FGrid.Bottom; }
  TSuperStretchMode StretchMode() const { return FGrid.Mode; }
  void SetLeft(int v) { Change(FGrid.Left, v); }
  void SetTop(int v) { Change(FGrid.Top, v); }
  void SetRight(int v) { Change(FGrid.Right, v); }
  void SetBottom(int v) { Change(FGrid.Bottom, v); }
  void SetStretchMode(TSuperStretchMode mode);
  bool Empty() const { return FGrid.IsEmpty(); }
  void SetEmpty(bool empty);
  void SetMargins(int left, int top, int right, int bottom);

  const TNineGrid& Grid() const { return FGrid; }
  void Assign(const TPersistent& source) override;
  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }

  std::function<void()> OnChange;

 private:
  void Change(int& field, int v) {
    if (field == v) return;
    field = v;
    Changed();
  }
  void Changed() {
    if (OnChange) OnChange();
  }

  TNineGrid FGrid;
  TPersistent* FOwner{nullptr};
};
