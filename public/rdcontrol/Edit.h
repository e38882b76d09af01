#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/WinControl.h"

// The platform's single-line edit, reduced to what the installer's fields need: the text, typing
// at the end (characters, Backspace), a change event and a password character.
class TEdit : public TWinControl {
  QVB_PERSISTENT(TEdit)

 public:
  explicit TEdit(TComponent* owner = nullptr);

  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int n) { FMaxLength = n < 0 ? 0 : n; }
  void Paint(TPainter& painter) override;

  TNotifyEvent OnChange;

  std::string FPasswordChar;
  bool FReadOnly{false};
  bool FAutoSize{true};
  std::string FTextHint;
  TEditCharCase FCharCase{ecNormal};

 protected:
  void TextChanged() override;
  void KeyDown(uint16_t& key, uint32_t shift) override;
  void KeyPress(std::string& key) override;
  // The text as drawn (password characters in place of the text).
  std::string DisplayText() const;

 private:
  int FMaxLength{0};
};
