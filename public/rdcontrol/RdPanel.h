#pragma once
#include "public/rdcontrol/Panel.h"
#include "public/rdcontrol/RdAutoAlign.h"
#include "public/rdcontrol/RdSkinClass.h"

// The library's panel: an optional two-colour gradient, translucency decided by the colours'
// opacity (clNone paints nothing, so the window behind shows through), the hit-test switch.
class TRdPanel : public TPanel {
  QVB_PERSISTENT(TRdPanel)

 public:
  explicit TRdPanel(TComponent* owner = nullptr);

  TRdSkinClass& AllSkin() { return FAllSkin; }
  TRdAutoAlign& AutoAlign() { return FAutoAlign; }
  // 0 for clNone, 255 for clDefault, else the top byte of a translucent value (above 0xFFFFFF
  // after skin colour resolution), else 255.
  static int ColorOpacity(TColor color);
  bool Translucent() const;
  void Paint(TPainter& painter) override;

  TColor FColorTo{clDefault};
  bool FColorToVert{false};
  TNotifyEvent OnPaint;

 private:
  TRdSkinClass FAllSkin;
  TRdAutoAlign FAutoAlign;
};
