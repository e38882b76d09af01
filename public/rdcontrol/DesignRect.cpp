#include "public/rdcontrol/DesignRect.h"

#include "public/rdcontrol/PropertyTable.h"

const TEnumInfo& StretchModeNames() {
  static const TEnumInfo names{
      "TSuperStretchMode",
      {{"sdmDefault", sdmDefault}, {"sdmStretch", sdmStretch}, {"sdmFill", sdmFill}, {"sdmFrame", sdmFrame}}};
  return names;
}

const TClassInfo& TDesignRect::StaticClass() {
  static const TClassInfo info = TPropertyTable<TDesignRect>("TDesignRect", &TPersistent::StaticClass())
                                     .Integer("Left", &TDesignRect::Left, &TDesignRect::SetLeft, 0)
                                     .Integer("Top", &TDesignRect::Top, &TDesignRect::SetTop, 0)
                                     .Integer("Right", &TDesignRect::Right, &TDesignRect::SetRight, 0)
                                     .Integer("Bottom", &TDesignRect::Bottom, &TDesignRect::SetBottom, 0)
                                     .Enum("StretchMode", StretchModeNames(), &TDesignRect::StretchMode,
                                           &TDesignRect::SetStretchMode, sdmDefault)
                                     .Boolean("Empty", &TDesignRect::Empty, &TDesignRect::SetEmpty, true)
                                     .NotStored()
                                     .Build();
  return info;
}

void TDesignRect::SetStretchMode(TSuperStretchMode mode) {
  if (FGrid.Mode == mode) return;
  FGrid.Mode = mode;
  Changed();
}

void TDesignRect::SetEmpty(bool empty) {
  // Only True has an effect at run time: what False means is a form-designer aid.
  if (!empty || FGrid.IsEmpty()) return;
  FGrid = TNineGrid{};
  Changed();
}

void TDesignRect::SetMargins(int left, int top, int right, int bottom) {
  TNineGrid g = FGrid;
  g.Left = left;
  g.Top = top;
  g.Right = right;
  g.Bottom = bottom;
  if (g.Left == FGrid.Left && g.Top == FGrid.Top && g.Right == FGrid.Right && g.Bottom == FGrid.Bottom)
    return;
  FGrid = g;
  Changed();
}

void TDesignRect::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TDesignRect*>(&source)) {
    bool same = other->FGrid.Left == FGrid.Left && other->FGrid.Top == FGrid.Top &&
                other->FGrid.Right == FGrid.Right && other->FGrid.Bottom == FGrid.Bottom &&
                other->FGrid.Mode == FGrid.Mode;
    FGrid = other->FGrid;
    if (!same) Changed();
  } else {
    TPersistent::Assign(source);
  }
}
