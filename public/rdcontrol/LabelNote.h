#pragma once
#include <string>

#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/Label.h"

// One alternative text of a TLabelNote. A new item is named by its place: "Text_0", "Text_1"...
class TLabelItem : public TCollectionItem {
  QVB_PERSISTENT(TLabelItem)

public:
  explicit TLabelItem(TCollection* collection = nullptr);

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  std::string DisplayName() const override { return FText; }
  // Copies the text only.
  void Assign(const TPersistent& source) override;

private:
  std::string FText;
  std::string FName;
};

// A label with a list of alternative texts; TextIndex (or NameIndex, by the item's Name) picks
// the one shown. Changing an item's text does not change the caption until an index is set
// again. It draws as the plain label does; no themed text drawing exists here to opt out of.
class TLabelNote : public TLabel {
  QVB_PERSISTENT(TLabelNote)

public:
  explicit TLabelNote(TComponent* owner = nullptr);

  TCollection& Items() { return FItems; }
  const TCollection& Items() const { return FItems; }
  TLabelItem* Item(int index) const { return FItems.Item<TLabelItem>(index); }
  TLabelItem& AddItem() { return static_cast<TLabelItem&>(FItems.Add()); }

  int TextIndex() const { return FTextIndex; }
  // While the window description is read the value is only kept. Otherwise an index of an item
  // shows that item's text; any other value is ignored.
  void SetTextIndex(int index);
  // The Name of the shown item; "" while none is shown.
  std::string NameIndex() const;
  // Shows the first item whose Name is exactly name (letter case counts); no match changes nothing.
  void SetNameIndex(const std::string& name);

private:
  TCollection FItems;
  int FTextIndex{-1};
};
