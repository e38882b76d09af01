#include "public/rdcontrol/RdPanel.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/RdGraphicControl.h"

const TClassInfo& TRdPanel::StaticClass() {
  using C = TRdPanel;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdPanel", &TPanel::StaticClass());
    t.Creatable();
    QVB_RD_COMMON(t, C)
        .Enum("BevelOuter", BevelCutNames(), &C::BevelOuter, &C::SetBevelOuter, bvNone)
        .BoolField("DoubleBuffered", &C::FDoubleBuffered, true)
        .ColorField("ColorTo", &C::FColorTo, clDefault)
        .BoolField("ColorToVert", &C::FColorToVert, false)
        .Event("OnPaint")
        .Event("OnMouseWheel")
        .Event("OnMouseWheelDown")
        .Event("OnMouseWheelUp");
    return t.Build();
  }();
  return info;
}

TRdPanel::TRdPanel(TComponent* owner) : TPanel(owner), FAllSkin(this) {
  SetBevelOuter(bvNone);
  FDoubleBuffered = true;
}

int TRdPanel::ColorOpacity(TColor color) {
  if (color == clNone) return 0;
  if (color == clDefault) return 255;
  TColor resolved = IsColorId(color) ? ColorToRGB(color) : color;
  if (IsSystemColor(resolved)) return 255;
  return resolved > 0xFFFFFF ? int(resolved >> 24) : 255;
}

bool TRdPanel::Translucent() const {
  return ColorOpacity(Color()) < 255 || (FColorTo != clDefault && ColorOpacity(FColorTo) < 255);
}

void TRdPanel::Paint(TPainter& painter) {
  TColor from = Color();
  int alpha = ColorOpacity(from);
  if (FColorTo != clDefault && FColorTo != clNone) {
    painter.FillGradient(ClientRect(), ColorToRGB(from), ColorToRGB(FColorTo),
                         FColorToVert ? TGradientDirection::Vertical : TGradientDirection::Horizontal,
                         uint8_t(alpha));
  } else if (alpha > 0) {
    painter.FillRect(ClientRect(), IsSystemColor(from) || IsColorId(from) ? from : (from & 0xFFFFFF),
                     uint8_t(alpha));
  }
  PaintBevel(painter);
  PaintCaption(painter);
  if (OnPaint) OnPaint(this);
}
