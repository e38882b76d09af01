#include "public/rdcontrol/RdHtmLabel.h"

#include "platform/TextCodec.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdHtmLabel::StaticClass() {
  using C = TRdHtmLabel;
  static const TClassInfo info = TPropertyTable<C>("TRdHtmLabel", &TRdLabel::StaticClass())
                                     .Creatable()
                                     // Caption follows Lines, which is what the description keeps.
                                     .String("Caption", &C::Caption, &C::SetCaption)
                                     .NotStored()
                                     .Boolean("AutoSize", &C::AutoSize, &C::SetAutoSize, false)
                                     .Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap, true)
                                     .BoolField("WrapChar", &C::FWrapChar, false)
                                     .Strings("Lines", &C::Lines)
                                     .IntField("LineSpacing", &C::FLineSpacing, 0)
                                     .Collection("LinkItems", &C::LinkItems)
                                     .String("PlainText", &C::PlainText, nullptr)
                                     .ReadOnlyBool("FoundTextOutOfRect", &C::FoundTextOutOfRect)
                                     .Build();
  return info;
}

TRdHtmLabel::TRdHtmLabel(TComponent* owner)
    : TRdLabel(owner),
      FLinkItems(this, [](TCollection& c) { return std::make_unique<TRdHtmLabelLink>(&c); }) {
  FAutoSize = false;
  FWordWrap = true;
  FWrapChar = false;
  FLines.SetOwner(this);
  FLines.OnChange = [this] { LinesChanged(); };
  FLinkItems.OnChange = [this] { Invalidate(); };
}

std::string TRdHtmLabel::StripTags(const std::string& markup) {
  std::string out;
  size_t i = 0;
  while (i < markup.size()) {
    if (markup[i] != '<') {
      out += markup[i++];
      continue;
    }
    size_t close = markup.find('>', i);
    if (close == std::string::npos) break;
    std::string tag = markup.substr(i + 1, close - i - 1);
    if (SameText(Trim(tag), "br")) out += "\n";
    i = close + 1;
  }
  return out;
}

void TRdHtmLabel::LinesChanged() {
  std::string joined;
  for (int i = 0; i < FLines.Count(); ++i) {
    if (i) joined += "<BR>";
    joined += FLines.Strings(i);
  }
  FPlainText = StripTags(joined);
  FSyncing = true;
  TRdLabel::SetCaption(joined);
  FSyncing = false;
}

void TRdHtmLabel::SetCaption(const std::string& text) {
  if (FSyncing || text == Caption()) return;
  FLines.SetText(text);
}

void TRdHtmLabel::Paint(TPainter& painter) {
  if (!FTransparent) painter.FillRect(ClientRect(), Color());
  BkgNormal().Draw(painter, ClientRect(), &BkgOption().Grid());
  if (OnPaintImage) OnPaintImage(this);
  TTextFormat f;
  f.Align = FAlignment;
  f.WordWrap = FWordWrap;
  TTextLayout layout(Font().Font(), FPlainText, TextRect(), f);
  FFoundTextOutOfRect = layout.Overflowed();
  painter.Save();
  painter.IntersectClip(TextRect());
  painter.DrawText(layout, TextColor());
  painter.Restore();
  if (OnPaintEnd) OnPaintEnd(this);
}
