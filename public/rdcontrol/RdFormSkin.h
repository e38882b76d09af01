#pragma once
#include "public/rdcontrol/BorderLines.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/EllipseSize.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdFormSkinBkgOpt.h"
#include "public/rdcontrol/RdSkinClass.h"
#include "public/rdcontrol/ShadowFrame.h"

class TCustomForm;
class TWinControl;

// The form skin: drop shadow, rounded corners and border lines of a borderless form. This class
// keeps the published settings and its owner form; composing and placing the shadow window is
// the form skin's full implementation.
class TRdFormSkin : public TComponent {
  QVB_PERSISTENT(TRdFormSkin)

 public:
  explicit TRdFormSkin(TComponent* owner = nullptr);

  // The skinned window: the stored OwnerForm, else the owner when it is a windowed control.
  TWinControl* OwnerForm() const;
  bool SetOwnerForm(TComponent* form);
  TPicture& PicShadow() { return FPicShadow; }
  TRdFormSkinBkgOpt& PicShadowOption() { return FPicShadowOption; }
  TShadowFrame& ShadowFrame() { return FShadowFrame; }
  TEllipseSize& EllipseSize() { return FEllipseSize; }
  TBorderLines& BorderLines() { return FBorderLines; }
  TRdSkinClass& AllSkin() { return FAllSkin; }
  void Notification(TComponent* component, TOperation operation) override;

  bool FFixFlashBlack{false};
  TNotifyEvent OnShadowPaintEnd;

 private:
  TWinControl* FOwnerForm{nullptr};
  TPicture FPicShadow;
  TRdFormSkinBkgOpt FPicShadowOption;
  TShadowFrame FShadowFrame;
  TEllipseSize FEllipseSize;
  TBorderLines FBorderLines;
  TRdSkinClass FAllSkin;
};
