#pragma once
#include <string>

#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/Image.h"
#include "public/rdcontrol/Picture.h"

// One named picture of a TImageNote. A new item is named by its place: "Picture_0", ...
class TPictureItem : public TCollectionItem {
  QVB_PERSISTENT(TPictureItem)

public:
  explicit TPictureItem(TCollection* collection = nullptr);

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  // Copies the picture; the item keeps its own.
  void SetPicture(const TPicture& picture) { FPicture.Assign(picture); }
  std::string DisplayName() const override { return FName; }
  // Copies the picture only.
  void Assign(const TPersistent& source) override;

private:
  std::string FName;
  TPicture FPicture;
};

// An image with a list of named pictures; ImageIndex picks the one shown (a copy of it).
class TImageNote : public TImage {
  QVB_PERSISTENT(TImageNote)

public:
  explicit TImageNote(TComponent* owner = nullptr);

  TCollection& Items() { return FItems; }
  const TCollection& Items() const { return FItems; }
  TPictureItem* Item(int index) const { return FItems.Item<TPictureItem>(index); }
  TPictureItem& AddItem() { return static_cast<TPictureItem&>(FItems.Add()); }

  int ImageIndex() const { return FImageIndex; }
  // While the window description is read the value is only kept (the description carries the
  // shown picture itself). Otherwise an item's index shows a copy of its picture, -1 shows
  // none, and any other value is ignored.
  void SetImageIndex(int index);

  // A form-designer aid that pins the bounds; no effect at run time.
  bool Locked() const { return FLocked; }
  void SetLocked(bool locked) { FLocked = locked; }

private:
  TCollection FItems;
  int FImageIndex{-1};
  bool FLocked{false};
};
