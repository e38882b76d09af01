#include <gtest/gtest.h>

#include <cstdlib>

#include "public/rdcontrol/Painter.h"

namespace {

constexpr TPixel Opaque(TColor c) {
  return (c & 0xFFFFFF) | 0xFF000000;
}

// Channels may differ by one from the exact value through rounding.
::testing::AssertionResult Near(TPixel actual, TPixel expected, int tolerance = 1) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "pixel 0x" << actual << ", expected 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

TEST(PainterTest, SourceOverOnPremultipliedPixels) {
  struct TCase {
    const char* Name;
    TPixel Dest;
    TColor Color;
    uint8_t Alpha;
    TPixel Expected;
  };
  const TCase cases[] = {
      {"opaque over anything", Opaque(clBlue), clRed, 255, Opaque(clRed)},
      {"half over transparent stays premultiplied", 0, clWhite, 128, MakePixel(128, 128, 128, 128)},
      {"half red over opaque blue", Opaque(clBlue), clRed, 128, MakePixel(128, 0, 127, 255)},
      {"half over half", MakePixel(0, 0, 128, 128), clRed, 128, MakePixel(128, 0, 64, 192)},
      {"zero alpha draws nothing", Opaque(clGreen), clRed, 0, Opaque(clGreen)},
  };
  for (const TCase& c : cases) {
    TBitmap b(1, 1, c.Dest);
    TPainter(b).FillRect({0, 0, 1, 1}, c.Color, c.Alpha);
    EXPECT_TRUE(Near(b.Pixel(0, 0), c.Expected)) << c.Name;
    EXPECT_LE(PixelR(b.Pixel(0, 0)), PixelA(b.Pixel(0, 0))) << c.Name;
  }
}

TEST(PainterTest, SpecialColoursResolveOrDrawNothing) {
  TBitmap b(3, 1, Opaque(clGreen));
  TPainter p(b);
  p.FillRect({0, 0, 1, 1}, clNone);
  p.FillRect({1, 0, 2, 1}, clDefault);
  p.FillRect({2, 0, 3, 1}, clBtnFace);
  EXPECT_EQ(b.Pixel(0, 0), Opaque(clGreen));
  EXPECT_EQ(b.Pixel(1, 0), Opaque(clGreen));
  EXPECT_EQ(b.Pixel(2, 0), Opaque(RGB(240, 240, 240)));
}

TEST(ColorsTest, IdsSystemColoursAndIdentifiers) {
  // CRC-32 of the UTF-16LE bytes of the name with A-Z folded; other letters are kept.
  EXPECT_EQ(ColorIdOfName("Main.Text"), 0xFFD51DFEu);
  EXPECT_EQ(ColorIdOfName("main.text"), 0xFFD51DFEu);
  EXPECT_EQ(ColorIdOfName("\xC3\x84"
                          "B"),
            0xFFA0AF68u);  // "\u00C4B": the umlaut stays upper case
  EXPECT_TRUE(IsColorId(ColorIdOfName("x")));
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsColorId(clBtnFace));
  EXPECT_FALSE(IsColorId(clDefault));

  EXPECT_EQ(ColorToRGB(0x00123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  const TColor id = ColorIdOfName("Main.Text");
  EXPECT_EQ(ColorToRGB(id), clUnresolvedColor);
  SetColorIdResolver([id](TColor c, TColor& rgb) {
    rgb = 0x00ABCDEF;
    return c == id;
  });
  EXPECT_EQ(ColorToRGB(id), 0xABCDEFu);
  EXPECT_EQ(ColorToRGB(ColorIdOfName("other")), clUnresolvedColor);
  SetColorIdResolver(nullptr);

  TColor c = 0;
  EXPECT_TRUE(IdentToColor("CLBTNFACE", c));
  EXPECT_EQ(c, clBtnFace);
  EXPECT_FALSE(IdentToColor("clNoSuch", c));
  std::string name;
  EXPECT_TRUE(ColorToIdent(clNone, name));
  EXPECT_EQ(name, "clNone");
  EXPECT_FALSE(ColorToIdent(0x123456, name));
  int count = 0;
  ForEachColorIdent([&](const char*, TColor) { ++count; });
  EXPECT_EQ(count, 52);
}

TEST(PainterTest, ClipOriginAndSaveRestore) {
  TBitmap b(6, 6);
  TPainter p(b);
  p.Save();
  p.Translate(2, 2);
  p.IntersectClip({0, 0, 2, 2});  // device 2..4
  p.FillRect({-10, -10, 10, 10}, clRed);
  EXPECT_EQ(p.ClipRect(), (TRect{0, 0, 2, 2}));
  p.Restore();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(b.Pixel(x, y), (x >= 2 && x < 4 && y >= 2 && y < 4) ? Opaque(clRed) : 0u) << x << "," << y;
  // After Restore the whole bitmap is reachable again, and nothing beyond it is touched.
  p.FillRect({5, 5, 100, 100}, clBlue);
  EXPECT_EQ(b.Pixel(5, 5), Opaque(clBlue));
  p.SetClip({-5, -5, 100, 100});
  EXPECT_EQ(p.ClipRect(), b.Bounds());
}

TEST(PainterTest, ClearReplacesInsteadOfBlending) {
  TBitmap b(2, 1, Opaque(clWhite));
  TPainter(b).Clear({0, 0, 1, 1}, MakePixel(10, 0, 0, 20));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(10, 0, 0, 20));
  EXPECT_EQ(b.Pixel(1, 0), Opaque(clWhite));
}

TEST(PainterTest, GradientEndsCarryTheEndColours) {
  TBitmap h(5, 2), v(1, 4);
  TPainter(h).FillGradient(h.Bounds(), RGB(0, 0, 0), RGB(200, 100, 40), TGradientDirection::Horizontal);
  TPainter(v).FillGradient(v.Bounds(), clWhite, clBlack, TGradientDirection::Vertical);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(h.Pixel(0, y), Opaque(RGB(0, 0, 0)));
    EXPECT_EQ(h.Pixel(2, y), Opaque(RGB(100, 50, 20)));
    EXPECT_EQ(h.Pixel(4, y), Opaque(RGB(200, 100, 40)));
  }
  EXPECT_EQ(v.Pixel(0, 0), Opaque(clWhite));
  EXPECT_EQ(v.Pixel(0, 1), Opaque(RGB(170, 170, 170)));
  EXPECT_EQ(v.Pixel(0, 3), Opaque(clBlack));
}

TEST(PainterTest, LinesIncludeBothEnds) {
  TBitmap b(6, 6);
  TPainter p(b);
  p.DrawLine({1, 1}, {4, 1}, clRed);
  EXPECT_EQ(b.Pixel(0, 1), 0u);
  EXPECT_EQ(b.Pixel(1, 1), Opaque(clRed));
  EXPECT_EQ(b.Pixel(4, 1), Opaque(clRed));
  EXPECT_EQ(b.Pixel(5, 1), 0u);
  EXPECT_EQ(b.Pixel(2, 0), 0u);
  TBitmap d(6, 6);
  TPainter(d).DrawLine({0, 0}, {5, 5}, clWhite);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelA(d.Pixel(i, i)), 255) << i;
  EXPECT_EQ(d.Pixel(5, 0), 0u);
  EXPECT_EQ(d.Pixel(0, 5), 0u);
}

TEST(PainterTest, RoundedRectanglesHaveSoftCornersAndKeepTheirInside) {
  TBitmap b(20, 20);
  TPainter p(b);
  p.FillRoundRect(b.Bounds(), 6, clWhite);
  EXPECT_EQ(b.Pixel(0, 0), 0u);
  EXPECT_EQ(b.Pixel(19, 19), 0u);
  EXPECT_EQ(b.Pixel(10, 0), Opaque(clWhite));
  EXPECT_EQ(b.Pixel(0, 10), Opaque(clWhite));
  EXPECT_EQ(b.Pixel(10, 10), Opaque(clWhite));
  int partial = 0;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const uint8_t a = PixelA(b.Pixel(x, y));
      partial += a > 0 && a < 255;
      EXPECT_EQ(PixelR(b.Pixel(x, y)), a);  // premultiplied white
    }
  EXPECT_GT(partial, 2);

  TBitmap o(20, 20);
  TPainter(o).DrawRoundRect(o.Bounds(), 6, clRed, 2);
  EXPECT_EQ(o.Pixel(10, 0), Opaque(clRed));
  EXPECT_EQ(o.Pixel(10, 1), Opaque(clRed));
  EXPECT_EQ(o.Pixel(10, 2), 0u);
  EXPECT_EQ(o.Pixel(10, 10), 0u);
  EXPECT_EQ(o.Pixel(0, 0), 0u);
}

// A 2 x 2 picture: red, green / blue, white (opaque).
TBitmap Quad() {
  const TColor colors[] = {clRed, clLime, clBlue, clWhite};
  return TBitmap::FromColors(colors, 2, 2);
}

TEST(PainterTest, BitmapCopiesScalesAndFades) {
  const TBitmap q = Quad();
  TBitmap copy(2, 2);
  TPainter(copy).DrawBitmap(q, {0, 0});
  EXPECT_EQ(copy, q);

  TBitmap big(4, 4);
  TPainter(big).DrawBitmap(q, q.Bounds(), big.Bounds());
  EXPECT_EQ(big.Pixel(1, 1), Opaque(clRed));
  EXPECT_EQ(big.Pixel(2, 1), Opaque(clLime));
  EXPECT_EQ(big.Pixel(1, 2), Opaque(clBlue));
  EXPECT_EQ(big.Pixel(3, 3), Opaque(clWhite));

  TImageDrawOptions bilinear;
  bilinear.Filter = TResampleFilter::Bilinear;
  TBitmap wide(4, 1);
  const TColor ramp[] = {clBlack, clWhite};
  TPainter(wide).DrawBitmap(TBitmap::FromColors(ramp, 2, 1), {0, 0, 2, 1}, wide.Bounds(), bilinear);
  EXPECT_EQ(wide.Pixel(0, 0), Opaque(clBlack));  // edges repeat the border pixel
  EXPECT_TRUE(Near(wide.Pixel(1, 0), Opaque(RGB(64, 64, 64))));
  EXPECT_TRUE(Near(wide.Pixel(2, 0), Opaque(RGB(191, 191, 191))));
  EXPECT_EQ(wide.Pixel(3, 0), Opaque(clWhite));

  TImageDrawOptions smooth;
  smooth.Filter = TResampleFilter::Smooth;
  TBitmap one(1, 1);
  TPainter(one).DrawBitmap(q, q.Bounds(), one.Bounds(), smooth);
  EXPECT_TRUE(Near(one.Pixel(0, 0), Opaque(RGB(128, 128, 128))));

  TImageDrawOptions faded;
  faded.Opacity = 128;
  TBitmap f(2, 2);
  TPainter(f).DrawBitmap(q, q.Bounds(), f.Bounds(), faded);
  EXPECT_EQ(f.Pixel(0, 0), MakePixel(128, 0, 0, 128));

  TImageDrawOptions gray;
  gray.Gray = true;
  TBitmap g(2, 2);
  TPainter(g).DrawBitmap(q, q.Bounds(), g.Bounds(), gray);
  EXPECT_EQ(g.Pixel(1, 1), Opaque(clWhite));
  EXPECT_EQ(PixelR(g.Pixel(0, 0)), PixelB(g.Pixel(0, 0)));
}

// The nine-grid fixture: a 6 x 6 picture cut by margins of 2 into nine 2 x 2 pieces, each of
// its own colour, so that every target pixel tells which piece it came from.
const TColor PieceColor[3][3] = {
    {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0)},
    {RGB(0, 40, 0), RGB(0, 50, 0), RGB(0, 60, 0)},
    {RGB(0, 0, 70), RGB(0, 0, 80), RGB(0, 0, 90)},
};

TBitmap NineFixture() {
  TColor colors[36];
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) colors[y * 6 + x] = PieceColor[y / 2][x / 2];
  return TBitmap::FromColors(colors, 6, 6);
}

// Which piece a coordinate of a target span of length n falls into, with margins of 2.
int Piece(int i, int n) {
  return i < 2 ? 0 : i >= n - 2 ? 2 : 1;
}

TEST(PainterTest, NineGridPutsEveryPieceInItsPlace) {
  const TBitmap picture = NineFixture();
  for (TResampleFilter filter :
       {TResampleFilter::Nearest, TResampleFilter::Bilinear, TResampleFilter::Smooth}) {
    for (TSuperStretchMode mode : {sdmDefault, sdmStretch}) {
      TBitmap target(12, 9);
      TImageDrawOptions options;
      options.Filter = filter;
      TPainter(target).DrawNineGrid(picture, target.Bounds(), {2, 2, 2, 2, mode}, options);
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
          ASSERT_EQ(target.Pixel(x, y), Opaque(PieceColor[Piece(y, 9)][Piece(x, 12)]))
              << "filter " << int(filter) << " mode " << mode << " at " << x << "," << y;
    }
  }
}

TEST(PainterTest, NineGridFrameLeavesTheCentreUndrawn) {
  TBitmap target(10, 10);
  TPainter(target).DrawNineGrid(NineFixture(), target.Bounds(), {2, 2, 2, 2, sdmFrame});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const int row = Piece(y, 10), col = Piece(x, 10);
      EXPECT_EQ(target.Pixel(x, y), row == 1 && col == 1 ? 0u : Opaque(PieceColor[row][col]))
          << x << "," << y;
    }
}

TEST(PainterTest, NineGridFillTilesLongPiecesAndStretchesShortOnes) {
  // 8 x 5 picture: margins 2 left and right leave a 4-pixel centre with four distinct columns;
  // margins 2 top and bottom leave a 1-pixel middle row, which is too short to tile.
  TColor colors[40];
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) colors[y * 8 + x] = RGB(uint8_t(x * 10), uint8_t(y * 10), 0);
  const TBitmap picture = TBitmap::FromColors(colors, 8, 5);
  TBitmap target(14, 7);
  TPainter(target).DrawNineGrid(picture, target.Bounds(), {2, 2, 2, 2, sdmFill});
  for (int y = 0; y < 7; ++y) {
    const int sy = y < 2 ? y : y >= 5 ? y - 2 : 2;  // middle row stretched over rows 2..4
    for (int x = 0; x < 14; ++x) {
      const int sx = x < 2 ? x : x >= 12 ? x - 6 : 2 + (x - 2) % 4;  // centre columns repeat
      EXPECT_EQ(target.Pixel(x, y), picture.Pixel(sx, sy)) << x << "," << y;
    }
  }
}

TEST(PainterTest, NineGridKeepsCapsAndDoesNotSliceAnExactDirection) {
  // As a 63,16,63,16 button face: wider target, same height.
  TColor colors[20 * 8];
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 20; ++x) colors[y * 20 + x] = RGB(uint8_t(x * 12), uint8_t(y * 30), 7);
  const TBitmap picture = TBitmap::FromColors(colors, 20, 8);
  TBitmap target(40, 8);
  TPainter(target).DrawNineGrid(picture, target.Bounds(), {6, 3, 6, 3, sdmDefault});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(target.Pixel(x, y), picture.Pixel(x, y));
      EXPECT_EQ(target.Pixel(34 + x, y), picture.Pixel(14 + x, y));
    }
    // Every row comes from the same source row: the height is not sliced or scaled.
    EXPECT_EQ(PixelG(target.Pixel(20, y)), y * 30);
  }
}

TEST(PainterTest, NineGridSpecialCases) {
  const TBitmap picture = NineFixture();
  // No margins: the whole picture stretched.
  TBitmap whole(12, 12), reference(12, 12);
  TPainter(whole).DrawNineGrid(picture, whole.Bounds(), {});
  TPainter(reference).DrawBitmap(picture, picture.Bounds(), reference.Bounds());
  EXPECT_EQ(whole, reference);
  // An empty picture draws nothing.
  TBitmap untouched(4, 4, Opaque(clGreen));
  TPainter(untouched).DrawNineGrid(TBitmap(), untouched.Bounds(), {2, 2, 2, 2});
  EXPECT_EQ(untouched, TBitmap(4, 4, Opaque(clGreen)));
  // A target smaller than the margins: the corners shrink, nothing lands outside the target.
  TBitmap small(8, 8);
  TPainter(small).DrawNineGrid(picture, {2, 2, 5, 5}, {2, 2, 2, 2});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(small.Pixel(x, y) != 0, x >= 2 && x < 5 && y >= 2 && y < 5);
  EXPECT_EQ(small.Pixel(2, 2), Opaque(PieceColor[0][0]));
  EXPECT_EQ(small.Pixel(4, 4), Opaque(PieceColor[2][2]));
  // Opacity multiplies every piece.
  TBitmap faded(10, 10);
  TImageDrawOptions half;
  half.Opacity = 128;
  TPainter(faded).DrawNineGrid(picture, faded.Bounds(), {2, 2, 2, 2}, half);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelA(faded.Pixel(x, y)), 128);
}

TEST(PainterTest, StraightAlphaRoundTrip) {
  const uint8_t straight[] = {255, 0, 0, 128, 10, 20, 30, 0, 200, 100, 50, 255};
  const TBitmap b = TBitmap::FromStraightRgba(straight, 3, 1);
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(128, 0, 0, 128));
  EXPECT_EQ(b.Pixel(1, 0), 0u);
  const std::vector<uint8_t> back = b.ToStraightRgba();
  EXPECT_EQ(back[0], 255);
  EXPECT_EQ(back[3], 128);
  EXPECT_EQ(std::vector<uint8_t>(back.begin() + 8, back.end()),
            std::vector<uint8_t>(straight + 8, straight + 12));
  EXPECT_TRUE(TBitmap(TBitmap::MaxSide + 1, 1).Empty());
  EXPECT_TRUE(TBitmap(-1, 5).Empty());
}

}  // namespace
