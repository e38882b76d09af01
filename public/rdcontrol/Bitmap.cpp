#include "public/rdcontrol/Bitmap.h"

#include <algorithm>
#include <bit>

// The byte order of TPixel in memory (R, G, B, A) is that of a little-endian 0xAABBGGRR.
static_assert(std::endian::native == std::endian::little);

namespace {

bool SizeAllowed(int width, int height) {
  return width >= 0 && height >= 0 && width <= TBitmap::MaxSide && height <= TBitmap::MaxSide &&
         int64_t(width) * height <= TBitmap::MaxPixels;
}

}  // namespace

TColor UnpremultipliedColor(TPixel p) {
  const unsigned a = PixelA(p);
  if (a == 0) return 0;
  if (a == 255) return p & 0xFFFFFF;
  auto un = [a](unsigned v) { return uint8_t(std::min(255u, (v * 255 + a / 2) / a)); };
  return RGB(un(PixelR(p)), un(PixelG(p)), un(PixelB(p)));
}

TBitmap::TBitmap(int width, int height, TPixel fill) {
  if (SetSize(width, height) && fill != 0) Fill(fill);
}

bool TBitmap::SetSize(int width, int height) {
  if (!SizeAllowed(width, height)) {
    FWidth = FHeight = 0;
    FPixels.clear();
    return false;
  }
  FWidth = width;
  FHeight = height;
  FPixels.assign(size_t(width) * size_t(height), 0);
  return true;
}

TPixel TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return Row(y)[x];
}

void TBitmap::SetPixel(int x, int y, TPixel p) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  Row(y)[x] = p;
}

void TBitmap::Fill(TPixel p) {
  std::fill(FPixels.begin(), FPixels.end(), p);
}

TBitmap TBitmap::Copy(const TRect& part) const {
  const TRect r = part.Intersect(Bounds());
  TBitmap result(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y) std::copy_n(Row(r.Top + y) + r.Left, r.Width(), result.Row(y));
  return result;
}

TBitmap TBitmap::Grayed() const {
  TBitmap result = *this;
  for (TPixel& p : result.FPixels) p = GrayPixel(p);
  return result;
}

TBitmap TBitmap::FromStraightRgba(const uint8_t* data, int width, int height, size_t stride) {
  TBitmap result;
  if (!data || !result.SetSize(width, height)) return result;
  if (stride == 0) stride = size_t(width) * 4;
  for (int y = 0; y < height; ++y) {
    const uint8_t* s = data + size_t(y) * stride;
    TPixel* d = result.Row(y);
    for (int x = 0; x < width; ++x, s += 4) {
      const uint8_t a = s[3];
      d[x] = MakePixel(MulDiv255(s[0], a), MulDiv255(s[1], a), MulDiv255(s[2], a), a);
    }
  }
  return result;
}

std::vector<uint8_t> TBitmap::ToStraightRgba() const {
  std::vector<uint8_t> out(FPixels.size() * 4);
  uint8_t* d = out.data();
  for (TPixel p : FPixels) {
    const TColor c = UnpremultipliedColor(p);
    *d++ = GetRValue(c);
    *d++ = GetGValue(c);
    *d++ = GetBValue(c);
    *d++ = PixelA(p);
  }
  return out;
}

TBitmap TBitmap::FromColors(const TColor* colors, int width, int height) {
  TBitmap result;
  if (!colors || !result.SetSize(width, height)) return result;
  for (size_t i = 0; i < result.FPixels.size(); ++i) result.FPixels[i] = (colors[i] & 0xFFFFFF) | 0xFF000000;
  return result;
}
