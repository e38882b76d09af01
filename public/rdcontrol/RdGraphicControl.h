#pragma once
#include "public/rdcontrol/GraphicControl.h"
#include "public/rdcontrol/RdAutoAlign.h"
#include "public/rdcontrol/RdSkinClass.h"

// The library's windowless control base: the platform's graphic control with the skin selector
// (AllSkin), the hit-test switch and the alignment helper published.
class TRdGraphicControl : public TGraphicControl {
  QVB_PERSISTENT(TRdGraphicControl)

 public:
  explicit TRdGraphicControl(TComponent* owner = nullptr) : TGraphicControl(owner), FAllSkin(this) {}

  TRdSkinClass& AllSkin() { return FAllSkin; }
  TRdAutoAlign& AutoAlign() { return FAutoAlign; }

 private:
  TRdSkinClass FAllSkin;
  TRdAutoAlign FAutoAlign;
};

// Registers AllSkin and HitTest on a library class's table (windowed ones have them too).
#define QVB_RD_COMMON(Table, C)                                                 \
  Table.Object("AllSkin", [](C& c) -> TRdSkinClass& { return c.AllSkin(); })    \
      .Object("AutoAlign", [](C& c) -> TRdAutoAlign& { return c.AutoAlign(); }) \
      .Boolean("HitTest", &C::HitTest, &C::SetHitTest, true)
