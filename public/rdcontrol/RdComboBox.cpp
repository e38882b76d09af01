#include "public/rdcontrol/RdComboBox.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/RdFormSkin.h"
#include "public/rdcontrol/RdGraphicControl.h"
#include "public/rdcontrol/RdScrollBar.h"

const char* const* TRdComboBox::FaceNames() {
  static const char* const names[cfCount] = {"Background", "BackgroundHot", "BackgroundFocus",
                                             "BackgroundClick", "BackgroundDisable"};
  return names;
}

const TClassInfo& TRdComboBox::StaticClass() {
  using C = TRdComboBox;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdComboBox", &TComboBox::StaticClass());
    t.Creatable();
    for (int i = 0; i < cfCount; ++i)
      t.Object(FaceNames()[i], [i](C& c) -> TPicture& { return c.Face(TFaceSlot(i)); });
    QVB_RD_COMMON(t, C)
        .EnumField("Style", ComboBoxStyleNames(), &C::FStyle, csOwnerDrawFixed)
        .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, false)
        .Object("BackgroundOption", &C::BackgroundOption)
        .ColorField("BorderColor", &C::FBorderColor, 0x333333)
        .ColorField("ItemColor", &C::FItemColor, clDefault)
        .ColorField("ItemHotColor", &C::FItemHotColor, 0xFFFFFF)
        .ColorField("ItemHotBgColor", &C::FItemHotBgColor, 0x782B)
        .ColorField("FontDisableColor", &C::FFontDisableColor, clGrayText)
        .ColorField("FontHintColor", &C::FFontHintColor, 0x808080)
        .IntField("TextOffX", &C::FTextOffX, 5)
        .IntField("ComboboxHeight", &C::FComboboxHeight, 0)
        .Object("VScrollBar", &C::VScrollBar)
        .Object("ListFormShadow", &C::ListFormShadow)
        .Event("OnDropDownShow");
    return t.Build();
  }();
  return info;
}

TRdComboBox::TRdComboBox(TComponent* owner)
    : TComboBox(owner),
      FVScrollBar(new TRdScrollBar(this)),
      FListFormShadow(new TRdFormSkin(this)),
      FAllSkin(this) {
  FStyle = csOwnerDrawFixed;
  SetColor(0);
  FVScrollBar->SetName("VScroll");
  FVScrollBar->FAutoSize = true;
  FVScrollBar->FAutoHide = true;
  FListFormShadow->SetName("Bg");
  for (TPicture& p : FFaces) {
    p.SetOwner(this);
    p.OnChange = [this] { Invalidate(); };
  }
}

TRdComboBox::~TRdComboBox() = default;

void TRdComboBox::Paint(TPainter& painter) {
  const TPicture& face =
      FFaces[!EffectivelyEnabled() && !FFaces[cfBackgroundDisable].Empty() ? cfBackgroundDisable
             : MouseInControl() && !FFaces[cfBackgroundHot].Empty()        ? cfBackgroundHot
                                                                           : cfBackground];
  if (!face.Draw(painter, ClientRect(), &FBackgroundOption.Grid())) {
    painter.FillRect(ClientRect(), Color() == 0 ? TColor(0x303030) : Color());
    painter.FrameRect(ClientRect(), FBorderColor);
  }
  TTextFormat f;
  f.VAlign = taVerticalCenter;
  f.EndEllipsis = true;
  TColor c = !EffectivelyEnabled() ? FFontDisableColor : ItemIndex() < 0 ? FFontHintColor : Font().Color();
  painter.DrawText(TTextLayout(Font().Font(), Text(), ClientRect().Inflate(-FTextOffX, 0), f), c);
}
