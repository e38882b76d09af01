#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

class TEventLoop;
class THeadlessWindowSystem;

// A window without a display: its frame is a pixel buffer, its input is injected.
class THeadlessWindow : public TNativeWindow {
 public:
  ~THeadlessWindow() override;

  TWindowRect Bounds() const override { return FBounds; }
  void SetBounds(const TWindowRect& bounds) override;
  void SetTitle(const std::string& title) override { FTitle = title; }
  std::string Title() const override { return FTitle; }
  void Show(bool activate = true) override;
  void Hide() override;
  bool Visible() const override { return FVisible; }
  void SetTopmost(bool topmost) override { FTopmost = topmost; }
  bool Topmost() const { return FTopmost; }
  void SetShowInTaskbar(bool show) override { FShowInTaskbar = show; }
  bool ShowInTaskbar() const { return FShowInTaskbar; }
  void SetEnabled(bool enabled) override { FEnabled = enabled; }
  bool Enabled() const override { return FEnabled; }
  void Minimize() override;
  void Restore() override;
  bool Minimized() const override { return FMinimized; }
  void Activate() override;
  bool Active() const override;
  void SetFrame(const void* pixels, int width, int height, size_t stride, TFramePixelFormat format) override;
  bool GrabFrame(std::vector<uint8_t>& rgba, int& width, int& height) const override;
  void Invalidate() override;
  void StartSystemMove(int screenX, int screenY) override;
  void SetCursor(TCursor cursor) override { FCursor = cursor; }
  void SetMouseCapture(bool capture) override { FCaptured = capture; }

  // What tests look at.
  TCursor Cursor() const { return FCursor; }
  bool MouseCaptured() const { return FCaptured; }
  bool PaintPending() const { return FPaintPending; }
  int FrameCount() const { return FFrameCount; }
  bool MoveStarted() const { return FMoveStarted; }
  TNativeWindow* Owner() const { return FOwner; }
  // Runs a pending paint now instead of waiting for the loop.
  void PaintNow();

 private:
  friend class THeadlessWindowSystem;
  THeadlessWindow(THeadlessWindowSystem* system, const TWindowParams& params);

  THeadlessWindowSystem* FSystem;
  TNativeWindow* FOwner{nullptr};
  TWindowRect FBounds;
  std::string FTitle;
  bool FVisible{false};
  bool FTopmost{false};
  bool FShowInTaskbar{true};
  bool FEnabled{true};
  bool FMinimized{false};
  bool FCaptured{false};
  bool FMoveStarted{false};
  bool FPaintPending{false};
  TCursor FCursor{crDefault};
  int FFrameCount{0};
  int FFrameWidth{0};
  int FFrameHeight{0};
  std::vector<uint8_t> FFrame;  // RGBA premultiplied
  // Cleared when the window goes, so that a posted paint finds it gone.
  std::shared_ptr<bool> FAlive{std::make_shared<bool>(true)};
};

// The headless backend: a virtual screen with windows in z-order, input injected by callers.
// Injected events go to the window exactly as the X11 backend would deliver them: to a visible,
// enabled window; mouse events by screen position to the topmost window there (or to the
// window that captured the mouse), keys to the active window. Paints requested by Invalidate
// are posted to the event loop.
class THeadlessWindowSystem : public TWindowSystem {
 public:
  explicit THeadlessWindowSystem(TEventLoop& loop, TWindowRect screen = {0, 0, 1920, 1080}, int dpi = 96);
  ~THeadlessWindowSystem() override;

  std::string Name() const override { return "headless"; }
  std::unique_ptr<TNativeWindow> CreateNativeWindow(const TWindowParams& params) override;
  std::vector<TMonitorInfo> Monitors() const override;
  int Dpi() const override { return FDpi; }
  bool SupportsTransparency() const override { return true; }
  void CursorPos(int& x, int& y) const override {
    x = FCursorX;
    y = FCursorY;
  }
  TNativeWindow* ActiveWindow() const override { return FActive; }

  void SetDpi(int dpi) { FDpi = dpi; }
  void SetMonitors(std::vector<TMonitorInfo> monitors) { FMonitors = std::move(monitors); }
  // Visible windows, topmost first (topmost-flagged windows above the others).
  std::vector<THeadlessWindow*> Windows() const;
  // The window that receives mouse input at a screen point: the capturing window, else the
  // topmost visible, not minimised window containing the point; null when none.
  THeadlessWindow* WindowAt(int screenX, int screenY) const;

  // Mouse input at screen coordinates. Returns false when no window took the event (nothing
  // there, or the window is disabled). A move that leaves a window sends it OnMouseLeave.
  bool MouseMove(int screenX, int screenY, uint32_t shift = 0);
  bool MouseDown(int screenX, int screenY, TMouseButton button = mbLeft, uint32_t shift = 0,
                 int clickCount = 1);
  bool MouseUp(int screenX, int screenY, TMouseButton button = mbLeft, uint32_t shift = 0);
  bool MouseWheel(int screenX, int screenY, int delta, uint32_t shift = 0);
  // Down and up at one point: a click.
  bool Click(int screenX, int screenY, TMouseButton button = mbLeft, uint32_t shift = 0);
  // Keyboard input to the active window.
  bool KeyDown(uint16_t key, uint32_t shift = 0);
  bool KeyUp(uint16_t key, uint32_t shift = 0);
  bool TypeText(const std::string& utf8);
  // The window manager's close request to a window.
  void RequestClose(THeadlessWindow& window);
  // Runs every pending paint now.
  void PaintAll();

 private:
  friend class THeadlessWindow;
  void Remove(THeadlessWindow* window);
  void Raise(THeadlessWindow* window);
  void SetActive(THeadlessWindow* window);
  TMouseEvent MouseEventFor(const THeadlessWindow& window, int screenX, int screenY, uint32_t shift) const;
  bool Accepts(const THeadlessWindow* window) const;

  TEventLoop& FLoop;
  std::vector<TMonitorInfo> FMonitors;
  int FDpi{96};
  std::vector<THeadlessWindow*> FZOrder;  // bottom first; windows are owned by their creators
  THeadlessWindow* FActive{nullptr};
  THeadlessWindow* FHover{nullptr};
  THeadlessWindow* FPressed{nullptr};  // implicit grab from button down to the last button up
  THeadlessWindow* FMoving{nullptr};   // in a system move
  int FMoveAnchorX{0};
  int FMoveAnchorY{0};
  uint32_t FButtons{0};  // ssLeft / ssRight / ssMiddle held
  int FCursorX{0};
  int FCursorY{0};
};
