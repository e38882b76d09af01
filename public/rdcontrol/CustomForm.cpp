// TCustomForm: the top-level window. Sections: 1. published properties  2. description loading
// 3. showing, closing, modal  4. native window and painting  5. input routing
#include "public/rdcontrol/CustomForm.h"

#include <algorithm>

#include "platform/EventLoop.h"
#include "platform/Resources.h"
#include "public/rdcontrol/FormReader.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PngCodec.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WindowFrame.h"

namespace {

const TEnumInfo BorderStyleNames{"TFormBorderStyle",
                                 {{"bsNone", bsNone},
                                  {"bsSingle", bsSingle},
                                  {"bsSizeable", bsSizeable},
                                  {"bsDialog", bsDialog},
                                  {"bsToolWindow", bsToolWindow},
                                  {"bsSizeToolWin", bsSizeToolWin}}};
const TEnumInfo PositionNames{"TPosition",
                              {{"poDesigned", poDesigned},
                               {"poDefault", poDefault},
                               {"poDefaultPosOnly", poDefaultPosOnly},
                               {"poDefaultSizeOnly", poDefaultSizeOnly},
                               {"poScreenCenter", poScreenCenter},
                               {"poDesktopCenter", poDesktopCenter},
                               {"poMainFormCenter", poMainFormCenter},
                               {"poOwnerFormCenter", poOwnerFormCenter}}};
const TEnumInfo FormStyleNames{"TFormStyle",
                               {{"fsNormal", fsNormal},
                                {"fsMDIChild", fsMDIChild},
                                {"fsMDIForm", fsMDIForm},
                                {"fsStayOnTop", fsStayOnTop}}};

// Every live form, so that a modal one can disable the others.
std::vector<TCustomForm*>& LiveForms() {
  static auto* forms = new std::vector<TCustomForm*>;  // outlives every static form
  return *forms;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// 1. Published properties
// ---------------------------------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TCustomForm>("TCustomForm", &TWinControl::StaticClass())
          .Integer("Width", &TCustomForm::Width, &TCustomForm::SetWidth)
          .NotStored()
          .Integer("Height", &TCustomForm::Height, &TCustomForm::SetHeight)
          .NotStored()
          .Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
          .Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
          .String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
          .Boolean("ParentColor", &TCustomForm::ParentColor, &TCustomForm::SetParentColor, false)
          .Boolean("ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont, false)
          .Enum("BorderStyle", BorderStyleNames, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                bsSizeable)
          .Enum("Position", PositionNames, &TCustomForm::Position, &TCustomForm::SetPosition,
                poDefaultPosOnly)
          .Enum("FormStyle", FormStyleNames, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal)
          .Boolean("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend, false)
          .Integer("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue, 255)
          .Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
          .Boolean("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true)
          .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch, 96)
          .Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight, 13)
          .Boolean("ShowInTaskbar", &TCustomForm::ShowInTaskbar, &TCustomForm::SetShowInTaskbar, true)
          .Boolean("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false)
          .Event("OnCreate")
          .Event("OnShow")
          .Event("OnHide")
          .Event("OnActivate")
          .Event("OnClose")
          .Event("OnCloseQuery")
          .Event("OnDestroy")
          .Event("OnResize")
          .Build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  InitBounds(0, 0, 320, 240);
  SetParentFont(false);
  SetColor(clBtnFace);
  TControl::SetVisible(false);
  LiveForms().push_back(this);
}

TCustomForm::~TCustomForm() {
  *FAlive = false;
  if (OnDestroy) OnDestroy(this);
  auto& forms = LiveForms();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (FModalLevel && FModalLoop) FModalLoop->Quit(mrCancel);
  SetStateFlag(csDestroying, true);
  FHover = FCapture = nullptr;
  FActiveControl = nullptr;
}

// ---------------------------------------------------------------------------------------------
// 2. Description loading
// ---------------------------------------------------------------------------------------------

void TCustomForm::LoadDescription(std::string_view text) {
  TFormReader::ReadRoot(*this, text);
}

bool TCustomForm::LoadDescriptionResource(std::string_view name) {
  std::string_view text = FindResource(name);
  if (text.empty()) return false;
  LoadDescription(text);
  return true;
}

// ---------------------------------------------------------------------------------------------
// 3. Showing, closing, modal
// ---------------------------------------------------------------------------------------------

void TCustomForm::Show() {
  SetVisible(true);
}

void TCustomForm::Hide() {
  SetVisible(false);
}

void TCustomForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (visible) {
    HandleNeeded();
    if (!FShownOnce) {
      FShownOnce = true;
      PlaceOnFirstShow();
    }
    TControl::SetVisible(true);
    DoShow();
    if (FWindow) {
      PaintFrame();
      FWindow->Show(true);
    }
  } else {
    TControl::SetVisible(false);
    if (FWindow) FWindow->Hide();
    if (OnHide) OnHide(this);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::PlaceOnFirstShow() {
  if (FPosition != poScreenCenter && FPosition != poDesktopCenter && FPosition != poMainFormCenter &&
      FPosition != poOwnerFormCenter)
    return;
  TMonitorInfo monitor = TWindowSystem::Current().PrimaryMonitor();
  SetBounds(monitor.Bounds.Left + (monitor.Bounds.Width - Width()) / 2,
            monitor.Bounds.Top + (monitor.Bounds.Height - Height()) / 2, Width(), Height());
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

bool TCustomForm::Close() {
  std::weak_ptr<bool> alive = FAlive;
  if (!CloseQuery() || alive.expired()) return false;
  TCloseAction action = caHide;
  DoClose(action);
  if (alive.expired() || action == caNone) return false;
  if (FModalLevel) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    if (FModalLoop) FModalLoop->Quit(FModalResult);
  }
  if (action == caMinimize) {
    if (FWindow) FWindow->Minimize();
    return true;
  }
  Hide();
  if (action == caFree) Release();
  return true;
}

int TCustomForm::ShowModal() {
  FModalResult = mrNone;
  std::vector<TNativeWindow*> disabled;
  for (TCustomForm* f : LiveForms())
    if (f != this && f->FWindow && f->FWindow->Enabled()) {
      f->FWindow->SetEnabled(false);
      disabled.push_back(f->FWindow.get());
    }
  std::weak_ptr<bool> alive = FAlive;
  TEventLoop* loop = &TEventLoop::Main();
  FModalLoop = loop;
  ++FModalLevel;
  Show();
  int result = FModalResult;
  if (FModalResult == mrNone) result = loop->Exec();
  // The form may have been freed by a handler while the loop ran.
  for (TCustomForm* f : LiveForms())
    if (f->FWindow && std::find(disabled.begin(), disabled.end(), f->FWindow.get()) != disabled.end())
      f->FWindow->SetEnabled(true);
  if (alive.expired()) return result;
  --FModalLevel;
  FModalLoop = nullptr;
  if (Visible()) Hide();
  return FModalResult != mrNone ? FModalResult : result;
}

void TCustomForm::SetModalResult(int result) {
  FModalResult = result;
  if (result != mrNone && FModalLevel && Visible()) {
    if (!Close()) FModalResult = mrNone;
  }
}

void TCustomForm::Release() {
  if (Visible()) Hide();
  TComponent::Release();
}

// ---------------------------------------------------------------------------------------------
// 4. Native window and painting
// ---------------------------------------------------------------------------------------------

TNativeWindow& TCustomForm::HandleNeeded() {
  if (FWindow) return *FWindow;
  TWindowParams params;
  params.Bounds = {Left(), Top(), Width(), Height()};
  params.Title = Caption();
  params.Topmost = FFormStyle == fsStayOnTop;
  params.ShowInTaskbar = FShowInTaskbar;
  params.Transparent = FAlphaBlend;
  FWindow = TWindowSystem::Current().CreateNativeWindow(params);
  AttachWindowEvents();
  return *FWindow;
}

void TCustomForm::AttachWindowEvents() {
  TNativeWindow& w = *FWindow;
  w.OnPaint = [this] { PaintFrame(); };
  w.OnMouseDown = [this](const TMouseEvent& e) { MouseDownAt(e.X, e.Y, e.Button, e.Shift, e.ClickCount); };
  w.OnMouseUp = [this](const TMouseEvent& e) { MouseUpAt(e.X, e.Y, e.Button, e.Shift); };
  w.OnMouseMove = [this](const TMouseEvent& e) { MouseMoveAt(e.X, e.Y, e.Shift); };
  w.OnMouseLeave = [this] { MouseLeaveWindow(); };
  w.OnKeyDown = [this](const TKeyEvent& e) { KeyDownEvent(e.Key, e.Shift); };
  w.OnKeyUp = [this](const TKeyEvent& e) { KeyUpEvent(e.Key, e.Shift); };
  w.OnKeyChar = [this](const TKeyEvent& e) { KeyCharEvent(e.Text); };
  w.OnCloseRequest = [this] { Close(); };
  w.OnBoundsChanged = [this](const TWindowRect& r) { TControl::SetBounds(r.Left, r.Top, r.Width, r.Height); };
  w.OnFocusChanged = [this](bool focused) {
    if (focused && OnActivate) OnActivate(this);
  };
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (FWindow) {
    TWindowRect r{Left(), Top(), Width(), Height()};
    if (!(FWindow->Bounds() == r)) FWindow->SetBounds(r);
  }
}

void TCustomForm::SetCaption(const std::string& text) {
  TControl::SetCaption(text);
  if (FWindow) FWindow->SetTitle(text);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
  FFormStyle = s;
  if (FWindow) FWindow->SetTopmost(s == fsStayOnTop);
}

void TCustomForm::SetShowInTaskbar(bool on) {
  FShowInTaskbar = on;
  if (FWindow) FWindow->SetShowInTaskbar(on);
}

void TCustomForm::Invalidate() {
  if (FWindow && Visible() && !IsDestroying()) FWindow->Invalidate();
}

void TCustomForm::Paint(TPainter& painter) {
  TColor c = Color();
  if (c != clNone && c != clDefault) painter.FillRect(ClientRect(), c);
}

const TBitmap& TCustomForm::PaintFrame() {
  if (FFrame.Width() != Width() || FFrame.Height() != Height())
    FFrame.SetSize(Width(), Height());
  else
    FFrame.Fill(0);
  if (!FFrame.Empty()) {
    TPainter painter(FFrame);
    PaintTree(painter);
  }
  if (FWindow) ShowBitmapInWindow(*FWindow, FFrame);
  return FFrame;
}

bool TCustomForm::SaveFrame(const std::string& path, std::string* error) {
  PaintFrame();
  if (FFrame.Empty()) {
    if (error) *error = "the window has no size";
    return false;
  }
  return TPngCodec::SaveToFile(FFrame, path, {}, error);
}

// ---------------------------------------------------------------------------------------------
// 5. Input routing
// ---------------------------------------------------------------------------------------------

TControl* TCustomForm::RouteTarget(int x, int y) {
  TControl* c = ControlAtPos({x, y});
  return c ? c : this;
}

void TCustomForm::UpdateHover(TControl* target) {
  if (target == FHover) return;
  TControl* old = FHover;
  FHover = target;
  if (old) old->HandleMouseLeave();
  // A leave handler may have moved the hover already (a control hid itself).
  if (FHover == target && target) target->HandleMouseEnter();
}

void TCustomForm::SetCaptureControl(TControl* control) {
  FCapture = control;
  if (FWindow) FWindow->SetMouseCapture(control != nullptr);
}

void TCustomForm::MouseDownAt(int x, int y, TMouseButton button, uint32_t shift, int clickCount) {
  TControl* target = FCapture ? FCapture : RouteTarget(x, y);
  UpdateHover(RouteTarget(x, y));
  if (target->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(target);
    if (w != this && w->TabStop() && w->CanFocus()) w->SetFocus();
  }
  SetCaptureControl(target);
  TPoint local = target->WindowToClient({x, y});
  target->HandleMouseDown(button, shift, local.X, local.Y, clickCount);
}

void TCustomForm::MouseUpAt(int x, int y, TMouseButton button, uint32_t shift) {
  TControl* target = FCapture ? FCapture : RouteTarget(x, y);
  SetCaptureControl(nullptr);
  TPoint local = target->WindowToClient({x, y});
  target->HandleMouseUp(button, shift, local.X, local.Y);
  if (!IsDestroying()) UpdateHover(RouteTarget(x, y));
}

void TCustomForm::MouseMoveAt(int x, int y, uint32_t shift) {
  TControl* under = RouteTarget(x, y);
  UpdateHover(under);
  TControl* target = FCapture ? FCapture : under;
  TPoint local = target->WindowToClient({x, y});
  target->HandleMouseMove(shift, local.X, local.Y);
  if (FWindow) FWindow->SetCursor(target->Cursor());
}

void TCustomForm::MouseLeaveWindow() {
  if (!FCapture) UpdateHover(nullptr);
}

void TCustomForm::KeyDownEvent(uint16_t key, uint32_t shift) {
  if (FKeyPreview) HandleKeyDown(key, shift);
  if (key == 0) return;
  if (FActiveControl && FActiveControl != this)
    FActiveControl->HandleKeyDown(key, shift);
  else if (!FKeyPreview)
    HandleKeyDown(key, shift);
}

void TCustomForm::KeyUpEvent(uint16_t key, uint32_t shift) {
  if (FKeyPreview) HandleKeyUp(key, shift);
  if (key == 0) return;
  if (FActiveControl && FActiveControl != this)
    FActiveControl->HandleKeyUp(key, shift);
  else if (!FKeyPreview)
    HandleKeyUp(key, shift);
}

void TCustomForm::KeyCharEvent(const std::string& text) {
  std::string key = text;
  if (FKeyPreview) HandleKeyPress(key);
  if (key.empty()) return;
  if (FActiveControl && FActiveControl != this)
    FActiveControl->HandleKeyPress(key);
  else if (!FKeyPreview)
    HandleKeyPress(key);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  FActiveControl = control;
  if (old) old->DoExit();
  if (control) control->DoEnter();
}

void TCustomForm::ControlGoing(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (FHover && inside(FHover)) {
    TControl* old = FHover;
    FHover = nullptr;
    if (!old->IsDestroying()) old->HandleMouseLeave();
  }
  if (FCapture && inside(FCapture)) SetCaptureControl(nullptr);
  if (FActiveControl && inside(FActiveControl)) FActiveControl = nullptr;
}
