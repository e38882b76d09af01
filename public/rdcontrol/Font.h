#pragma once
#include <cstdint>
#include <string>

#include "public/rdcontrol/Colors.h"

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// The platform's MulDiv: a * b / c rounded half away from zero, -1 when c is 0.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t p = int64_t(a) * b;
  int64_t ap = p < 0 ? -p : p;
  int64_t ac = c < 0 ? -int64_t(c) : int64_t(c);
  int64_t r = (ap + ac / 2) / ac;
  return int((p < 0) != (c < 0) ? -r : r);
}

// The description of a font as window descriptions store it. Height is the primary value, in
// pixels: negative means the character (em) height, positive the cell height (ascent plus
// descent), as the platform defines it. Size is in points at 96 pixels per inch and converts
// the platform's way: Height = -MulDiv(Size, 96, 72), Size = -MulDiv(Height, 72, 96). Every
// name maps to the embedded Roboto face for now; bold and italic are synthesized.
struct TFont {
  static constexpr int PixelsPerInch = 96;

  std::string Name{"Tahoma"};
  int Height{-11};
  TColor Color{clWindowText};
  TFontStyles Style{0};
  // False renders glyphs without anti-aliasing (coverage thresholded at one half).
  bool Antialiased{true};

  int Size() const { return -MulDiv(Height, 72, PixelsPerInch); }
  void SetSize(int points) { Height = -MulDiv(points, PixelsPerInch, 72); }
  bool Bold() const { return Style & fsBold; }
  bool Italic() const { return Style & fsItalic; }

  friend bool operator==(const TFont&, const TFont&) = default;
};
