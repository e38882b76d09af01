#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/WinControl.h"

// The platform's panel: a windowed container that fills itself with its colour and draws its
// bevels and caption.
class TPanel : public TWinControl {
  QVB_PERSISTENT(TPanel)

 public:
  explicit TPanel(TComponent* owner = nullptr);

  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut b);
  void Paint(TPainter& painter) override;

  TAlignment FAlignment{taCenter};
  TBevelCut FBevelInner{bvNone};
  int FBevelWidth{1};
  int FBorderWidth{0};
  bool FParentBackground{true};
  bool FDoubleBuffered{false};

 protected:
  void PaintBevel(TPainter& painter);
  void PaintCaption(TPainter& painter);

 private:
  TBevelCut FBevelOuter{bvRaised};
};
