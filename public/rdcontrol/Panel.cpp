#include "public/rdcontrol/Panel.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPanel::StaticClass() {
  using C = TPanel;
  static const TClassInfo info =
      TPropertyTable<C>("TPanel", &TWinControl::StaticClass())
          .Creatable()
          .String("Caption", &C::Caption, &C::SetCaption)
          .EnumField("Alignment", AlignmentNames(), &C::FAlignment, taCenter)
          .Enum("BevelOuter", BevelCutNames(), &C::BevelOuter, &C::SetBevelOuter, bvRaised)
          .EnumField("BevelInner", BevelCutNames(), &C::FBevelInner, bvNone)
          .IntField("BevelWidth", &C::FBevelWidth, 1)
          .IntField("BorderWidth", &C::FBorderWidth, 0)
          .BoolField("ParentBackground", &C::FParentBackground, true)
          .BoolField("DoubleBuffered", &C::FDoubleBuffered, false)
          .Build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut b) {
  FBevelOuter = b;
  Invalidate();
}

void TPanel::PaintBevel(TPainter& painter) {
  if (FBevelOuter == bvNone && FBevelInner == bvNone) return;
  painter.FrameRect(ClientRect(), FBevelOuter == bvLowered ? clBtnShadow : clBtnHighlight, FBevelWidth);
}

void TPanel::PaintCaption(TPainter& painter) {
  if (Caption().empty()) return;
  TTextFormat f;
  f.Align = FAlignment;
  f.VAlign = taVerticalCenter;
  painter.DrawText(Font().Font(), Caption(), ClientRect(), f);
}

void TPanel::Paint(TPainter& painter) {
  painter.FillRect(ClientRect(), Color());
  PaintBevel(painter);
  PaintCaption(painter);
}
