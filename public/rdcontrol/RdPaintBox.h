#pragma once
#include "public/rdcontrol/RdGraphicControl.h"

// The library's paint box: a windowless surface with the library's common parts and an OnPaint
// event; the base of the progress bar and the stretch image.
class TRdPaintBox : public TRdGraphicControl {
  QVB_PERSISTENT(TRdPaintBox)

 public:
  explicit TRdPaintBox(TComponent* owner = nullptr);
  void Paint(TPainter& painter) override;

  TNotifyEvent OnPaint;
};
