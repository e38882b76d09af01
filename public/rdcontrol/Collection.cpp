#include "public/rdcontrol/Collection.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TCollectionItem::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass()).Build();
  return info;
}

const TClassInfo& TCollection::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TCollection>("TCollection", &TPersistent::StaticClass()).Build();
  return info;
}

int TCollectionItem::Index() const {
  return FCollection ? FCollection->IndexOf(this) : -1;
}

TPersistent* TCollectionItem::GetOwner() const {
  return FCollection;
}

void TCollectionItem::Changed() {
  if (FCollection) FCollection->Changed();
}

TCollectionItem& TCollection::Add() {
  return Insert(Count());
}

TCollectionItem& TCollection::Insert(int index) {
  if (index < 0) index = 0;
  if (index > Count()) index = Count();
  std::unique_ptr<TCollectionItem> item = FFactory(*this);
  item->FCollection = this;
  TCollectionItem& ref = *item;
  FItems.insert(FItems.begin() + index, std::move(item));
  Changed();
  return ref;
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == item) return int(i);
  return -1;
}

void TCollection::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other || other == this) return;
  ++FUpdateCount;
  FItems.clear();
  for (int i = 0; i < other->Count(); ++i) Add().Assign(*other->Items(i));
  --FUpdateCount;
  Changed();
}
