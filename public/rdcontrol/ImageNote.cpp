#include "public/rdcontrol/ImageNote.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPictureItem::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TPictureItem>("TPictureItem", &TCollectionItem::StaticClass())
          .String("Name", &TPictureItem::Name, &TPictureItem::SetName)
          .Object("Picture", [](TPictureItem& item) -> TPicture& { return item.Picture(); })
          .Build();
  return info;
}

// NOTE: the collection calls the factory before it adds the item, so its count then is the
// new item's index.
TPictureItem::TPictureItem(TCollection* collection)
    : TCollectionItem(collection), FName("Picture_" + std::to_string(collection ? collection->Count() : 0)) {
  Picture().SetOwner(this);
  Picture().OnChange = [this] { Changed(); };
}

void TPictureItem::SetName(const std::string& name) {
  if (name == FName) return;
  FName = name;
  Changed();
}

void TPictureItem::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TPictureItem*>(&source))
    SetPicture(other->Picture());
  else
    TCollectionItem::Assign(source);
}

const TClassInfo& TImageNote::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TImageNote>("TImageNote", &TImage::StaticClass())
          .Creatable()
          .Collection("Items", [](TImageNote& c) -> TCollection& { return c.Items(); })
          .Integer("ImageIndex", &TImageNote::ImageIndex, &TImageNote::SetImageIndex, -1)
          .Boolean("Locked", &TImageNote::Locked, &TImageNote::SetLocked, false)
          .Build();
  return info;
}

TImageNote::TImageNote(TComponent* owner)
    : TImage(owner), FItems(this, [](TCollection& c) { return std::make_unique<TPictureItem>(&c); }) {}

void TImageNote::SetImageIndex(int index) {
  if (IsReading() || IsLoading()) {
    FImageIndex = index;
    return;
  }
  if (index == -1) {
    Picture().Clear();
    FImageIndex = -1;
    return;
  }
  const TPictureItem* item = Item(index);
  if (!item) return;
  FImageIndex = index;
  try {
    Picture().Assign(item->Picture());
  } catch (...) {
    // A picture that cannot be copied leaves the shown one as it was.
  }
}

