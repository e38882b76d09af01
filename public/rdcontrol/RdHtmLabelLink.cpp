#include "public/rdcontrol/RdHtmLabelLink.h"

#include "public/rdcontrol/Control.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdHtmLabelLink::StaticClass() {
  using C = TRdHtmLabelLink;
  static const TClassInfo info = TPropertyTable<C>("TRdHtmLabelLink", &TCollectionItem::StaticClass())
                                     .String("Name", &C::Name, &C::SetName)
                                     .Object("Font", &C::Font)
                                     .Object("FontHover", &C::FontHover)
                                     .ColorField("ColorBg", &C::FColorBg, clNone)
                                     .Enum(
                                         "Cursor", CursorNames(), [](const C& c) { return c.FCursor; },
                                         [](C& c, int v) { c.FCursor = v; }, crDefault)
                                     .StringField("Hint", &C::FHint)
                                     .BoolField("AutoShowHint", &C::FAutoShowHint, false)
                                     .IntField("MaxLine", &C::FMaxLine, -1)
                                     .IntField("LineSpace", &C::FLineSpace, -9999)
                                     .BoolField("FixedWidth", &C::FFixedWidth, false)
                                     .String("Caption", &C::Caption, &C::SetCaption)
                                     .ReadOnlyBool("FoundTextEllipsis", &C::FoundTextEllipsis)
                                     .Event("OnClick")
                                     .Build();
  return info;
}

TRdHtmLabelLink::TRdHtmLabelLink(TCollection* collection) : TCollectionItem(collection) {
  FFont.SetOwner(this);
  FFontHover.SetOwner(this);
  FFont.SetStyle(fsUnderline);
  FFont.OnChange = [this] { Changed(); };
  FFontHover.OnChange = [this] { Changed(); };
}
