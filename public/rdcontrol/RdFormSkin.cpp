#include "public/rdcontrol/RdFormSkin.h"

#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WinControl.h"

const TClassInfo& TRdFormSkinBkgOpt::StaticClass() {
  using C = TRdFormSkinBkgOpt;
  static const TClassInfo info = TPropertyTable<C>("TRdFormSkinBkgOpt", &TDesignRect::StaticClass())
                                     .IntField("PadLeft", &C::FPadLeft, 0)
                                     .IntField("PadTop", &C::FPadTop, 0)
                                     .IntField("PadRight", &C::FPadRight, 0)
                                     .IntField("PadBottom", &C::FPadBottom, 0)
                                     .Build();
  return info;
}

const TClassInfo& TShadowFrame::StaticClass() {
  using C = TShadowFrame;
  static const TClassInfo info = TPropertyTable<C>("TShadowFrame", &TPersistent::StaticClass())
                                     .BoolField("Enabled", &C::FEnabled, false)
                                     .IntField("Left", &C::FLeft, 0)
                                     .IntField("Right", &C::FRight, 0)
                                     .IntField("Top", &C::FTop, 0)
                                     .IntField("Bottom", &C::FBottom, 0)
                                     .Integer("Width", &C::Width, nullptr)
                                     .Integer("Height", &C::Height, nullptr)
                                     .Build();
  return info;
}

const TClassInfo& TEllipseSize::StaticClass() {
  using C = TEllipseSize;
  static const TClassInfo info = TPropertyTable<C>("TEllipseSize", &TPersistent::StaticClass())
                                     .BoolField("Ellipse", &C::FEllipse, true)
                                     .IntField("Width", &C::FWidth, 0)
                                     .IntField("Height", &C::FHeight, 0)
                                     .Build();
  return info;
}

const TClassInfo& TBorderLines::StaticClass() {
  using C = TBorderLines;
  static const TClassInfo info = TPropertyTable<C>("TBorderLines", &TPersistent::StaticClass())
                                     .BoolField("Enabled", &C::FEnabled, false)
                                     .ColorField("Color", &C::FColor, clWindowFrame)
                                     .IntField("Width", &C::FWidth, 1)
                                     .BoolField("Left", &C::FLeft, true)
                                     .BoolField("Right", &C::FRight, true)
                                     .BoolField("Top", &C::FTop, true)
                                     .BoolField("Bottom", &C::FBottom, true)
                                     .Build();
  return info;
}

const TClassInfo& TRdFormSkin::StaticClass() {
  using C = TRdFormSkin;
  static const TClassInfo info =
      TPropertyTable<C>("TRdFormSkin", &TComponent::StaticClass())
          .Creatable()
          .Component("OwnerForm", [](const C& c) -> TComponent* { return c.FOwnerForm; }, &C::SetOwnerForm)
          .BoolField("FixFlashBlack", &C::FFixFlashBlack, false)
          .Color("FormColor", [](const C& c) { return c.OwnerForm() ? c.OwnerForm()->Color() : clNone; },
                 [](C& c, TColor v) {
                   if (c.OwnerForm()) c.OwnerForm()->SetColor(v);
                 })
          .NotStored()
          .Object("PicShadow", &C::PicShadow)
          .Object("PicShadowOption", &C::PicShadowOption)
          .Object("ShadowFrame", &C::ShadowFrame)
          .Object("EllipseSize", &C::EllipseSize)
          .Object("BorderLines", &C::BorderLines)
          .Object("AllSkin", &C::AllSkin)
          .Event("OnShadowPaintEnd")
          .Build();
  return info;
}

TRdFormSkin::TRdFormSkin(TComponent* owner) : TComponent(owner), FAllSkin(this) { FPicShadow.SetOwner(this); }

TWinControl* TRdFormSkin::OwnerForm() const {
  if (FOwnerForm) return FOwnerForm;
  return dynamic_cast<TWinControl*>(Owner());
}

bool TRdFormSkin::SetOwnerForm(TComponent* form) {
  auto* w = dynamic_cast<TWinControl*>(form);
  if (form && !w) return false;
  FOwnerForm = w;
  return true;
}

void TRdFormSkin::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FOwnerForm) FOwnerForm = nullptr;
}
