#include "public/rdcontrol/Label.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WinControl.h"

const TClassInfo& TLabel::StaticClass() {
  using C = TLabel;
  static const TClassInfo info =
      TPropertyTable<C>("TLabel", &TGraphicControl::StaticClass())
          .Creatable()
          .String("Caption", &C::Caption, &C::SetCaption)
          .Enum("Alignment", AlignmentNames(), &C::Alignment, &C::SetAlignment, taLeftJustify)
          .Enum("Layout", TextLayoutNames(), &C::Layout, &C::SetLayout, tlTop)
          .Boolean("AutoSize", &C::AutoSize, &C::SetAutoSize, true)
          .Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap, false)
          .Boolean("Transparent", &C::Transparent, &C::SetTransparent, true)
          .BoolField("ShowAccelChar", &C::FShowAccelChar, true)
          .EnumField("EllipsisPosition", EllipsisPositionNames(), &C::FEllipsisPosition, epNone)
          .Component("FocusControl", &C::FocusControl, &C::SetFocusControl)
          .Build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  InitBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}

void TLabel::SetLayout(TTextLayoutPos l) {
  FLayout = l;
  Invalidate();
}

void TLabel::SetAutoSize(bool on) {
  FAutoSize = on;
  AdjustSize();
}

void TLabel::SetWordWrap(bool on) {
  FWordWrap = on;
  AdjustSize();
  Invalidate();
}

void TLabel::SetTransparent(bool on) {
  FTransparent = on;
  Invalidate();
}

bool TLabel::SetFocusControl(TComponent* c) {
  auto* w = dynamic_cast<TWinControl*>(c);
  if (c && !w) return false;
  FFocusControl = w;
  return true;
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustSize();
}

TTextFormat TLabel::Format() const {
  TTextFormat f;
  f.Align = FAlignment;
  f.VAlign = FLayout == tlTop ? taAlignTop : FLayout == tlBottom ? taAlignBottom : taVerticalCenter;
  f.WordWrap = FWordWrap;
  f.EndEllipsis = FEllipsisPosition != epNone;
  f.Prefix = FShowAccelChar;
  return f;
}

TSize MeasureLabelText(const TFont& font, std::string_view text, bool wordWrap, int width, bool prefix) {
  TTextFormat f;
  f.WordWrap = wordWrap;
  f.Prefix = prefix;
  TRect box = wordWrap ? TRect{0, 0, width, 1 << 20} : TRect{0, 0, 1 << 20, 1 << 20};
  TTextLayout layout(font, text.empty() ? std::string_view(" ") : text, box, f);
  int w = wordWrap ? width : (text.empty() ? 0 : layout.Bounds().Width());
  return {w, std::max(layout.Bounds().Height(), layout.LineHeight())};
}

void TLabel::AdjustSize() {
  if (!FAutoSize || IsLoading() || IsDestroying()) return;
  TSize need = MeasureLabelText(Font().Font(), Caption(), FWordWrap, Width(), FShowAccelChar);
  int w = need.Width, h = need.Height;
  // A right-aligned label keeps its right edge.
  int left = FAlignment == taRightJustify && !FWordWrap ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

void TLabel::Paint(TPainter& painter) {
  if (!FTransparent) painter.FillRect(ClientRect(), Color());
  if (Caption().empty()) return;
  TColor color = EffectivelyEnabled() ? Font().Color() : clGrayText;
  TTextLayout layout(Font().Font(), Caption(), ClientRect(), Format());
  painter.DrawText(layout, color);
}
