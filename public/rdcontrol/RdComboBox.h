#pragma once
#include <memory>

#include "public/rdcontrol/ComboBox.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdAutoAlign.h"
#include "public/rdcontrol/RdSkinClass.h"

class TRdScrollBar;
class TRdFormSkin;

// The library's combo box: face pictures by state and the colours of its own drop-down list.
// Its list's scroll bar and shadow are published sub-objects (VScrollBar, ListFormShadow).
class TRdComboBox : public TComboBox {
  QVB_PERSISTENT(TRdComboBox)

 public:
  enum TFaceSlot {
    cfBackground,
    cfBackgroundHot,
    cfBackgroundFocus,
    cfBackgroundClick,
    cfBackgroundDisable,
    cfCount
  };
  static const char* const* FaceNames();

  explicit TRdComboBox(TComponent* owner = nullptr);
  ~TRdComboBox() override;

  TPicture& Face(TFaceSlot slot) { return FFaces[slot]; }
  TDesignRect& BackgroundOption() { return FBackgroundOption; }
  TRdScrollBar& VScrollBar() { return *FVScrollBar; }
  TRdFormSkin& ListFormShadow() { return *FListFormShadow; }
  TRdSkinClass& AllSkin() { return FAllSkin; }
  TRdAutoAlign& AutoAlign() { return FAutoAlign; }
  void Paint(TPainter& painter) override;

  TNotifyEvent OnDropDownShow;

  TColor FBorderColor{0x333333};
  TColor FItemColor{clDefault};
  TColor FItemHotColor{0xFFFFFF};
  TColor FItemHotBgColor{0x782B};
  TColor FFontDisableColor{clGrayText};
  TColor FFontHintColor{0x808080};
  int FTextOffX{5};
  int FComboboxHeight{0};

 private:
  TPicture FFaces[cfCount];
  TDesignRect FBackgroundOption;
  // Parts of the combo box, owned by it (its components, not the window's).
  TRdScrollBar* FVScrollBar;
  TRdFormSkin* FListFormShadow;
  TRdSkinClass FAllSkin;
  TRdAutoAlign FAutoAlign;
};
