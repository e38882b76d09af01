#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/GraphicControl.h"

class TWinControl;

// The size a label needs for text: one line, or wrapped within width. An empty text measures
// as one blank line.
TSize MeasureLabelText(const TFont& font, std::string_view text, bool wordWrap, int width, bool prefix);

// The platform's plain label, as this system uses it: transparent from creation, sized to its
// text while AutoSize is on (and WordWrap off).
class TLabel : public TGraphicControl {
  QVB_PERSISTENT(TLabel)

 public:
  explicit TLabel(TComponent* owner = nullptr);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  TTextLayoutPos Layout() const { return FLayout; }
  void SetLayout(TTextLayoutPos l);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool on);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);
  TWinControl* FocusControl() const { return FFocusControl; }
  bool SetFocusControl(TComponent* c);

  void Paint(TPainter& painter) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void TextChanged() override { AdjustSize(); }
  void FontChanged() override;
  void AdjustSize();
  TTextFormat Format() const;

  bool FShowAccelChar{true};
  TEllipsisPosition FEllipsisPosition{epNone};

 private:
  TAlignment FAlignment{taLeftJustify};
  TTextLayoutPos FLayout{tlTop};
  bool FAutoSize{true};
  bool FWordWrap{false};
  bool FTransparent{true};
  TWinControl* FFocusControl{nullptr};
};
