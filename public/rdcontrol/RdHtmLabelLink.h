#pragma once
#include <string>

#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/RdFont.h"

// The settings of one link of a TRdHtmLabel, matched to the n-th <a>...</a> of its text.
class TRdHtmLabelLink : public TCollectionItem {
  QVB_PERSISTENT(TRdHtmLabelLink)

 public:
  explicit TRdHtmLabelLink(TCollection* collection = nullptr);

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name) { FName = name; }
  TRdFont& Font() { return FFont; }
  TRdFont& FontHover() { return FFontHover; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  bool FoundTextEllipsis() const { return FFoundTextEllipsis; }
  std::string DisplayName() const override { return FName; }

  TColor FColorBg{clNone};
  int FCursor{0};
  std::string FHint;
  bool FAutoShowHint{false};
  int FMaxLine{-1};
  int FLineSpace{-9999};
  bool FFixedWidth{false};
  bool FFoundTextEllipsis{false};

  TNotifyEvent OnClick;

 private:
  std::string FName;
  TRdFont FFont;
  TRdFont FFontHover;
  std::string FCaption;
};
