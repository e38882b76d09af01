#include <gtest/gtest.h>

#include "platform/Resources.h"
#include "public/rdcontrol/GlyphCache.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/TextLayout.h"

namespace {

TFont FontOf(int height, TFontStyles style = 0) {
  TFont f;
  f.Height = height;
  f.Style = style;
  return f;
}

TEST(TextLayoutTest, EmbeddedFaceLoadsAndSizesConvertThePlatformWay) {
  const TFontFace* face = TFontFace::ForFont(TFont{});
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->FamilyName(), "Roboto");
  EXPECT_FALSE(face->IsBold());
  std::string error;
  EXPECT_EQ(TFontFace::Load("not a font", &error), nullptr);
  EXPECT_FALSE(error.empty());

  struct TCase {
    int Size;
    int Height;
  };
  for (const TCase& c : {TCase{8, -11}, TCase{9, -12}, TCase{10, -13}, TCase{12, -16}, TCase{18, -24}}) {
    TFont f;
    f.SetSize(c.Size);
    EXPECT_EQ(f.Height, c.Height) << c.Size;
    EXPECT_EQ(f.Size(), c.Size) << c.Height;
  }
  EXPECT_EQ(MulDiv(-13, 72, 96), -10);  // 9.75 rounds away from zero
  EXPECT_EQ(MulDiv(5, 1, 0), -1);
}

// Recorded once for the embedded Roboto Regular; a change means text moves on every window.
TEST(TextLayoutTest, WidthsOfTheEmbeddedFaceAreStable) {
  struct TCase {
    int Height;
    const char* Text;
    int Width;
  };
  const TCase cases[] = {
      {-12, "Install Now", 61},
      {-12, "Customize...", 67},
      {-14, "Quenvo VPN Browser", 134},
      {-16, "Installing: 42%", 103},
      {-12, "", 0},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TTextLayout::TextWidth(FontOf(c.Height), c.Text), c.Width) << c.Height << " " << c.Text;
  const TFontMetrics m = TFontFace::ForFont(TFont{})->Metrics(12);
  EXPECT_EQ(m.Ascent, 13);
  EXPECT_EQ(m.Descent, 4);
  EXPECT_EQ(TTextLayout::TextExtent(FontOf(-12), "x").Height, m.Height);
}

// The width of a text is the sum of the widths of its characters (no kerning, whole pixels).
TEST(TextLayoutTest, WidthIsAdditive) {
  const TFont f = FontOf(-12);
  EXPECT_EQ(TTextLayout::TextWidth(f, "Install Now"), TTextLayout::TextWidth(f, "Install") +
                                                          TTextLayout::TextWidth(f, " ") +
                                                          TTextLayout::TextWidth(f, "Now"));
}

std::vector<std::string> Texts(const TTextLayout& layout) {
  std::vector<std::string> lines;
  for (const TTextLine& line : layout.Lines()) lines.push_back(line.Text);
  return lines;
}

TEST(TextLayoutTest, WordWrapBreaksAtSpacesWithinTheWidth) {
  const TFont f = FontOf(-12);
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const int width = TTextLayout::TextWidth(f, "The quick brown fox") + 2;
  TTextFormat wrap;
  wrap.WordWrap = true;
  const TTextLayout layout(f, text, {0, 0, width, 200}, wrap);
  EXPECT_EQ(Texts(layout), (std::vector<std::string>{"The quick brown fox", "jumps over the lazy", "dog"}));
  for (const TTextLine& line : layout.Lines()) EXPECT_LE(line.Width, width) << line.Text;
  EXPECT_EQ(layout.Lines()[1].Y - layout.Lines()[0].Y, layout.LineHeight());
  EXPECT_EQ(layout.Bounds().Height(), 3 * layout.LineHeight());
  EXPECT_FALSE(layout.Ellipsized());
  EXPECT_FALSE(layout.Overflowed());

  // A word longer than the width stays whole on its own line; line breaks start new lines.
  const TTextLayout longWord(f, "a Supercalifragilistic b\nc", {0, 0, 30, 200}, wrap);
  EXPECT_EQ(Texts(longWord), (std::vector<std::string>{"a", "Supercalifragilistic", "b", "c"}));
  const TTextLayout breaks(f, "one\r\ntwo", {0, 0, 300, 200}, wrap);
  EXPECT_EQ(Texts(breaks), (std::vector<std::string>{"one", "two"}));
  // Without word wrap it is one line, and the line break shows as a space.
  const TTextLayout single(f, "one\r\ntwo", {0, 0, 300, 200});
  EXPECT_EQ(Texts(single), (std::vector<std::string>{"one two"}));
}

TEST(TextLayoutTest, EllipsisCutsWhatDoesNotFit) {
  const TFont f = FontOf(-12);
  TTextFormat ellipsis;
  ellipsis.EndEllipsis = true;
  const int width = TTextLayout::TextWidth(f, "Quenvo VPN");
  const TTextLayout cut(f, "Quenvo VPN Browser", {0, 0, width, 20}, ellipsis);
  ASSERT_EQ(cut.Lines().size(), 1u);
  EXPECT_EQ(cut.Lines()[0].Text, "Quenvo VP...");
  EXPECT_LE(cut.Lines()[0].Width, width);
  EXPECT_TRUE(cut.Ellipsized());
  const TTextLayout fits(f, "Quenvo VPN", {0, 0, width, 20}, ellipsis);
  EXPECT_EQ(fits.Lines()[0].Text, "Quenvo VPN");
  EXPECT_FALSE(fits.Ellipsized());

  // MaxLines 2 on a three-line text: two lines, the second ending with the ellipsis.
  TTextFormat twoLines;
  twoLines.WordWrap = true;
  twoLines.MaxLines = 2;
  const int w = TTextLayout::TextWidth(f, "alpha beta") + 1;
  const TTextLayout limited(f, "alpha beta gamma delta epsilon", {0, 0, w, 200}, twoLines);
  EXPECT_EQ(Texts(limited), (std::vector<std::string>{"alpha beta", "gamma..."}));
  EXPECT_TRUE(limited.Ellipsized());

  // By height: the whole lines that fit (at least one), the last with the ellipsis.
  TTextFormat byHeight;
  byHeight.WordWrap = true;
  byHeight.EllipsisByHeight = true;
  const int lh = TTextLayout::TextExtent(f, "x").Height;
  const TTextLayout tall(f, "alpha beta gamma delta epsilon", {0, 0, w, lh * 2 + lh / 2}, byHeight);
  EXPECT_EQ(tall.Lines().size(), 2u);
  EXPECT_TRUE(tall.Overflowed());
  const TTextLayout low(f, "alpha beta gamma delta epsilon", {0, 0, w, 3}, byHeight);
  EXPECT_EQ(low.Lines().size(), 1u);
  EXPECT_EQ(low.Lines()[0].Text.substr(low.Lines()[0].Text.size() - 3), "...");
}

TEST(TextLayoutTest, AlignmentPlacesLinesAndBlock) {
  const TFont f = FontOf(-12);
  const TRect box{10, 20, 210, 120};
  TTextFormat format;
  format.Align = taRightJustify;
  format.VAlign = taAlignBottom;
  TTextLayout right(f, "Apply", box, format);
  EXPECT_EQ(right.Lines()[0].X + right.Lines()[0].Width, box.Right);
  EXPECT_EQ(right.Bounds().Bottom, box.Bottom);
  format.Align = taCenter;
  format.VAlign = taVerticalCenter;
  TTextLayout centre(f, "Apply", box, format);
  const TRect b = centre.Bounds();
  EXPECT_LE(std::abs((b.Left - box.Left) - (box.Right - b.Right)), 1);
  EXPECT_LE(std::abs((b.Top - box.Top) - (box.Bottom - b.Bottom)), 1);
  centre.Offset(-3, 4);
  EXPECT_EQ(centre.Bounds(), b.Offset(-3, 4));
}

TEST(TextLayoutTest, DrawingStaysInsideTheMeasuredBounds) {
  TFont f = FontOf(-16);
  f.Color = clBlack;
  TBitmap bitmap(200, 40);
  TPainter painter(bitmap);
  const TTextLayout layout = painter.DrawText(f, "Install Now", {5, 5, 195, 35}, {});
  TRect ink;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (PixelA(bitmap.Pixel(x, y))) ink = ink.Union({x, y, x + 1, y + 1});
  ASSERT_FALSE(ink.IsEmpty());
  const TRect bounds = layout.Bounds();
  EXPECT_EQ(bounds.Width(), TTextLayout::TextWidth(f, "Install Now"));
  EXPECT_EQ(bounds.Intersect(ink), ink)
      << "ink " << ink.Left << "," << ink.Top << " " << ink.Right << "," << ink.Bottom;
  EXPECT_GE(ink.Width(), bounds.Width() - 3);  // the ink fills the measured width
  // Underline lies within the line box too and spans the measured width.
  f.Style = fsUnderline;
  TBitmap underlined(200, 40);
  TPainter(underlined).DrawText(f, "Install Now", {5, 5, 195, 35}, {});
  const int y = 5 + layout.Metrics().Ascent + layout.Metrics().UnderlinePosition;
  EXPECT_LT(y, bounds.Bottom);
  EXPECT_EQ(PixelA(underlined.Pixel(bounds.Left, y)), 255);
  EXPECT_EQ(PixelA(underlined.Pixel(bounds.Right - 1, y)), 255);
  EXPECT_EQ(PixelA(underlined.Pixel(bounds.Right, y)), 0);
}

TEST(TextLayoutTest, SynthesizedStylesAndAccelerators) {
  const int regular = TTextLayout::TextWidth(FontOf(-12), "Browser");
  EXPECT_GT(TTextLayout::TextWidth(FontOf(-12, fsBold), "Browser"), regular);
  EXPECT_EQ(TTextLayout::TextWidth(FontOf(-12, fsItalic), "Browser"), regular);
  TBitmap plain(80, 20), italic(80, 20);
  TPainter(plain).DrawText(FontOf(-12), "l", {2, 0, 80, 20});
  TPainter(italic).DrawText(FontOf(-12, fsItalic), "l", {2, 0, 80, 20});
  EXPECT_NE(plain, italic);

  TTextFormat prefix;
  prefix.Prefix = true;
  const TTextLayout accel(FontOf(-12), "Save && &Exit", {0, 0, 300, 20}, prefix);
  EXPECT_EQ(accel.Lines()[0].Text, "Save & Exit");
  EXPECT_EQ(accel.Lines()[0].AccelX, TTextLayout::TextWidth(FontOf(-12), "Save & "));
  EXPECT_EQ(accel.Lines()[0].AccelWidth, TTextLayout::TextWidth(FontOf(-12), "E"));
}

TEST(TextLayoutTest, GlyphsAreRenderedOnceAndInvalidTextIsSafe) {
  const TFont f = FontOf(-13);
  TTextLayout::TextWidth(f, "cache me");
  const size_t misses = TGlyphCache::Instance().Misses();
  TBitmap b(100, 20);
  TPainter(b).DrawText(f, "cache me", b.Bounds());
  EXPECT_EQ(TGlyphCache::Instance().Misses(), misses);
  // Broken UTF-8 lays out as replacement characters instead of reading past the text.
  const TTextLayout broken(f, std::string("a\xC3\xFF\xE2\x82", 5), {0, 0, 100, 20});
  EXPECT_EQ(broken.Lines()[0].Glyphs.size(), 4u);  // "a" and three replacements
}

}  // namespace
