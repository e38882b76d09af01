#include "public/rdcontrol/LabelNote.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TLabelItem::StaticClass() {
  static const TClassInfo info = TPropertyTable<TLabelItem>("TLabelItem", &TCollectionItem::StaticClass())
                                     .String("Text", &TLabelItem::Text, &TLabelItem::SetText)
                                     .String("Name", &TLabelItem::Name, &TLabelItem::SetName)
                                     .Build();
  return info;
}

// NOTE: the collection calls the factory before it adds the item, so its count then is the
// new item's index.
TLabelItem::TLabelItem(TCollection* collection)
    : TCollectionItem(collection), FText("Text_" + std::to_string(collection ? collection->Count() : 0)) {}

void TLabelItem::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  Changed();
}

void TLabelItem::SetName(const std::string& name) {
  if (name == FName) return;
  FName = name;
  Changed();
}

void TLabelItem::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TLabelItem*>(&source))
    SetText(other->Text());
  else
    TCollectionItem::Assign(source);
}

const TClassInfo& TLabelNote::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TLabelNote>("TLabelNote", &TLabel::StaticClass())
          .Creatable()
          .Collection("Items", [](TLabelNote& c) -> TCollection& { return c.Items(); })
          .Integer("TextIndex", &TLabelNote::TextIndex, &TLabelNote::SetTextIndex, -1)
          .String("NameIndex", &TLabelNote::NameIndex, &TLabelNote::SetNameIndex)
          .NotStored()  // follows from TextIndex
          .Build();
  return info;
}

TLabelNote::TLabelNote(TComponent* owner)
    : TLabel(owner), FItems(this, [](TCollection& c) { return std::make_unique<TLabelItem>(&c); }) {}

void TLabelNote::SetTextIndex(int index) {
  if (IsReading() || IsLoading()) {
    // The items may not be read yet; the stored caption is already the right text.
    FTextIndex = index;
    return;
  }
  TLabelItem* item = Item(index);
  if (!item) return;
  FTextIndex = index;
  SetCaption(item->Text());
}

std::string TLabelNote::NameIndex() const {
  // NOTE: an index kept while reading may lie beyond the items read; it names nothing.
  const TLabelItem* item = Item(FTextIndex);
  return item ? item->Name() : std::string();
}

void TLabelNote::SetNameIndex(const std::string& name) {
  for (int i = 0; i < FItems.Count(); ++i)
    if (Item(i)->Name() == name) return SetTextIndex(i);
}
