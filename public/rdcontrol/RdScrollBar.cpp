#include "public/rdcontrol/RdScrollBar.h"

#include <algorithm>

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdScrollBar::StaticClass() {
  using C = TRdScrollBar;
  static const TClassInfo info = TPropertyTable<C>("TRdScrollBar", &TWinControl::StaticClass())
                                     .Creatable()
                                     .EnumField("Kind", ScrollBarKindNames(), &C::FKind, sbVertical)
                                     .IntField("Min", &C::FMin, 0)
                                     .IntField("Max", &C::FMax, 100)
                                     .IntField("PageSize", &C::FPageSize, 0)
                                     .Integer("Position", &C::Position, &C::SetPosition, 0)
                                     .IntField("SmallChange", &C::FSmallChange, 1)
                                     .IntField("LargeChange", &C::FLargeChange, 1)
                                     .BoolField("AutoArrow", &C::FAutoArrow, false)
                                     .BoolField("AllowArrow", &C::FAllowArrow, true)
                                     .BoolField("AutoSize", &C::FAutoSize, false)
                                     .BoolField("AutoHide", &C::FAutoHide, false)
                                     .BoolField("AutoCenter", &C::FAutoCenter, false)
                                     .Object("AllSkinImage", &C::AllSkinImage)
                                     .Event("OnScroll")
                                     .Event("OnChange")
                                     .Event("OnTrackEnd")
                                     .Build();
  return info;
}

TRdScrollBar::TRdScrollBar(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 16, 121);
}

void TRdScrollBar::SetPosition(int v) {
  v = std::clamp(v, FMin, std::max(FMin, FMax));
  if (v == FPosition) return;
  FPosition = v;
  if (OnChange && !IsLoading()) OnChange(this);
  Invalidate();
}

void TRdScrollBar::Paint(TPainter& painter) {
  if (!FImages.Image(5).Draw(painter, ClientRect(), &FImages.ScrollBgOption().Grid()))
    painter.FillRect(ClientRect(), 0xE8E8E8);
}
