#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/WindowSystem.h"
#include "public/rdcontrol/Bitmap.h"
#include "public/rdcontrol/WinControl.h"

class TEventLoop;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// Modal results, as the platform numbers them.
inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                     mrNo = 7;

using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

// A top-level window: the root of a control tree, shown through the platform WindowSystem.
// Position is in screen coordinates; the window is borderless, so its client area is its whole
// size. Painting renders the tree into a bitmap and hands it to the native window; input from
// the native window goes to the control under the pointer (TWinControl::ControlAtPos), with
// mouse capture from a press to its release, hover enter/leave, and keys to the focused
// control. ShowModal runs a nested TEventLoop::Exec that closing the window (or setting a
// modal result) quits.
class TCustomForm : public TWinControl {
  QVB_PERSISTENT(TCustomForm)

 public:
  explicit TCustomForm(TComponent* owner = nullptr);
  ~TCustomForm() override;

  // Reads a window description into this form (the root object's properties, then its
  // children, created by class name). Throws TFormSyntaxError for a syntax error; unknown
  // properties and classes are skipped (see TFormReader).
  void LoadDescription(std::string_view text);
  // The same for a built-in resource; false when there is no resource of that name.
  bool LoadDescriptionResource(std::string_view name);

  // --- window ---
  void Show();
  void Hide();
  // Asks to close: OnCloseQuery may refuse; OnClose chooses the action (hide by default).
  // Returns whether the window closed.
  bool Close();
  // Shows the window and runs a nested loop until it closes or gets a modal result; returns
  // the modal result (mrCancel when it was closed).
  int ShowModal();
  bool Modal() const { return FModalLevel != 0; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result);
  // Closes once the current event has returned (a handler of the form itself).
  void Release() override;

  TNativeWindow* NativeWindow() const { return FWindow.get(); }
  // Creates the native window if there is none yet.
  TNativeWindow& HandleNeeded();
  void SetVisible(bool visible) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;

  // Renders the tree into the form's frame bitmap and, when the window exists, shows it.
  const TBitmap& PaintFrame();
  const TBitmap& Frame() const { return FFrame; }
  // Renders and saves the frame as PNG; false (with a message) when it cannot be written.
  bool SaveFrame(const std::string& path, std::string* error = nullptr);

  // --- input routing (window coordinates); the native window's events call these ---
  void MouseDownAt(int x, int y, TMouseButton button, uint32_t shift, int clickCount = 1);
  void MouseUpAt(int x, int y, TMouseButton button, uint32_t shift);
  void MouseMoveAt(int x, int y, uint32_t shift);
  void MouseLeaveWindow();
  void KeyDownEvent(uint16_t key, uint32_t shift);
  void KeyUpEvent(uint16_t key, uint32_t shift);
  void KeyCharEvent(const std::string& text);

  TControl* HoverControl() const { return FHover; }
  TControl* CaptureControl() const { return FCapture; }
  void SetCaptureControl(TControl* control);
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // Forgets a control that is being removed from the tree.
  void ControlGoing(TControl* control);

  // --- published ---
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle s) { FBorderStyle = s; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition p) { FPosition = p; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle s);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool on) { FAlphaBlend = on; }
  int AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(int v) { FAlphaBlendValue = v < 0 ? 0 : v > 255 ? 255 : v; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool on) { FKeyPreview = on; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool on) { FScaled = on; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int v) { FPixelsPerInch = v; }
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int v) { FTextHeight = v; }
  bool ShowInTaskbar() const { return FShowInTaskbar; }
  void SetShowInTaskbar(bool on);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDestroy;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

 protected:
  void Paint(TPainter& painter) override;
  void SetCaption(const std::string& text) override;
  // Where the window first shows (Position rules); the default centres for poScreenCenter.
  virtual void PlaceOnFirstShow();
  virtual void DoShow();
  virtual void DoClose(TCloseAction& action);
  virtual bool CloseQuery();

 private:
  void AttachWindowEvents();
  void UpdateHover(TControl* target);
  TControl* RouteTarget(int x, int y);

  std::unique_ptr<TNativeWindow> FWindow;
  TBitmap FFrame;
  TControl* FHover{nullptr};
  TControl* FCapture{nullptr};
  TWinControl* FActiveControl{nullptr};
  TFormBorderStyle FBorderStyle{bsSizeable};
  TPosition FPosition{poDefaultPosOnly};
  TFormStyle FFormStyle{fsNormal};
  bool FAlphaBlend{false};
  int FAlphaBlendValue{255};
  bool FKeyPreview{false};
  bool FScaled{true};
  int FPixelsPerInch{96};
  int FTextHeight{13};
  bool FShowInTaskbar{true};
  bool FShownOnce{false};
  int FModalLevel{0};
  int FModalResult{mrNone};
  TEventLoop* FModalLoop{nullptr};
  std::shared_ptr<bool> FAlive{std::make_shared<bool>(true)};
};
