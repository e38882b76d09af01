#pragma once
#include <vector>

#include "public/rdcontrol/Control.h"

// A windowed control: it holds child controls and can take the keyboard focus. On this system
// no child control has a native window of its own; "windowed" keeps the platform's rules that
// the code relies on: windowed children paint above and take the mouse before windowless
// siblings, only windowed controls are focusable, and a windowed control frees its children
// when it is freed (a child with an owner leaves that owner's list as it goes).
class TWinControl : public TControl {
  QVB_PERSISTENT(TWinControl)

 public:
  explicit TWinControl(TComponent* owner = nullptr);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }

  // Children in z-order, bottom first: windowless ones, then windowed ones.
  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int index) const { return FControls[size_t(index)]; }
  bool ContainsControl(const TControl* control) const;  // a child at any depth

  // The control that takes the mouse at p (client coordinates of this control): the topmost
  // visible, enabled child there whose HitTestAt accepts the point, searched depth first, so a
  // child of a transparent control still gets its own input. This control itself when no child
  // takes it and its own HitTestAt does; null when the point passes through.
  TControl* ControlAtPos(TPoint p);

  // --- focus ---
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool on) { FTabStop = on; }
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int order) { FTabOrder = order; }
  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();

  // Paints this control and its children; painter's origin at this control's top-left.
  void PaintTree(TPainter& painter);

  // Lays out the aligned children (alTop, alBottom, alLeft, alRight, then alClient).
  void AlignControls();

  // --- keyboard, delivered to the focused control ---
  void HandleKeyDown(uint16_t& key, uint32_t shift);
  void HandleKeyUp(uint16_t& key, uint32_t shift);
  void HandleKeyPress(std::string& key);

  TKeyEventHandler OnKeyDown;
  TKeyEventHandler OnKeyUp;
  TKeyPressEventHandler OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  friend class TControl;
  friend class TCustomForm;
  // A child arrived or is leaving (also during reading): containers hook page lists here.
  virtual void ControlInserted(TControl* control) {}
  virtual void ControlRemoved(TControl* control) {}
  virtual void KeyDown(uint16_t& key, uint32_t shift);
  virtual void KeyUp(uint16_t& key, uint32_t shift);
  virtual void KeyPress(std::string& key);
  virtual void DoEnter();
  virtual void DoExit();
  void Resized() override;
  void FontChanged() override;
  void ParentFontChanged() override;
  void ParentColorChanged() override;
  void Loaded() override;

 private:
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void Restack(TControl* control, bool toFront);

  std::vector<TControl*> FControls;  // not owning; see the class comment
  bool FTabStop{false};
  int FTabOrder{-1};
  bool FAligning{false};
  int FAlignedWidth{0};  // the size the anchored children were last placed for
  int FAlignedHeight{0};
};
