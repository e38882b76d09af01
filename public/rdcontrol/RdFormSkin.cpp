#include "public/rdcontrol/RdFormSkin.h"

#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/WinControl.h"

const TClassInfo& TRdFormSkin::StaticClass() {
  using C = TRdFormSkin;
  static const TClassInfo info =
      TPropertyTable<C>("TRdFormSkin", &TComponent::StaticClass())
          .Creatable()
          .Component(
              "OwnerForm", [](const C& c) -> TComponent* { return c.FOwnerForm; }, &C::SetOwnerForm)
          .BoolField("FixFlashBlack", &C::FFixFlashBlack, false)
          .Color(
              "FormColor", [](const C& c) { return c.OwnerForm() ? c.OwnerForm()->Color() : clNone; },
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

TRdFormSkin::TRdFormSkin(TComponent* owner) : TComponent(owner), FAllSkin(this) {
  FPicShadow.SetOwner(this);
}

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
