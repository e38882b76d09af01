// TControl: geometry, state, text and font, painting hook, and the input hooks that the window
// routes to. Sections: 1. published properties  2. tree and geometry  3. state and text
// 4. painting  5. input
#include "public/rdcontrol/Control.h"

#include "platform/EventLoop.h"
#include "public/rdcontrol/CustomForm.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WinControl.h"

// ---------------------------------------------------------------------------------------------
// 1. Published properties
// ---------------------------------------------------------------------------------------------

const TEnumInfo& AlignNames() {
  static const TEnumInfo names{"TAlign",
                               {{"alNone", alNone},
                                {"alTop", alTop},
                                {"alBottom", alBottom},
                                {"alLeft", alLeft},
                                {"alRight", alRight},
                                {"alClient", alClient},
                                {"alCustom", alCustom}}};
  return names;
}

const TEnumInfo& AnchorNames() {
  static const TEnumInfo names{"TAnchors", {{"akLeft", 0}, {"akTop", 1}, {"akRight", 2}, {"akBottom", 3}}};
  return names;
}

const TEnumInfo& CursorNames() {
  static const TEnumInfo names{
      "TCursor", {{"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
                  {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
                  {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
                  {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
                  {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
                  {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
                  {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
                  {"crSizeAll", crSizeAll}}};
  return names;
}

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TControl>("TControl", &TComponent::StaticClass())
          .Integer("Left", &TControl::Left, &TControl::SetLeft, 0)
          .Integer("Top", &TControl::Top, &TControl::SetTop, 0)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Enum("Align", AlignNames(), &TControl::Align, &TControl::SetAlign, alNone)
          .SetOf("Anchors", AnchorNames(), &TControl::Anchors, &TControl::SetAnchors, akLeft | akTop)
          .Object("Constraints", [](TControl& c) -> TSizeConstraints& { return c.Constraints(); })
          .Enum("Cursor", CursorNames(), &TControl::Cursor, &TControl::SetCursor, crDefault)
          .Color("Color", &TControl::Color, &TControl::SetColor)
          .Stored([](const TControl& c) { return !c.ParentColor(); })
          .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
          .Object("Font", [](TControl& c) -> TRdFont& { return c.Font(); })
          .Stored([](const TControl& c) { return !c.ParentFont(); })
          .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
          .String("Hint", &TControl::Hint, &TControl::SetHint)
          .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
          .Stored([](const TControl& c) { return !c.ParentShowHint(); })
          .Boolean("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
          .Event("OnClick")
          .Event("OnDblClick")
          .Event("OnMouseDown")
          .Event("OnMouseMove")
          .Event("OnMouseUp")
          .Event("OnMouseEnter")
          .Event("OnMouseLeave")
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.SetOwner(this);
  FFont.OnChange = [this] { FontChanged(); };
  FConstraints.OnChange = [this] { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

TControl::~TControl() {
  SetStateFlag(csDestroying, true);
  if (FParent) SetParent(nullptr);
}

// ---------------------------------------------------------------------------------------------
// 2. Tree and geometry
// ---------------------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) return;
  if (FParent) {
    Invalidate();
    FParent->RemoveControl(this);
  }
  FParent = parent;
  if (FParent) {
    FParent->InsertControl(this);
    ParentFontChanged();
    ParentColorChanged();
    if (FParentShowHint) FShowHint = FParent->ShowHint();
    Invalidate();
  }
}

TComponent* TControl::GetParentComponent() const {
  return FParent;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::Release() {
  if (FParent) {
    SetParent(nullptr);
    if (!Owner()) {
      TEventLoop::Main().DeleteLater(std::unique_ptr<TControl>(this));
      return;
    }
  }
  TComponent::Release();
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::InitBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = FConstraints.ClampWidth(width < 0 ? 0 : width);
  height = FConstraints.ClampHeight(height < 0 ? 0 : height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool resized = width != FWidth || height != FHeight;
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
  if (resized) Resized();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::Resized() {
  if (OnResize && !IsLoading()) OnResize(this);
}

TPoint TControl::ClientToWindow(TPoint p) const {
  for (const TControl* c = this; c->FParent; c = c->FParent) {
    p.X += c->FLeft;
    p.Y += c->FTop;
  }
  return p;
}

TPoint TControl::WindowToClient(TPoint p) const {
  TPoint origin = ClientToWindow({0, 0});
  return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign align) {
  if (FAlign == align) return;
  FAlign = align;
  if (FParent) FParent->AlignControls();
}

void TControl::ParentResized(int oldWidth, int oldHeight, int newWidth, int newHeight) {
  if (FAlign != alNone) return;
  int dx = newWidth - oldWidth, dy = newHeight - oldHeight;
  int left = FLeft, top = FTop, width = FWidth, height = FHeight;
  if (FAnchors & akRight) {
    if (FAnchors & akLeft)
      width += dx;
    else
      left += dx;
  } else if (!(FAnchors & akLeft)) {
    left += dx / 2;
  }
  if (FAnchors & akBottom) {
    if (FAnchors & akTop)
      height += dy;
    else
      top += dy;
  } else if (!(FAnchors & akTop)) {
    top += dy / 2;
  }
  SetBounds(left, top, width, height);
}

void TControl::BringToFront() {
  if (FParent) FParent->Restack(this, true);
}

void TControl::SendToBack() {
  if (FParent) FParent->Restack(this, false);
}

// ---------------------------------------------------------------------------------------------
// 3. State and text
// ---------------------------------------------------------------------------------------------

void TControl::SetVisible(bool visible) {
  if (FVisible == visible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  if (visible) Invalidate();
  if (!visible)
    if (TCustomForm* form = ParentForm(); form && form != this) form->ControlGoing(this);
  VisibleChanged();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (FEnabled == enabled) return;
  FEnabled = enabled;
  EnabledChanged();
  Invalidate();
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

bool TControl::HitTestAt(TPoint local) const {
  return FHitTest && ClientRect().Contains(local);
}

void TControl::SetCaption(const std::string& text) {
  if (FText == text) return;
  FText = text;
  TextChanged();
  Invalidate();
}

void TControl::SetParentFont(bool on) {
  if (FParentFont == on) return;
  FParentFont = on;
  if (on) ParentFontChanged();
}

void TControl::FontChanged() {
  if (!FTakingParentFont) FParentFont = false;
  Invalidate();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FTakingParentFont = true;
  FFont = FParent->Font();
  FTakingParentFont = false;
}

void TControl::SetColor(TColor color) {
  FParentColor = false;
  if (FColor == color) return;
  FColor = color;
  Invalidate();
}

void TControl::SetParentColor(bool on) {
  if (FParentColor == on) return;
  FParentColor = on;
  if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  if (FColor == FParent->Color()) return;
  FColor = FParent->Color();
  Invalidate();
}

void TControl::SetShowHint(bool on) {
  FShowHint = on;
  FParentShowHint = false;
}

void TControl::SetParentShowHint(bool on) {
  FParentShowHint = on;
  if (on && FParent) FShowHint = FParent->ShowHint();
}

// ---------------------------------------------------------------------------------------------
// 4. Painting
// ---------------------------------------------------------------------------------------------

void TControl::Invalidate() {
  if (IsDestroying() || !FVisible) return;
  if (TCustomForm* form = ParentForm(); form && form != this) form->Invalidate();
}

void TControl::Paint(TPainter& painter) {
  // Placeholder look until the control's own drawing exists: a thin frame and the caption.
  painter.FrameRect(ClientRect(), clGray, 1, 160);
  if (!FText.empty()) {
    TTextFormat format;
    format.Align = taCenter;
    format.VAlign = taVerticalCenter;
    format.EndEllipsis = true;
    painter.DrawText(FFont.Font(), FText, ClientRect(), format);
  }
}

// ---------------------------------------------------------------------------------------------
// 5. Input
// ---------------------------------------------------------------------------------------------

void TControl::HandleMouseDown(TMouseButton button, uint32_t shift, int x, int y, int clickCount) {
  if (button == mbLeft) {
    FClicked = true;
    if (clickCount == 2) DblClick();
  }
  MouseDown(button, shift, x, y);
}

void TControl::HandleMouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  // The platform's click rule: pressed and released inside the control, then OnMouseUp.
  if (button == mbLeft && FClicked) {
    FClicked = false;
    if (ClientRect().Contains({x, y})) Click();
  }
  MouseUp(button, shift, x, y);
}

void TControl::HandleMouseMove(uint32_t shift, int x, int y) {
  MouseMove(shift, x, y);
}

void TControl::HandleMouseEnter() {
  if (FMouseInControl) return;
  FMouseInControl = true;
  MouseEnter();
}

void TControl::HandleMouseLeave() {
  if (!FMouseInControl) return;
  FMouseInControl = false;
  MouseLeave();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(uint32_t shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
