#include "public/rdcontrol/CheckBox.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TCheckBox::StaticClass() {
  using C = TCheckBox;
  static const TClassInfo info =
      TPropertyTable<C>("TCheckBox", &TWinControl::StaticClass())
          .Creatable()
          .Boolean("TabStop", &C::TabStop, &C::SetTabStop, true)
          .String("Caption", &C::Caption, &C::SetCaption)
          .Boolean("Checked", &C::Checked, &C::SetChecked, false)
          .Enum("State", CheckBoxStateNames(), &C::State, &C::SetState, cbUnchecked)
          .NotStored()
          .BoolField("AllowGrayed", &C::FAllowGrayed, false)
          .EnumField("Alignment", AlignmentNames(), &C::FAlignment, taRightJustify)
          .Build();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (FState == state) return;
  FState = state;
  Invalidate();
}

void TCheckBox::Click() {
  SetChecked(!Checked());
  TWinControl::Click();
}

void TCheckBox::Paint(TPainter& painter) {
  const int box = std::min(13, Height());
  TRect r = TRect::FromSize(0, (Height() - box) / 2, box, box);
  painter.FillRect(r, clWhite);
  painter.FrameRect(r, clGray);
  if (FState != cbUnchecked) painter.FillRect(r.Inflate(-3, -3), FState == cbChecked ? clBlack : clGray);
  TTextFormat f;
  f.VAlign = taVerticalCenter;
  painter.DrawText(Font().Font(), Caption(), TRect{box + 4, 0, Width(), Height()}, f);
}
