#include "public/rdcontrol/RdImageNote.h"

#include "public/rdcontrol/ImageNote.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdImageNote::StaticClass() {
  using C = TRdImageNote;
  static const TClassInfo info = TPropertyTable<C>("TRdImageNote", &TRdImage::StaticClass())
                                     .Creatable()
                                     .Collection("Items", &C::Items)
                                     .Integer("ImageIndex", &C::ImageIndex, &C::SetImageIndex, -1)
                                     .BoolField("Locked", &C::FLocked, false)
                                     .Event("OnItemChanged")
                                     .Build();
  return info;
}

TRdImageNote::TRdImageNote(TComponent* owner)
    : TRdImage(owner), FItems(this, [](TCollection& c) { return std::make_unique<TPictureItem>(&c); }) {
  FItems.OnChange = [this] {
    if (OnItemChanged) OnItemChanged(this);
  };
}

void TRdImageNote::SetImageIndex(int index) {
  if (IsLoading()) {
    FImageIndex = index;
    return;
  }
  FImageIndex = index;
  if (auto* item = FItems.Item<TPictureItem>(index))
    Picture().Assign(item->Picture());
  else
    Picture().Clear();
}
