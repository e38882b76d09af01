#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/StringList.h"
#include "public/rdcontrol/WinControl.h"

// The platform's combo box, as far as the installer uses it: a list of items and the selected
// index (-1 for none), whose text the face shows.
class TComboBox : public TWinControl {
  QVB_PERSISTENT(TComboBox)

 public:
  explicit TComboBox(TComponent* owner = nullptr);

  TStringList& Items() { return FItems; }
  int ItemIndex() const { return FItemIndex; }
  // An index outside the list selects nothing (-1). Fires no event: OnChange is for the user's
  // choice.
  void SetItemIndex(int index);
  // The user's choice: selects and fires OnChange.
  void Select(int index);
  void Paint(TPainter& painter) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;

  TComboBoxStyle FStyle{csDropDown};
  int FDropDownCount{8};
  int FItemHeight{16};
  bool FSorted{false};

 private:
  TStringList FItems;
  int FItemIndex{-1};
};
