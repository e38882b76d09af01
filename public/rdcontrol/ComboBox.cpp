#include "public/rdcontrol/ComboBox.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TComboBox::StaticClass() {
  using C = TComboBox;
  static const TClassInfo info = TPropertyTable<C>("TComboBox", &TWinControl::StaticClass())
                                     .Creatable()
                                     .Boolean("TabStop", &C::TabStop, &C::SetTabStop, true)
                                     .Strings("Items", &C::Items)
                                     .Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex, -1)
                                     .String("Text", &C::Text, &C::SetText)
                                     .EnumField("Style", ComboBoxStyleNames(), &C::FStyle, csDropDown)
                                     .IntField("DropDownCount", &C::FDropDownCount, 8)
                                     .IntField("ItemHeight", &C::FItemHeight, 16)
                                     .BoolField("Sorted", &C::FSorted, false)
                                     .Event("OnChange")
                                     .Event("OnSelect")
                                     .Build();
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 145, 21);
  SetTabStop(true);
  FItems.SetOwner(this);
  FItems.OnChange = [this] {
    // The face shows the selected item's current text.
    if (FItemIndex >= FItems.Count()) FItemIndex = -1;
    if (FItemIndex >= 0) SetText(FItems.Strings(FItemIndex));
    Invalidate();
  };
}

void TComboBox::SetItemIndex(int index) {
  // While loading, Items may arrive after ItemIndex: keep the value as it is.
  if (!IsLoading() && (index < 0 || index >= FItems.Count())) index = -1;
  FItemIndex = index;
  if (index >= 0 && index < FItems.Count()) SetText(FItems.Strings(index));
  Invalidate();
}

void TComboBox::Select(int index) {
  SetItemIndex(index);
  if (OnSelect) OnSelect(this);
  if (OnChange) OnChange(this);
}

void TComboBox::Paint(TPainter& painter) {
  painter.FillRect(ClientRect(), Color());
  painter.FrameRect(ClientRect(), clGray);
  TTextFormat f;
  f.VAlign = taVerticalCenter;
  f.EndEllipsis = true;
  painter.DrawText(Font().Font(), Text(), ClientRect().Inflate(-5, 0), f);
}
