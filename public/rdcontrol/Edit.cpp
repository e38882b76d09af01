#include "public/rdcontrol/Edit.h"

#include "platform/TextCodec.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TEdit::StaticClass() {
  using C = TEdit;
  static const TClassInfo info = TPropertyTable<C>("TEdit", &TWinControl::StaticClass())
                                     .Creatable()
                                     .Boolean("TabStop", &C::TabStop, &C::SetTabStop, true)
                                     .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, false)
                                     .String("Text", &C::Text, &C::SetText)
                                     .Integer("MaxLength", &C::MaxLength, &C::SetMaxLength, 0)
                                     .StringField("PasswordChar", &C::FPasswordChar)
                                     .BoolField("ReadOnly", &C::FReadOnly, false)
                                     .BoolField("AutoSize", &C::FAutoSize, true)
                                     .StringField("TextHint", &C::FTextHint)
                                     .EnumField("CharCase", EditCharCaseNames(), &C::FCharCase, ecNormal)
                                     .Event("OnChange")
                                     .Build();
  return info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TEdit::TextChanged() {
  if (OnChange && !IsLoading()) OnChange(this);
}

void TEdit::KeyDown(uint16_t& key, uint32_t shift) {
  TWinControl::KeyDown(key, shift);
  if (key == VK_BACK && !FReadOnly && !Text().empty()) {
    std::u16string units = Utf8ToUtf16(Text());
    units.pop_back();
    if (!units.empty() && units.back() >= 0xD800 && units.back() < 0xDC00) units.pop_back();
    SetText(Utf16ToUtf8(units));
    key = 0;
  }
}

void TEdit::KeyPress(std::string& key) {
  TWinControl::KeyPress(key);
  if (key.empty() || FReadOnly || static_cast<unsigned char>(key[0]) < 0x20) return;
  if (FMaxLength > 0 && int(Utf8ToUtf16(Text()).size()) >= FMaxLength) return;
  SetText(Text() + key);
}

std::string TEdit::DisplayText() const {
  if (FPasswordChar.empty() || FPasswordChar == "#0") return Text();
  std::string out;
  for (size_t i = 0; i < Utf8ToUtf16(Text()).size(); ++i) out += FPasswordChar;
  return out;
}

void TEdit::Paint(TPainter& painter) {
  TColor c = Color();
  if (c != clNone) painter.FillRect(ClientRect(), c);
  painter.FrameRect(ClientRect(), clGray);
  TTextFormat f;
  f.VAlign = taVerticalCenter;
  painter.DrawText(Font().Font(), DisplayText(), ClientRect().Inflate(-3, 0), f);
}
