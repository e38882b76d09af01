#include "public/rdcontrol/TextLayout.h"

#include <algorithm>

#include "platform/TextCodec.h"
#include "public/rdcontrol/GlyphCache.h"

namespace {

// Code points of UTF-8 text through the one UTF-8 decoder (invalid bytes become U+FFFD).
std::u32string DecodeUtf8(std::string_view s) {
  const std::u16string units = Utf8ToUtf16(std::string(s));
  std::u32string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    out.push_back(c);
  }
  return out;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    out.push_back(char16_t(0xD800 | ((c - 0x10000) >> 10)));
    out.push_back(char16_t(0xDC00 | ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(char16_t(c));
  }
}

// A character with its glyph and advance.
struct TChar {
  char32_t Code;
  uint32_t Glyph;
  int Advance;
  bool Accel;
};

// A line under construction: a range of characters plus an optional ellipsis.
struct TRun {
  std::vector<TChar> Chars;
  bool Ellipsis{false};
  int Width() const {
    int w = 0;
    for (const TChar& c : Chars) w += c.Advance;
    return w;
  }
};

class TShaper {
 public:
  TShaper(const TFontFace& face, int em, TFontStyles synth, bool aa)
      : FFace(face), FEm(em), FSynth(synth), FAa(aa) {}
  TChar Make(char32_t code, bool accel = false) {
    const uint32_t glyph = FFace.GlyphIndex(code);
    const int advance = TGlyphCache::Instance().Glyph(FFace, FEm, FSynth, FAa, glyph).Advance;
    return {code, glyph, advance, accel};
  }

 private:
  const TFontFace& FFace;
  int FEm;
  TFontStyles FSynth;
  bool FAa;
};

// Cuts characters off the end of a run until it and the ellipsis fit the width; trailing
// spaces go too, so that "word ..." never shows.
void AddEllipsis(TRun& run, int width, int ellipsisWidth) {
  int w = run.Width();
  while (!run.Chars.empty() && (w + ellipsisWidth > width || run.Chars.back().Code == U' ')) {
    w -= run.Chars.back().Advance;
    run.Chars.pop_back();
  }
  run.Ellipsis = true;
}

// Greedy word wrap of one paragraph: words are separated by spaces, a break drops the spaces
// at it, and a word longer than the width stays whole on its own line.
void WrapParagraph(const std::vector<TChar>& chars, int width, std::vector<TRun>& out) {
  TRun line;
  int lineWidth = 0;
  size_t i = 0;
  bool first = true;
  while (i < chars.size()) {
    size_t s = i;
    int spaceWidth = 0;
    while (s < chars.size() && chars[s].Code == U' ') spaceWidth += chars[s++].Advance;
    size_t e = s;
    int wordWidth = 0;
    while (e < chars.size() && chars[e].Code != U' ') wordWidth += chars[e++].Advance;
    if (first || lineWidth + spaceWidth + wordWidth <= width || line.Chars.empty()) {
      line.Chars.insert(line.Chars.end(), chars.begin() + long(i), chars.begin() + long(e));
      lineWidth += spaceWidth + wordWidth;
    } else {
      out.push_back(std::move(line));
      line = TRun();
      line.Chars.assign(chars.begin() + long(s), chars.begin() + long(e));
      lineWidth = wordWidth;
    }
    first = false;
    i = e;
  }
  out.push_back(std::move(line));
}

}  // namespace

TTextLayout::TTextLayout(const TFont& font, std::string_view text, const TRect& box,
                         const TTextFormat& format)
    : FFont(font), FFace(TFontFace::ForFont(font)) {
  if (!FFace) return;
  FMetrics = FFace->Metrics(FFace->EmPixelsForHeight(font.Height));
  FSynthesized = FFace->SynthesizedStyles(font.Style);
  FLineHeight = format.LineHeight > 0 ? format.LineHeight : FMetrics.Height;
  TShaper shaper(*FFace, FMetrics.EmPixels, FSynthesized, font.Antialiased);

  // Characters by paragraph. Without word wrap the text is one line and its line breaks show
  // as spaces; control characters take no room.
  const std::u32string codes = DecodeUtf8(text);
  std::vector<std::vector<TChar>> paragraphs(1);
  for (size_t i = 0; i < codes.size(); ++i) {
    char32_t c = codes[i];
    bool accel = false;
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < codes.size() && codes[i + 1] == U'\n') ++i;
      if (format.WordWrap) {
        paragraphs.emplace_back();
        continue;
      }
      c = U' ';
    } else if (c < U' ') {
      continue;
    } else if (format.Prefix && c == U'&') {
      if (i + 1 >= codes.size()) continue;
      c = codes[++i];
      accel = c != U'&';
    }
    paragraphs.back().push_back(shaper.Make(c, accel));
  }
  if (codes.empty()) return;

  const int width = box.Width();
  std::vector<TRun> runs;
  for (const auto& p : paragraphs) {
    if (format.WordWrap) {
      WrapParagraph(p, width, runs);
    } else {
      runs.push_back(TRun{p, false});
    }
  }

  const TChar dot = shaper.Make(U'.');
  const int ellipsisWidth = 3 * dot.Advance;
  size_t keep = runs.size();
  if (format.MaxLines > 0) keep = std::min(keep, size_t(format.MaxLines));
  FOverflowed = int64_t(runs.size()) * FLineHeight > box.Height();
  if (format.WordWrap && format.EllipsisByHeight && FLineHeight > 0)
    keep = std::min(keep, size_t(std::max(1, box.Height() / FLineHeight)));
  if (keep < runs.size()) {
    runs.resize(keep);
    AddEllipsis(runs.back(), width, ellipsisWidth);
    FEllipsized = true;
  }
  if (format.EndEllipsis) {
    for (TRun& run : runs) {
      if (!run.Ellipsis && run.Width() > width) {
        AddEllipsis(run, width, ellipsisWidth);
        FEllipsized = true;
      }
    }
  }

  const int blockHeight = int(runs.size()) * FLineHeight;
  int y = box.Top;
  if (format.VAlign == taAlignBottom)
    y = box.Bottom - blockHeight;
  else if (format.VAlign == taVerticalCenter)
    y = box.Top + (box.Height() - blockHeight) / 2;
  for (TRun& run : runs) {
    if (run.Ellipsis)
      for (int k = 0; k < 3; ++k) run.Chars.push_back(dot);
    TTextLine line;
    std::u16string text;
    int pen = 0;
    for (const TChar& c : run.Chars) {
      if (c.Accel && line.AccelX < 0) {
        line.AccelX = pen;
        line.AccelWidth = c.Advance;
      }
      line.Glyphs.push_back({c.Glyph, pen});
      AppendUtf16(text, c.Code);
      pen += c.Advance;
    }
    line.Text = Utf16ToUtf8(text);
    line.Width = pen;
    line.Y = y;
    line.X = box.Left;
    if (format.Align == taRightJustify)
      line.X = box.Right - pen;
    else if (format.Align == taCenter)
      line.X = box.Left + (width - pen) / 2;
    y += FLineHeight;
    FLines.push_back(std::move(line));
  }
  FBounds = {FLines.front().X, FLines.front().Y, FLines.front().X + FLines.front().Width, y};
  for (const TTextLine& line : FLines) {
    FBounds.Left = std::min(FBounds.Left, line.X);
    FBounds.Right = std::max(FBounds.Right, line.X + line.Width);
  }
}

int TTextLayout::TextWidth(const TFont& font, std::string_view text) {
  const TTextLayout layout(font, text, {0, 0, 1 << 29, 1 << 29});
  return layout.Lines().empty() ? 0 : layout.Lines().front().Width;
}

TSize TTextLayout::TextExtent(const TFont& font, std::string_view text) {
  const TFontFace* face = TFontFace::ForFont(font);
  if (!face) return {};
  return {TextWidth(font, text), face->Metrics(face->EmPixelsForHeight(font.Height)).Height};
}

void TTextLayout::Offset(int dx, int dy) {
  for (TTextLine& line : FLines) {
    line.X += dx;
    line.Y += dy;
  }
  if (!FLines.empty()) FBounds = FBounds.Offset(dx, dy);
}
