#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/WindowSystem.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/RdFont.h"
#include "public/rdcontrol/Rect.h"
#include "public/rdcontrol/SizeConstraints.h"

class TWinControl;
class TCustomForm;
class TPainter;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : uint32_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint32_t;

// Names of the enumerations above for property tables.
const TEnumInfo& AlignNames();
const TEnumInfo& AnchorNames();
const TEnumInfo& CursorNames();

using TMouseEventHandler =
    std::function<void(TComponent* sender, TMouseButton button, uint32_t shift, int x, int y)>;
using TMouseMoveEventHandler = std::function<void(TComponent* sender, uint32_t shift, int x, int y)>;
using TKeyEventHandler = std::function<void(TComponent* sender, uint16_t& key, uint32_t shift)>;
// key holds the typed character (UTF-8); a handler may change it or clear it to drop it.
using TKeyPressEventHandler = std::function<void(TComponent* sender, std::string& key)>;

// A control: a component with a place in the parent/children tree of a window, bounds in its
// parent's client coordinates, visibility, enabled state, a font, a caption and a hint. TControl
// itself is windowless (it paints on its parent and takes input through it); TWinControl adds
// children and keyboard focus. The window (TCustomForm) routes input to the control under the
// pointer: see TWinControl::ControlAtPos.
//
// Behaviour apart from drawing: input hooks change state and fire events; Paint only maps the
// state to pixels.
class TControl : public TComponent {
  QVB_PERSISTENT(TControl)

 public:
  explicit TControl(TComponent* owner = nullptr);
  ~TControl() override;

  // --- tree and geometry ---
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  TCustomForm* ParentForm() const;  // the top-level window the control is in; null when none
  // Leaves the parent at once (so a parent freed meanwhile cannot free it twice), then goes the
  // way of TComponent::Release; a control owned only by its parent is released all the same.
  void Release() override;
  virtual bool IsWindowed() const { return false; }
  TComponent* GetParentComponent() const override;
  // A windowed control becomes the parent; anything else leaves the control where it is.
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return TRect::FromSize(FLeft, FTop, FWidth, FHeight); }
  TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  virtual int ClientWidth() const { return FWidth; }
  virtual int ClientHeight() const { return FHeight; }
  void SetClientWidth(int v) { SetWidth(v); }
  void SetClientHeight(int v) { SetHeight(v); }
  // Client coordinates of this control to those of its window, and back.
  TPoint ClientToWindow(TPoint p) const;
  TPoint WindowToClient(TPoint p) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors anchors) { FAnchors = anchors; }
  TSizeConstraints& Constraints() { return FConstraints; }
  const TSizeConstraints& Constraints() const { return FConstraints; }

  // Z-order among the siblings of the same kind (windowed controls stay above windowless ones).
  void BringToFront();
  void SendToBack();

  // --- state ---
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a shown window.
  bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);
  // Enabled here and in every parent.
  bool EffectivelyEnabled() const;

  // The library's hit-test switch: False lets the mouse through to what lies beneath.
  bool HitTest() const { return FHitTest; }
  void SetHitTest(bool on) { FHitTest = on; }
  // Whether the control takes the mouse at a point of its client area. The default honours
  // HitTest; a control with a mask or a transparent empty area refines it.
  virtual bool HitTestAt(TPoint local) const;
  bool MouseInControl() const { return FMouseInControl; }

  // --- text, font, colour, hint ---
  // Caption and Text are one string, as on the platform; a control publishes the one it uses.
  const std::string& Caption() const { return FText; }
  virtual void SetCaption(const std::string& text);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text) { SetCaption(text); }

  TRdFont& Font() { return FFont; }
  const TRdFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool on);
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool on);

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool on);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool on);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor) { FCursor = cursor; }

  // --- painting ---
  // Asks the window for a repaint of this control.
  virtual void Invalidate();
  void Repaint() { Invalidate(); }
  // Paints the control into its client area (the painter's origin is the control's top-left,
  // its clip the control's bounds). The default draws a plain placeholder frame.
  virtual void Paint(TPainter& painter);

  // --- input, as the window delivers it (client coordinates) ---
  // The full routing of one event: the hooks below, then the events.
  void HandleMouseDown(TMouseButton button, uint32_t shift, int x, int y, int clickCount);
  void HandleMouseUp(TMouseButton button, uint32_t shift, int x, int y);
  void HandleMouseMove(uint32_t shift, int x, int y);
  void HandleMouseEnter();
  void HandleMouseLeave();
  // Fires OnClick: a press and a release of the left button inside the control.
  virtual void Click();

  // --- events ---
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEventHandler OnMouseDown;
  TMouseEventHandler OnMouseUp;
  TMouseMoveEventHandler OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

 protected:
  // Hooks for the control classes; the defaults fire the matching events.
  virtual void MouseDown(TMouseButton button, uint32_t shift, int x, int y);
  virtual void MouseUp(TMouseButton button, uint32_t shift, int x, int y);
  virtual void MouseMove(uint32_t shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void DblClick();
  virtual void Resized();      // after the size changed
  virtual void FontChanged();  // after Font changed
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void TextChanged() {}
  // A parent's font or colour changed; a control that follows it takes it over.
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();

  // Sets the geometry fields without any notification (construction defaults).
  void InitBounds(int left, int top, int width, int height);
  // Anchoring to the parent's client size after the parent was resized (TWinControl calls it).
  friend class TWinControl;
  void ParentResized(int oldWidth, int oldHeight, int newWidth, int newHeight);

 private:
  TWinControl* FParent{nullptr};
  int FLeft{0};
  int FTop{0};
  int FWidth{0};
  int FHeight{0};
  TAlign FAlign{alNone};
  TAnchors FAnchors{akLeft | akTop};
  TSizeConstraints FConstraints;
  bool FVisible{true};
  bool FEnabled{true};
  bool FHitTest{true};
  bool FMouseInControl{false};
  bool FClicked{false};  // a left press landed here and has not been released
  bool FTakingParentFont{false};
  std::string FText;
  TRdFont FFont;
  bool FParentFont{true};
  TColor FColor{clBtnFace};
  bool FParentColor{true};
  std::string FHint;
  bool FShowHint{false};
  bool FParentShowHint{true};
  TCursor FCursor{crDefault};
};
