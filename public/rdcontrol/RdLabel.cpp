#include "public/rdcontrol/RdLabel.h"

#include "public/rdcontrol/Label.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WinControl.h"

const TClassInfo& TRdLabel::StaticClass() {
  using C = TRdLabel;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdLabel", &TRdGraphicControl::StaticClass());
    t.Creatable()
        .String("Caption", &C::Caption, &C::SetCaption)
        .EnumField("Alignment", AlignmentNames(), &C::FAlignment, taLeftJustify)
        .EnumField("Layout", TextLayoutNames(), &C::FLayout, tlTop)
        .Boolean("AutoSize", &C::AutoSize, &C::SetAutoSize, true)
        .Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap, false)
        .BoolField("WrapChar", &C::FWrapChar, true)
        .EnumField("EllipsisPosition", EllipsisPositionNames(), &C::FEllipsisPosition, epNone)
        .Object("TextBorder", &C::TextBorder)
        .Object("BkgNormal", &C::BkgNormal)
        .Object("BkgOption", &C::BkgOption)
        .BoolField("Transparent", &C::FTransparent, true)
        .ColorField("FontHoverColor", &C::FFontHoverColor, clDefault)
        .ColorField("FontDownColor", &C::FFontDownColor, clDefault)
        .ColorField("FontDisabledColor", &C::FFontDisabledColor, clGrayText)
        .BoolField("FontAntialiased", &C::FFontAntialiased, false)
        .IntField("GlowSize", &C::FGlowSize, 0)
        .BoolField("ShowAccelChar", &C::FShowAccelChar, false)
        .Component("FocusControl", &C::FocusControl, &C::SetFocusControl)
        .BoolField("AutoShowHint", &C::FAutoShowHint, false)
        .ReadOnlyBool("FoundTextEllipsis", &C::FoundTextEllipsis)
        .ReadOnlyBool("FoundTextWordBreak", &C::FoundTextWordBreak)
        .Integer("FoundTextDrawLine", &C::FoundTextDrawLine, nullptr)
        .Event("OnShowHint")
        .Event("OnPaintImage")
        .Event("OnPaintEnd");
    return t.Build();
  }();
  return info;
}

TRdLabel::TRdLabel(TComponent* owner) : TRdGraphicControl(owner) {
  InitBounds(0, 0, 65, 17);
  for (TDesignRect* r : {&FTextBorder, &FBkgOption}) {
    r->SetOwner(this);
    r->OnChange = [this] { Invalidate(); };
  }
  FBkgNormal.SetOwner(this);
  FBkgNormal.OnChange = [this] { Invalidate(); };
}

void TRdLabel::SetAutoSize(bool on) {
  FAutoSize = on;
  AdjustSize();
}

void TRdLabel::SetWordWrap(bool on) {
  FWordWrap = on;
  AdjustSize();
  Invalidate();
}

bool TRdLabel::SetFocusControl(TComponent* c) {
  auto* w = dynamic_cast<TWinControl*>(c);
  if (c && !w) return false;
  FFocusControl = w;
  return true;
}

void TRdLabel::Notification(TComponent* component, TOperation operation) {
  TRdGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TRdLabel::FontChanged() {
  TRdGraphicControl::FontChanged();
  AdjustSize();
}

void TRdLabel::Loaded() {
  TRdGraphicControl::Loaded();
  AdjustSize();
}

void TRdLabel::AdjustSize() {
  if (!FAutoSize || IsLoading() || IsDestroying()) return;
  const TNineGrid& b = FTextBorder.Grid();
  TSize need =
      MeasureLabelText(Font().Font(), Caption(), FWordWrap, Width() - b.Left - b.Right, FShowAccelChar);
  int w = (FWordWrap ? Width() : need.Width + b.Left + b.Right);
  int h = need.Height + b.Top + b.Bottom;
  w = Constraints().ClampWidth(w);
  int left = FAlignment == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

TRect TRdLabel::TextRect() const {
  const TNineGrid& b = FTextBorder.Grid();
  return {b.Left, b.Top, Width() - b.Right, Height() - b.Bottom};
}

TColor TRdLabel::TextColor() const {
  if (!EffectivelyEnabled()) return FFontDisabledColor;
  if (MouseInControl() && FFontHoverColor != clDefault) return FFontHoverColor;
  return Font().Color();
}

void TRdLabel::Paint(TPainter& painter) {
  if (!FTransparent) painter.FillRect(ClientRect(), Color());
  FBkgNormal.Draw(painter, ClientRect(), &FBkgOption.Grid());
  if (OnPaintImage) OnPaintImage(this);
  TTextFormat f;
  f.Align = FAlignment;
  f.VAlign = FLayout == tlTop ? taAlignTop : FLayout == tlBottom ? taAlignBottom : taVerticalCenter;
  f.WordWrap = FWordWrap;
  f.EndEllipsis = FEllipsisPosition != epNone;
  f.EllipsisByHeight = FWordWrap && FEllipsisPosition != epNone;
  f.Prefix = FShowAccelChar;
  TTextLayout layout(Font().Font(), Caption(), TextRect(), f);
  FFoundTextEllipsis = layout.Ellipsized();
  FFoundTextWordBreak = layout.Overflowed();
  FFoundTextDrawLine = int(layout.Lines().size());
  painter.Save();
  painter.IntersectClip(TextRect());
  painter.DrawText(layout, TextColor());
  painter.Restore();
  if (OnPaintEnd) OnPaintEnd(this);
}
