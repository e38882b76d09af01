#pragma once
#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/RdHtmLabelLink.h"
#include "public/rdcontrol/RdLabel.h"
#include "public/rdcontrol/StringList.h"

// A label that draws a small HTML-like markup with links, each matched by position to an item of
// LinkItems. Lines holds the markup; Caption is the lines joined with "<BR>", PlainText the text
// without tags. This class keeps the data and draws the plain text; the markup drawing and the
// link hit test belong to the label's full implementation.
class TRdHtmLabel : public TRdLabel {
  QVB_PERSISTENT(TRdHtmLabel)

 public:
  explicit TRdHtmLabel(TComponent* owner = nullptr);

  TStringList& Lines() { return FLines; }
  TCollection& LinkItems() { return FLinkItems; }
  TRdHtmLabelLink* Link(int index) const { return FLinkItems.Item<TRdHtmLabelLink>(index); }
  const std::string& PlainText() const { return FPlainText; }
  bool FoundTextOutOfRect() const { return FFoundTextOutOfRect; }
  void SetCaption(const std::string& text) override;

  // The text without tags: "<br>" (any case) becomes a line break, "<" to the next ">" goes, and
  // a "<" without a closing ">" drops the rest.
  static std::string StripTags(const std::string& markup);

  void Paint(TPainter& painter) override;

  int FLineSpacing{0};

 private:
  void LinesChanged();

  TStringList FLines;
  TCollection FLinkItems;
  std::string FPlainText;
  bool FFoundTextOutOfRect{false};
  bool FSyncing{false};
};
