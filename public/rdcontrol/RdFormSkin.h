#pragma once
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdSkinClass.h"

class TCustomForm;
class TWinControl;

// The design rectangle of the shadow picture plus the insets of the area it is drawn into.
class TRdFormSkinBkgOpt : public TDesignRect {
  QVB_PERSISTENT(TRdFormSkinBkgOpt)

public:
  int FPadLeft{0}, FPadTop{0}, FPadRight{0}, FPadBottom{0};
};

// How far the shadow window reaches beyond the form on each side.
class TShadowFrame : public TPersistent {
  QVB_PERSISTENT(TShadowFrame)

public:
  int Width() const { return FLeft + FRight; }
  int Height() const { return FTop + FBottom; }
  bool FEnabled{false};
  int FLeft{0}, FRight{0}, FTop{0}, FBottom{0};
};

// The corner size of the window region.
class TEllipseSize : public TPersistent {
  QVB_PERSISTENT(TEllipseSize)

public:
  bool FEllipse{true};
  int FWidth{0}, FHeight{0};
};

// A frame drawn around the form into the shadow window.
class TBorderLines : public TPersistent {
  QVB_PERSISTENT(TBorderLines)

public:
  bool FEnabled{false};
  TColor FColor{clWindowFrame};
  int FWidth{1};
  bool FLeft{true}, FRight{true}, FTop{true}, FBottom{true};
};

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
