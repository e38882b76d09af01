#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "public/rdcontrol/Colors.h"
#include "public/rdcontrol/Rect.h"

// A pixel of a TBitmap: 32 bits, premultiplied alpha, stored so that its bytes in memory read
// R, G, B, A. As a number that is 0xAABBGGRR, the colour layout of the library with the alpha
// in the top byte, so an opaque colour c is simply c | 0xFF000000.
using TPixel = uint32_t;

inline constexpr uint8_t PixelR(TPixel p) {
  return uint8_t(p);
}
inline constexpr uint8_t PixelG(TPixel p) {
  return uint8_t(p >> 8);
}
inline constexpr uint8_t PixelB(TPixel p) {
  return uint8_t(p >> 16);
}
inline constexpr uint8_t PixelA(TPixel p) {
  return uint8_t(p >> 24);
}
inline constexpr TPixel MakePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return TPixel(r) | TPixel(g) << 8 | TPixel(b) << 16 | TPixel(a) << 24;
}
// (x * a + 127) / 255 without a division, exact for all byte inputs.
inline constexpr uint8_t MulDiv255(unsigned x, unsigned a) {
  unsigned t = x * a + 128;
  return uint8_t((t + (t >> 8)) >> 8);
}
// The premultiplied pixel of a plain 0x00BBGGRR colour (special colour values must be resolved
// with ColorToRGB first) at the given opacity.
inline constexpr TPixel PremultipliedPixel(TColor rgb, uint8_t alpha) {
  return MakePixel(MulDiv255(GetRValue(rgb), alpha), MulDiv255(GetGValue(rgb), alpha),
                   MulDiv255(GetBValue(rgb), alpha), alpha);
}
// The grey of a premultiplied pixel (Rec. 601 luma, alpha kept); stays premultiplied.
inline constexpr TPixel GrayPixel(TPixel p) {
  const unsigned l = (PixelR(p) * 77u + PixelG(p) * 150u + PixelB(p) * 29u + 128u) >> 8;
  const uint8_t v = uint8_t(l < PixelA(p) ? l : PixelA(p));
  return MakePixel(v, v, v, PixelA(p));
}
// The straight colour (0x00BBGGRR) of a premultiplied pixel; black when fully transparent.
TColor UnpremultipliedColor(TPixel p);

// A 32-bit premultiplied RGBA picture. Rows are stored top down without padding.
class TBitmap {
 public:
  // The largest bitmap the library creates (both sides and the total), so that a hostile
  // picture cannot make a size computation overflow or exhaust memory.
  static constexpr int MaxSide = 16384;
  static constexpr int64_t MaxPixels = int64_t(1) << 26;

  TBitmap() = default;
  // A transparent bitmap; sizes beyond the limits (or negative) give an empty bitmap.
  TBitmap(int width, int height, TPixel fill = 0);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
  // Resizes and clears to transparent. Returns false (and leaves the bitmap empty) when the
  // size is beyond the limits.
  bool SetSize(int width, int height);

  TPixel* Pixels() { return FPixels.data(); }
  const TPixel* Pixels() const { return FPixels.data(); }
  TPixel* Row(int y) { return FPixels.data() + size_t(y) * size_t(FWidth); }
  const TPixel* Row(int y) const { return FPixels.data() + size_t(y) * size_t(FWidth); }
  size_t ByteCount() const { return FPixels.size() * sizeof(TPixel); }

  // Out-of-range reads give a transparent pixel; out-of-range writes are ignored.
  TPixel Pixel(int x, int y) const;
  void SetPixel(int x, int y, TPixel p);
  void Fill(TPixel p);

  // The part inside the bitmap of the given rectangle, as a new bitmap.
  TBitmap Copy(const TRect& part) const;
  // A grey copy (luminance, alpha kept): the look of a disabled picture and of GrayMode.
  TBitmap Grayed() const;

  // Straight-alpha RGBA bytes (R, G, B, A per pixel); stride 0 means width * 4.
  static TBitmap FromStraightRgba(const uint8_t* data, int width, int height, size_t stride = 0);
  std::vector<uint8_t> ToStraightRgba() const;
  // An opaque bitmap from 0x00BBGGRR values, one per pixel, row by row.
  static TBitmap FromColors(const TColor* colors, int width, int height);

  friend bool operator==(const TBitmap& a, const TBitmap& b) {
    return a.FWidth == b.FWidth && a.FHeight == b.FHeight && a.FPixels == b.FPixels;
  }

 private:
  int FWidth{0};
  int FHeight{0};
  std::vector<TPixel> FPixels;
};
