#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TEventLoop;

// Top-level windows and their raw input: the part of windowing that belongs to the operating
// system. A window here is a borderless surface that shows the pixel frame it is given and
// reports mouse, keyboard, close and focus events in its own client coordinates. What lies
// inside a window (controls, hit testing, routing input to a control, modal loops) is the
// controls library's business. Two backends implement it: headless (windows are pixel buffers,
// input is injected by tests or tools) and X11. Everything is used on the GUI thread; events
// arrive through the event loop.

// Delphi-compatible values, so that published cursor properties map directly.
using TCursor = int;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                         crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                         crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                         crHandPoint = -21, crSizeAll = -22;

// Shift-state bits of input events (the platform's TShiftState order).
enum : uint32_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual-key codes of key events: the platform's values. Letters and digits are their upper
// case ASCII codes ('A', '0').
inline constexpr uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
                          VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
                          VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
                          VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F4 = 0x73;

struct TMouseEvent {
  int X{0};  // client coordinates
  int Y{0};
  int ScreenX{0};
  int ScreenY{0};
  TMouseButton Button{mbLeft};  // down and up events
  uint32_t Shift{0};            // ss* bits: modifiers and the buttons held
  int WheelDelta{0};            // wheel events: 120 per notch, positive away from the user
  int ClickCount{1};            // 2 for the second press of a double click
};

struct TKeyEvent {
  uint16_t Key{0};  // VK_* code (key down / up)
  uint32_t Shift{0};
  std::string Text;  // character events: the typed text in UTF-8
  bool Repeat{false};
};

struct TWindowRect {
  int Left{0};
  int Top{0};
  int Width{0};
  int Height{0};
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

struct TMonitorInfo {
  TWindowRect Bounds;
  TWindowRect WorkArea;  // without panels and docks
  bool Primary{false};
};

// Byte order of a frame's pixels; both carry premultiplied alpha.
enum class TFramePixelFormat { Rgba, Bgra };

class TNativeWindow;

struct TWindowParams {
  TWindowRect Bounds;  // screen position and size
  std::string Title;
  bool Topmost{false};
  bool ShowInTaskbar{true};
  bool Transparent{false};        // the frame's alpha is shown (ARGB visual where a compositor runs)
  TNativeWindow* Owner{nullptr};  // a dialog's owner stays below it and under one taskbar entry
};

class TNativeWindow {
 public:
  virtual ~TNativeWindow() = default;

  virtual TWindowRect Bounds() const = 0;
  virtual void SetBounds(const TWindowRect& bounds) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() const = 0;

  virtual void Show(bool activate = true) = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void SetShowInTaskbar(bool show) = 0;
  // A disabled window receives no input (the owner of a modal dialog).
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;

  virtual void Minimize() = 0;
  virtual void Restore() = 0;
  virtual bool Minimized() const = 0;
  // Brings the window to the front and gives it the keyboard focus.
  virtual void Activate() = 0;
  virtual bool Active() const = 0;

  // Copies a frame to show: width x height pixels of 4 bytes, premultiplied, stride bytes per row
  // (0 = width * 4). The window keeps the copy until the next frame.
  virtual void SetFrame(const void* pixels, int width, int height, size_t stride,
                        TFramePixelFormat format) = 0;
  // The last frame as premultiplied RGBA rows (4 bytes per pixel, no padding); false when none.
  virtual bool GrabFrame(std::vector<uint8_t>& rgba, int& width, int& height) const = 0;
  // Asks for OnPaint soon; several requests before it runs give one paint.
  virtual void Invalidate() = 0;

  // Hands the pointer to the window manager to move the window (a press on a caption area).
  virtual void StartSystemMove(int screenX, int screenY) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  // While captured, the window receives mouse events from anywhere on the screen.
  virtual void SetMouseCapture(bool capture) = 0;

  // Events, assigned by the owner of the window.
  std::function<void()> OnPaint;  // render and call SetFrame
  std::function<void(const TMouseEvent&)> OnMouseMove;
  std::function<void(const TMouseEvent&)> OnMouseDown;
  std::function<void(const TMouseEvent&)> OnMouseUp;
  std::function<void(const TMouseEvent&)> OnMouseWheel;
  std::function<void()> OnMouseLeave;
  std::function<void(const TKeyEvent&)> OnKeyDown;
  std::function<void(const TKeyEvent&)> OnKeyUp;
  std::function<void(const TKeyEvent&)> OnKeyChar;
  std::function<void()> OnCloseRequest;  // the window manager's close (Alt+F4, taskbar)
  std::function<void(bool focused)> OnFocusChanged;
  std::function<void(const TWindowRect&)> OnBoundsChanged;  // moved or resized from outside
  std::function<void(bool minimized)> OnMinimizedChanged;
};

class TWindowSystem {
 public:
  virtual ~TWindowSystem() = default;

  // "headless" or "x11".
  virtual std::string Name() const = 0;
  virtual std::unique_ptr<TNativeWindow> CreateNativeWindow(const TWindowParams& params) = 0;

  virtual std::vector<TMonitorInfo> Monitors() const = 0;
  // The primary monitor (the first one when none says it is primary).
  TMonitorInfo PrimaryMonitor() const;
  // Pixels per inch of the screen (96 = no scaling).
  virtual int Dpi() const = 0;
  // Whether per-pixel window alpha is shown (a compositor runs).
  virtual bool SupportsTransparency() const = 0;
  // The pointer position in screen coordinates.
  virtual void CursorPos(int& x, int& y) const = 0;
  virtual TNativeWindow* ActiveWindow() const = 0;

  // The process-wide window system; created by CreateWindowSystem on first use.
  static TWindowSystem& Current();
  // Installs another one (tests, tools) and returns the previous owner-held instance.
  static std::unique_ptr<TWindowSystem> Install(std::unique_ptr<TWindowSystem> system);
};

// Whether the headless backend is to be used: no display, or QVB_HEADLESS=1.
bool UseHeadlessWindows(const std::string& display, const std::string& headlessFlag);
// The backend for this process, delivering its events through loop: headless when
// UseHeadlessWindows says so for the environment, otherwise X11 (headless until that backend
// is built in).
std::unique_ptr<TWindowSystem> CreateWindowSystem(TEventLoop& loop);
