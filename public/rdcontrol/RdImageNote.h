#pragma once
#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/RdImage.h"

// A TRdImage with its own list of named pictures; ImageIndex chooses the one shown (a copy of
// its picture). While loading, the index is only stored: the description carries the shown
// picture itself.
class TRdImageNote : public TRdImage {
  QVB_PERSISTENT(TRdImageNote)

 public:
  explicit TRdImageNote(TComponent* owner = nullptr);

  TCollection& Items() { return FItems; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);

  bool FLocked{false};
  TNotifyEvent OnItemChanged;

 private:
  TCollection FItems;
  int FImageIndex{-1};
};
