#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/WinControl.h"

// The platform's plain check box; a click toggles it.
class TCheckBox : public TWinControl {
  QVB_PERSISTENT(TCheckBox)

 public:
  explicit TCheckBox(TComponent* owner = nullptr);

  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState state);
  void Click() override;
  void Paint(TPainter& painter) override;

  bool FAllowGrayed{false};
  TAlignment FAlignment{taRightJustify};

 private:
  TCheckBoxState FState{cbUnchecked};
};
