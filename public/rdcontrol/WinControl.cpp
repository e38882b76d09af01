#include "public/rdcontrol/WinControl.h"

#include <algorithm>

#include "public/rdcontrol/CustomForm.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TWinControl>("TWinControl", &TControl::StaticClass())
          .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
          .Event("OnEnter")
          .Event("OnExit")
          .Event("OnKeyDown")
          .Event("OnKeyPress")
          .Event("OnKeyUp")
          .Build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  SetStateFlag(csDestroying, true);
  // A windowed control frees its children; each leaves this list (and its owner's) as it goes.
  while (!FControls.empty()) delete FControls.back();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control ? control->Parent() : nullptr; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  if (control->IsWindowed()) {
    FControls.push_back(control);
  } else {
    auto firstWindowed =
        std::find_if(FControls.begin(), FControls.end(), [](TControl* c) { return c->IsWindowed(); });
    FControls.insert(firstWindowed, control);
  }
  ControlInserted(control);
  if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  if (TCustomForm* form = ParentForm()) form->ControlGoing(control);
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  ControlRemoved(control);
  if (control->Align() != alNone && !IsDestroying()) AlignControls();
}

void TWinControl::Restack(TControl* control, bool toFront) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  // Within its own kind: windowless controls stay below the windowed ones.
  auto firstWindowed =
      std::find_if(FControls.begin(), FControls.end(), [](TControl* c) { return c->IsWindowed(); });
  if (control->IsWindowed())
    FControls.insert(toFront ? FControls.end() : firstWindowed, control);
  else
    FControls.insert(toFront ? firstWindowed : FControls.begin(), control);
  control->Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint p) {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || !c->Enabled() || !c->BoundsRect().Contains(p)) continue;
    TPoint local{p.X - c->Left(), p.Y - c->Top()};
    if (c->IsWindowed()) {
      if (TControl* hit = static_cast<TWinControl*>(c)->ControlAtPos(local)) return hit;
    } else if (c->HitTestAt(local)) {
      return c;
    }
  }
  return HitTestAt(p) ? this : nullptr;
}

bool TWinControl::CanFocus() const {
  return Showing() && EffectivelyEnabled() && ParentForm();
}

bool TWinControl::Focused() const {
  TCustomForm* form = ParentForm();
  return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = ParentForm()) form->SetActiveControl(this);
}

void TWinControl::PaintTree(TPainter& painter) {
  Paint(painter);
  for (TControl* c : FControls) {
    if (!c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    painter.Save();
    painter.Translate(c->Left(), c->Top());
    painter.IntersectClip(c->ClientRect());
    if (!painter.ClipRect().IsEmpty()) {
      if (c->IsWindowed())
        static_cast<TWinControl*>(c)->PaintTree(painter);
      else
        c->Paint(painter);
    }
    painter.Restore();
  }
}

void TWinControl::AlignControls() {
  if (FAligning || IsLoading() || IsDestroying()) return;
  FAligning = true;
  TRect r = ClientRect();
  auto place = [&](TAlign which) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
      if (c->Align() != which || !c->Visible()) continue;
      switch (which) {
        case alTop:
          c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
          r.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
          r.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
          r.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
          r.Right -= c->Width();
          break;
        case alClient:
          c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
  FAligning = false;
}

void TWinControl::Resized() {
  TControl::Resized();
  if (!IsLoading()) {
    if (FAlignedWidth != Width() || FAlignedHeight != Height())
      for (TControl* c : std::vector<TControl*>(FControls))
        c->ParentResized(FAlignedWidth, FAlignedHeight, Width(), Height());
    AlignControls();
  }
  FAlignedWidth = Width();
  FAlignedHeight = Height();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  FAlignedWidth = Width();
  FAlignedHeight = Height();
  AlignControls();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : FControls) c->ParentFontChanged();
}

void TWinControl::ParentFontChanged() {
  TControl::ParentFontChanged();
  for (TControl* c : FControls) c->ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
  TControl::ParentColorChanged();
  for (TControl* c : FControls) c->ParentColorChanged();
}

void TWinControl::HandleKeyDown(uint16_t& key, uint32_t shift) {
  KeyDown(key, shift);
}
void TWinControl::HandleKeyUp(uint16_t& key, uint32_t shift) {
  KeyUp(key, shift);
}
void TWinControl::HandleKeyPress(std::string& key) {
  KeyPress(key);
}

void TWinControl::KeyDown(uint16_t& key, uint32_t shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, uint32_t shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(std::string& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}
