#include "platform/HeadlessWindowSystem.h"

#include <algorithm>
#include <cstring>

#include "platform/EventLoop.h"

// ---- THeadlessWindow ----------------------------------------------------------------------

THeadlessWindow::THeadlessWindow(THeadlessWindowSystem* system, const TWindowParams& params)
    : FSystem(system),
      FOwner(params.Owner),
      FBounds(params.Bounds),
      FTitle(params.Title),
      FTopmost(params.Topmost),
      FShowInTaskbar(params.ShowInTaskbar) {}

THeadlessWindow::~THeadlessWindow() {
  if (FSystem) FSystem->Remove(this);
}

void THeadlessWindow::SetBounds(const TWindowRect& bounds) {
  const bool resized = bounds.Width != FBounds.Width || bounds.Height != FBounds.Height;
  FBounds = bounds;
  if (resized) Invalidate();
}

void THeadlessWindow::Show(bool activate) {
  FVisible = true;
  if (!FSystem) return;
  FSystem->Raise(this);
  if (activate) FSystem->SetActive(this);
}

void THeadlessWindow::Hide() {
  FVisible = false;
  if (FSystem) FSystem->Raise(nullptr);
}

void THeadlessWindow::Minimize() {
  if (FMinimized) return;
  FMinimized = true;
  std::weak_ptr<bool> alive = FAlive;
  if (OnMinimizedChanged) OnMinimizedChanged(true);
  if (alive.expired()) return;
  if (FSystem && FSystem->FActive == this) FSystem->SetActive(nullptr);
}

void THeadlessWindow::Restore() {
  if (!FMinimized) return;
  FMinimized = false;
  if (OnMinimizedChanged) OnMinimizedChanged(false);
}

void THeadlessWindow::Activate() {
  if (!FSystem || !FVisible) return;
  FSystem->Raise(this);
  FSystem->SetActive(this);
}

bool THeadlessWindow::Active() const {
  return FSystem && FSystem->FActive == this;
}

void THeadlessWindow::SetFrame(const void* pixels, int width, int height, size_t stride,
                               TFramePixelFormat format) {
  if (!pixels || width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return;
  if (stride == 0) stride = size_t(width) * 4;
  FFrame.resize(size_t(width) * size_t(height) * 4);
  for (int y = 0; y < height; ++y) {
    const uint8_t* s = static_cast<const uint8_t*>(pixels) + size_t(y) * stride;
    uint8_t* d = FFrame.data() + size_t(y) * size_t(width) * 4;
    if (format == TFramePixelFormat::Rgba) {
      std::memcpy(d, s, size_t(width) * 4);
    } else {
      for (int x = 0; x < width; ++x, s += 4, d += 4) d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
    }
  }
  FFrameWidth = width;
  FFrameHeight = height;
  ++FFrameCount;
}

bool THeadlessWindow::GrabFrame(std::vector<uint8_t>& rgba, int& width, int& height) const {
  if (FFrame.empty()) return false;
  rgba = FFrame;
  width = FFrameWidth;
  height = FFrameHeight;
  return true;
}

void THeadlessWindow::Invalidate() {
  if (FPaintPending) return;
  FPaintPending = true;
  if (!FSystem) return;
  std::weak_ptr<bool> alive = FAlive;
  FSystem->FLoop.Post([this, alive] {
    if (!alive.expired()) PaintNow();
  });
}

void THeadlessWindow::PaintNow() {
  if (!FPaintPending) return;
  FPaintPending = false;
  if (OnPaint) OnPaint();
}

void THeadlessWindow::StartSystemMove(int screenX, int screenY) {
  // There is no window manager: the window follows the pointer until the button goes up, and
  // like a real move the application sees neither those moves nor the release.
  FMoveStarted = true;
  if (FSystem) {
    FSystem->FMoving = this;
    FSystem->FMoveAnchorX = screenX - FBounds.Left;
    FSystem->FMoveAnchorY = screenY - FBounds.Top;
  }
}

// ---- THeadlessWindowSystem -------------------------------------------------------------------

THeadlessWindowSystem::THeadlessWindowSystem(TEventLoop& loop, TWindowRect screen, int dpi)
    : FLoop(loop), FMonitors{TMonitorInfo{screen, screen, true}}, FDpi(dpi) {}

THeadlessWindowSystem::~THeadlessWindowSystem() {
  for (THeadlessWindow* w : FZOrder) w->FSystem = nullptr;
}

std::unique_ptr<TNativeWindow> THeadlessWindowSystem::CreateNativeWindow(const TWindowParams& params) {
  std::unique_ptr<THeadlessWindow> window(new THeadlessWindow(this, params));
  FZOrder.push_back(window.get());
  return window;
}

std::vector<TMonitorInfo> THeadlessWindowSystem::Monitors() const {
  return FMonitors;
}

void THeadlessWindowSystem::Remove(THeadlessWindow* window) {
  FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
  if (FHover == window) FHover = nullptr;
  if (FPressed == window) FPressed = nullptr;
  if (FMoving == window) FMoving = nullptr;
  if (FActive == window) FActive = nullptr;
}

// Moves a window to the top of the stack; Raise(nullptr) only re-checks the active window,
// which a hidden window gives up to the topmost visible one.
void THeadlessWindowSystem::Raise(THeadlessWindow* window) {
  if (window) {
    FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
    FZOrder.push_back(window);
    return;
  }
  if (FActive && !FActive->FVisible) {
    const std::vector<THeadlessWindow*> visible = Windows();
    SetActive(visible.empty() ? nullptr : visible.front());
  }
  if (FHover && !FHover->FVisible) FHover = nullptr;
  if (FPressed && !FPressed->FVisible) FPressed = nullptr;
}

void THeadlessWindowSystem::SetActive(THeadlessWindow* window) {
  if (FActive == window) return;
  THeadlessWindow* previous = FActive;
  FActive = window;
  std::weak_ptr<bool> alive = window ? window->FAlive : std::weak_ptr<bool>();
  if (previous && previous->OnFocusChanged) previous->OnFocusChanged(false);
  if (window && !alive.expired() && FActive == window && window->OnFocusChanged) window->OnFocusChanged(true);
}

std::vector<THeadlessWindow*> THeadlessWindowSystem::Windows() const {
  std::vector<THeadlessWindow*> result;
  for (auto it = FZOrder.rbegin(); it != FZOrder.rend(); ++it)
    if ((*it)->FVisible) result.push_back(*it);
  std::stable_partition(result.begin(), result.end(), [](THeadlessWindow* w) { return w->FTopmost; });
  return result;
}

THeadlessWindow* THeadlessWindowSystem::WindowAt(int screenX, int screenY) const {
  for (THeadlessWindow* w : FZOrder)
    if (w->FCaptured && w->FVisible) return w;
  if (FPressed) return FPressed;
  for (THeadlessWindow* w : Windows()) {
    const TWindowRect& b = w->FBounds;
    if (!w->FMinimized && screenX >= b.Left && screenX < b.Left + b.Width && screenY >= b.Top &&
        screenY < b.Top + b.Height)
      return w;
  }
  return nullptr;
}

bool THeadlessWindowSystem::Accepts(const THeadlessWindow* window) const {
  return window && window->FVisible && window->FEnabled && !window->FMinimized;
}

TMouseEvent THeadlessWindowSystem::MouseEventFor(const THeadlessWindow& window, int screenX, int screenY,
                                                 uint32_t shift) const {
  TMouseEvent e;
  e.ScreenX = screenX;
  e.ScreenY = screenY;
  e.X = screenX - window.FBounds.Left;
  e.Y = screenY - window.FBounds.Top;
  e.Shift = shift | FButtons;
  return e;
}

bool THeadlessWindowSystem::MouseMove(int screenX, int screenY, uint32_t shift) {
  FCursorX = screenX;
  FCursorY = screenY;
  if (FMoving) {
    THeadlessWindow* w = FMoving;
    TWindowRect b = w->FBounds;
    b.Left = screenX - FMoveAnchorX;
    b.Top = screenY - FMoveAnchorY;
    w->FBounds = b;
    if (w->OnBoundsChanged) w->OnBoundsChanged(b);
    return true;
  }
  THeadlessWindow* target = WindowAt(screenX, screenY);
  if (FHover && FHover != target) {
    THeadlessWindow* left = FHover;
    FHover = nullptr;
    if (left->OnMouseLeave) left->OnMouseLeave();
  }
  if (!Accepts(target)) return false;
  FHover = target;
  if (target->OnMouseMove) target->OnMouseMove(MouseEventFor(*target, screenX, screenY, shift));
  return true;
}

namespace {
uint32_t ButtonBit(TMouseButton button) {
  return button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
}
}  // namespace

bool THeadlessWindowSystem::MouseDown(int screenX, int screenY, TMouseButton button, uint32_t shift,
                                      int clickCount) {
  if (screenX != FCursorX || screenY != FCursorY) MouseMove(screenX, screenY, shift);
  THeadlessWindow* target = WindowAt(screenX, screenY);
  if (!Accepts(target)) return false;
  std::weak_ptr<bool> alive = target->FAlive;
  if (FActive != target) {
    Raise(target);
    SetActive(target);
    if (alive.expired()) return true;
  }
  FButtons |= ButtonBit(button);
  FPressed = target;
  TMouseEvent e =
      MouseEventFor(*target, screenX, screenY, shift | (clickCount > 1 ? uint32_t(ssDouble) : 0u));
  e.Button = button;
  e.ClickCount = clickCount;
  if (target->OnMouseDown) target->OnMouseDown(e);
  return true;
}

bool THeadlessWindowSystem::MouseUp(int screenX, int screenY, TMouseButton button, uint32_t shift) {
  if (FMoving) {
    FMoving = nullptr;
    FButtons &= ~ButtonBit(button);
    FPressed = nullptr;
    return true;
  }
  if (screenX != FCursorX || screenY != FCursorY) MouseMove(screenX, screenY, shift);
  THeadlessWindow* target = WindowAt(screenX, screenY);
  FButtons &= ~ButtonBit(button);
  if ((FButtons & (ssLeft | ssRight | ssMiddle)) == 0) FPressed = nullptr;
  if (!Accepts(target)) return false;
  TMouseEvent e = MouseEventFor(*target, screenX, screenY, shift);
  e.Button = button;
  if (target->OnMouseUp) target->OnMouseUp(e);
  return true;
}

bool THeadlessWindowSystem::MouseWheel(int screenX, int screenY, int delta, uint32_t shift) {
  THeadlessWindow* target = WindowAt(screenX, screenY);
  if (!Accepts(target)) return false;
  TMouseEvent e = MouseEventFor(*target, screenX, screenY, shift);
  e.WheelDelta = delta;
  if (target->OnMouseWheel) target->OnMouseWheel(e);
  return true;
}

bool THeadlessWindowSystem::Click(int screenX, int screenY, TMouseButton button, uint32_t shift) {
  if (!MouseDown(screenX, screenY, button, shift)) return false;
  MouseUp(screenX, screenY, button, shift);
  return true;
}

bool THeadlessWindowSystem::KeyDown(uint16_t key, uint32_t shift) {
  if (!Accepts(FActive)) return false;
  TKeyEvent e;
  e.Key = key;
  e.Shift = shift;
  if (FActive->OnKeyDown) FActive->OnKeyDown(e);
  return true;
}

bool THeadlessWindowSystem::KeyUp(uint16_t key, uint32_t shift) {
  if (!Accepts(FActive)) return false;
  TKeyEvent e;
  e.Key = key;
  e.Shift = shift;
  if (FActive->OnKeyUp) FActive->OnKeyUp(e);
  return true;
}

bool THeadlessWindowSystem::TypeText(const std::string& utf8) {
  if (!Accepts(FActive)) return false;
  // One character event per code point, as a keyboard delivers them.
  for (size_t i = 0; i < utf8.size();) {
    size_t n = 1;
    while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
    TKeyEvent e;
    e.Text = utf8.substr(i, n);
    i += n;
    if (!Accepts(FActive)) return true;
    if (FActive->OnKeyChar) FActive->OnKeyChar(e);
  }
  return true;
}

void THeadlessWindowSystem::RequestClose(THeadlessWindow& window) {
  if (window.OnCloseRequest) window.OnCloseRequest();
}

void THeadlessWindowSystem::PaintAll() {
  // A paint may create, destroy or invalidate windows; walk a snapshot and check each one.
  std::vector<std::weak_ptr<bool>> alive;
  std::vector<THeadlessWindow*> windows = FZOrder;
  for (THeadlessWindow* w : windows) alive.push_back(w->FAlive);
  for (size_t i = 0; i < windows.size(); ++i)
    if (!alive[i].expired()) windows[i]->PaintNow();
}
