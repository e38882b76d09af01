// TPainter. Sections:
//   1. state: origin, clip, save/restore
//   2. compositing primitives (source-over on premultiplied pixels)
//   3. fills, frames, gradients, lines, rounded rectangles
//   4. picture drawing: separable resampling kernels (nearest, bilinear, area average)
//   5. nine-grid drawing
//   6. text
#include "public/rdcontrol/Painter.h"

#include <algorithm>
#include <cmath>

#include "public/rdcontrol/GlyphCache.h"

namespace {

inline TPixel Over(TPixel d, TPixel s) {
  const unsigned sa = PixelA(s);
  if (sa == 255) return s;
  if (sa == 0 && s == 0) return d;
  const unsigned inv = 255 - sa;
  return MakePixel(uint8_t(PixelR(s) + MulDiv255(PixelR(d), inv)),
                   uint8_t(PixelG(s) + MulDiv255(PixelG(d), inv)),
                   uint8_t(PixelB(s) + MulDiv255(PixelB(d), inv)), uint8_t(sa + MulDiv255(PixelA(d), inv)));
}

inline TPixel Scale(TPixel p, unsigned factor) {
  if (factor >= 255) return p;
  return MakePixel(MulDiv255(PixelR(p), factor), MulDiv255(PixelG(p), factor), MulDiv255(PixelB(p), factor),
                   MulDiv255(PixelA(p), factor));
}

// Whether a colour draws at all; clNone and clDefault do not.
inline bool Paints(TColor c) {
  return c != clNone && c != clDefault;
}

inline uint8_t CoverageByte(double c) {
  if (c <= 0) return 0;
  if (c >= 1) return 255;
  return uint8_t(std::lround(c * 255));
}

// Coverage of pixel (x, y) by a rectangle with pixel-aligned straight edges and corners rounded
// by radius: 255 inside, 0 outside, the corner arcs anti-aliased by distance.
uint8_t RoundRectCoverage(int x, int y, const TRect& r, double radius) {
  if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) return 0;
  if (radius <= 0) return 255;
  const double px = x + 0.5, py = y + 0.5;
  double cx, cy;
  if (px < r.Left + radius)
    cx = r.Left + radius;
  else if (px > r.Right - radius)
    cx = r.Right - radius;
  else
    return 255;
  if (py < r.Top + radius)
    cy = r.Top + radius;
  else if (py > r.Bottom - radius)
    cy = r.Bottom - radius;
  else
    return 255;
  const double d = std::hypot(px - cx, py - cy);
  return CoverageByte(radius - d + 0.5);
}

double ClampRadius(const TRect& r, int radius) {
  return std::clamp<double>(radius, 0, std::min(r.Width(), r.Height()) / 2.0);
}

// One axis of a separable resampling kernel: for each destination position, the source taps
// and their weights (summing to 256).
struct TTap {
  int Index;
  int Weight;
};
struct TAxis {
  std::vector<int> First;  // index into Taps of each destination position, plus an end mark
  std::vector<TTap> Taps;
  bool Identity{true};  // every position has one tap of full weight
};

void AddPosition(TAxis& axis, std::vector<TTap>& taps) {
  int sum = 0;
  size_t largest = 0;
  for (size_t i = 0; i < taps.size(); ++i) {
    sum += taps[i].Weight;
    if (taps[i].Weight > taps[largest].Weight) largest = i;
  }
  taps[largest].Weight += 256 - sum;
  axis.First.push_back(int(axis.Taps.size()));
  for (const TTap& t : taps)
    if (t.Weight > 0) axis.Taps.push_back(t);
  if (taps.size() != 1) axis.Identity = false;
  taps.clear();
}

// Kernel for destination positions [from, to) of a dstLen-long target mapped from srcLen
// source pixels starting at srcStart.
TAxis BuildAxis(int srcStart, int srcLen, int dstLen, int from, int to, TResampleFilter filter) {
  TAxis axis;
  std::vector<TTap> taps;
  const int64_t s = srcLen, d = dstLen;
  const bool shrink = srcLen > dstLen;
  for (int i = from; i < to; ++i) {
    if (filter == TResampleFilter::Nearest || srcLen == dstLen) {
      const int64_t k = std::min<int64_t>((2 * int64_t(i) + 1) * s / (2 * d), s - 1);
      taps.push_back({srcStart + int(k), 256});
    } else if (filter == TResampleFilter::Smooth && shrink) {
      // Area average: the source interval [a, b) that the destination pixel covers, in 1/256.
      const int64_t a = int64_t(i) * s * 256 / d, b = (int64_t(i) + 1) * s * 256 / d;
      for (int64_t k = a >> 8; k * 256 < b && k < s; ++k) {
        const int64_t overlap = std::min(b, (k + 1) * 256) - std::max(a, k * 256);
        taps.push_back({srcStart + int(k), int(overlap * 256 / (b - a))});
      }
    } else {
      // Bilinear between the two nearest source centres; edges repeat the border pixels, so a
      // piece of a picture never samples its neighbours.
      int64_t u = (2 * int64_t(i) + 1) * s * 256 / (2 * d) - 128;
      u = std::clamp<int64_t>(u, 0, (s - 1) * 256);
      const int k = int(u >> 8), frac = int(u & 255);
      taps.push_back({srcStart + k, 256 - frac});
      if (frac > 0) taps.push_back({srcStart + k + 1, frac});
    }
    AddPosition(axis, taps);
  }
  axis.First.push_back(int(axis.Taps.size()));
  return axis;
}

}  // namespace

// ---- 1. state -----------------------------------------------------------------------------

TPainter::TPainter(TBitmap& target) : FTarget(&target), FClip(target.Bounds()) {}

TRect TPainter::Device(const TRect& r) const {
  return r.Offset(FOrigin.X, FOrigin.Y).Intersect(FClip);
}

void TPainter::SetClip(const TRect& r) {
  FClip = r.Offset(FOrigin.X, FOrigin.Y).Intersect(FTarget->Bounds());
}

void TPainter::IntersectClip(const TRect& r) {
  FClip = Device(r);
}

void TPainter::Save() {
  FStack.push_back({FOrigin, FClip});
}

void TPainter::Restore() {
  if (FStack.empty()) return;
  FOrigin = FStack.back().Origin;
  FClip = FStack.back().Clip;
  FStack.pop_back();
}

// ---- 2. compositing primitives --------------------------------------------------------------

void TPainter::BlendSpan(int x, int y, int count, TPixel pixel) {
  TPixel* row = FTarget->Row(y) + x;
  if (PixelA(pixel) == 255) {
    std::fill_n(row, count, pixel);
    return;
  }
  for (int i = 0; i < count; ++i) row[i] = Over(row[i], pixel);
}

void TPainter::BlendCoverage(int x, int y, TPixel pixel, unsigned coverage) {
  if (!FClip.Contains({x, y}) || coverage == 0) return;
  TPixel& d = FTarget->Row(y)[x];
  d = Over(d, Scale(pixel, coverage));
}

// ---- 3. fills, frames, gradients, lines, rounded rectangles ----------------------------------

void TPainter::Clear(const TRect& r, TPixel pixel) {
  const TRect d = Device(r);
  for (int y = d.Top; y < d.Bottom; ++y) std::fill_n(FTarget->Row(y) + d.Left, d.Width(), pixel);
}

void TPainter::FillRect(const TRect& r, TColor color, uint8_t alpha) {
  if (!Paints(color) || alpha == 0) return;
  const TPixel pixel = PremultipliedPixel(ColorToRGB(color), alpha);
  const TRect d = Device(r);
  for (int y = d.Top; y < d.Bottom; ++y) BlendSpan(d.Left, y, d.Width(), pixel);
}

void TPainter::FrameRect(const TRect& r, TColor color, int width, uint8_t alpha) {
  if (r.IsEmpty() || width <= 0) return;
  const int wx = std::min(width, (r.Width() + 1) / 2), wy = std::min(width, (r.Height() + 1) / 2);
  FillRect({r.Left, r.Top, r.Right, r.Top + wy}, color, alpha);
  FillRect({r.Left, r.Bottom - wy, r.Right, r.Bottom}, color, alpha);
  FillRect({r.Left, r.Top + wy, r.Left + wx, r.Bottom - wy}, color, alpha);
  FillRect({r.Right - wx, r.Top + wy, r.Right, r.Bottom - wy}, color, alpha);
}

void TPainter::FillGradient(const TRect& r, TColor from, TColor to, TGradientDirection direction,
                            uint8_t alpha) {
  if (r.IsEmpty() || alpha == 0) return;
  const TColor a = ColorToRGB(from), b = ColorToRGB(to);
  const bool horizontal = direction == TGradientDirection::Horizontal;
  const int steps = (horizontal ? r.Width() : r.Height()) - 1;
  auto mix = [steps](int x, int y, int i) {
    return steps == 0 ? x : x + ((y - x) * i * 2 + (y >= x ? steps : -steps)) / (2 * steps);
  };
  const TRect d = Device(r);
  for (int y = d.Top; y < d.Bottom; ++y) {
    for (int x = d.Left; x < d.Right; ++x) {
      const int i = horizontal ? x - FOrigin.X - r.Left : y - FOrigin.Y - r.Top;
      const TColor c =
          RGB(uint8_t(mix(GetRValue(a), GetRValue(b), i)), uint8_t(mix(GetGValue(a), GetGValue(b), i)),
              uint8_t(mix(GetBValue(a), GetBValue(b), i)));
      TPixel& p = FTarget->Row(y)[x];
      p = Over(p, PremultipliedPixel(c, alpha));
    }
  }
}

void TPainter::DrawLine(TPoint a, TPoint b, TColor color, int width, uint8_t alpha) {
  if (!Paints(color) || width <= 0 || alpha == 0) return;
  const int lo = (width - 1) / 2, hi = width - lo;
  if (a.X == b.X || a.Y == b.Y) {
    FillRect(
        {std::min(a.X, b.X) - lo, std::min(a.Y, b.Y) - lo, std::max(a.X, b.X) + hi, std::max(a.Y, b.Y) + hi},
        color, alpha);
    return;
  }
  const TPixel pixel = PremultipliedPixel(ColorToRGB(color), alpha);
  const double ax = a.X + 0.5, ay = a.Y + 0.5, bx = b.X + 0.5, by = b.Y + 0.5;
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy, half = width / 2.0;
  const TRect box = TRect{std::min(a.X, b.X) - hi, std::min(a.Y, b.Y) - hi, std::max(a.X, b.X) + hi + 1,
                          std::max(a.Y, b.Y) + hi + 1};
  const TRect d = Device(box);
  for (int y = d.Top; y < d.Bottom; ++y) {
    for (int x = d.Left; x < d.Right; ++x) {
      const double px = x - FOrigin.X + 0.5, py = y - FOrigin.Y + 0.5;
      const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0);
      const double dist = std::hypot(px - (ax + t * dx), py - (ay + t * dy));
      BlendCoverage(x, y, pixel, CoverageByte(half + 0.5 - dist));
    }
  }
}

void TPainter::FillRoundRect(const TRect& r, int radius, TColor color, uint8_t alpha) {
  if (!Paints(color) || alpha == 0 || r.IsEmpty()) return;
  const TPixel pixel = PremultipliedPixel(ColorToRGB(color), alpha);
  const double rad = ClampRadius(r, radius);
  const TRect d = Device(r);
  for (int y = d.Top; y < d.Bottom; ++y)
    for (int x = d.Left; x < d.Right; ++x)
      BlendCoverage(x, y, pixel, RoundRectCoverage(x - FOrigin.X, y - FOrigin.Y, r, rad));
}

void TPainter::DrawRoundRect(const TRect& r, int radius, TColor color, int width, uint8_t alpha) {
  if (!Paints(color) || alpha == 0 || r.IsEmpty() || width <= 0) return;
  const TPixel pixel = PremultipliedPixel(ColorToRGB(color), alpha);
  const double rad = ClampRadius(r, radius);
  const TRect inner = r.Inflate(-width, -width);
  const double innerRad =
      inner.IsEmpty() ? 0 : ClampRadius(inner, std::max(0, int(std::lround(rad)) - width));
  const TRect d = Device(r);
  for (int y = d.Top; y < d.Bottom; ++y) {
    for (int x = d.Left; x < d.Right; ++x) {
      const int lx = x - FOrigin.X, ly = y - FOrigin.Y;
      const int outer = RoundRectCoverage(lx, ly, r, rad);
      const int in = inner.IsEmpty() ? 0 : RoundRectCoverage(lx, ly, inner, innerRad);
      BlendCoverage(x, y, pixel, unsigned(std::max(0, outer - in)));
    }
  }
}

// ---- 4. picture drawing ----------------------------------------------------------------------

void TPainter::DrawBitmap(const TBitmap& picture, TPoint at, uint8_t opacity) {
  TImageDrawOptions options;
  options.Opacity = opacity;
  DrawBitmap(picture, picture.Bounds(), TRect::FromSize(at.X, at.Y, picture.Width(), picture.Height()),
             options);
}

void TPainter::DrawBitmap(const TBitmap& picture, const TRect& srcRect, const TRect& dst,
                          const TImageDrawOptions& options) {
  const TRect src = srcRect.Intersect(picture.Bounds());
  if (src.IsEmpty() || dst.IsEmpty() || options.Opacity == 0) return;
  const TRect d = Device(dst);
  if (d.IsEmpty()) return;
  const int dx0 = d.Left - FOrigin.X - dst.Left, dy0 = d.Top - FOrigin.Y - dst.Top;
  const TAxis ax = BuildAxis(src.Left, src.Width(), dst.Width(), dx0, dx0 + d.Width(), options.Filter);
  const TAxis ay = BuildAxis(src.Top, src.Height(), dst.Height(), dy0, dy0 + d.Height(), options.Filter);
  const bool direct = ax.Identity && ay.Identity;
  // The general case is separable: each source row that a destination row needs is resampled
  // horizontally once (channels kept in 1/256 units), then the rows are mixed vertically. Rows
  // are needed in increasing order, so those below the current first tap are released.
  const int width = d.Width();
  std::vector<std::vector<uint16_t>> rows(direct ? 0 : size_t(src.Height()));
  auto horizontal = [&](int sy) -> const std::vector<uint16_t>& {
    std::vector<uint16_t>& row = rows[size_t(sy - src.Top)];
    if (!row.empty()) return row;
    row.resize(size_t(width) * 4);
    const TPixel* srow = picture.Row(sy);
    for (int i = 0; i < width; ++i) {
      uint32_t r = 0, g = 0, b = 0, a = 0;
      for (int tx = ax.First[i]; tx < ax.First[i + 1]; ++tx) {
        const TPixel px = srow[ax.Taps[tx].Index];
        const uint32_t w = uint32_t(ax.Taps[tx].Weight);
        r += PixelR(px) * w, g += PixelG(px) * w, b += PixelB(px) * w, a += PixelA(px) * w;
      }
      uint16_t* o = row.data() + size_t(i) * 4;
      o[0] = uint16_t(r), o[1] = uint16_t(g), o[2] = uint16_t(b), o[3] = uint16_t(a);
    }
    return row;
  };
  int released = src.Top;
  std::vector<const uint16_t*> taps;
  std::vector<uint32_t> weights;
  for (int j = 0; j < d.Height(); ++j) {
    TPixel* out = FTarget->Row(d.Top + j) + d.Left;
    if (direct) {
      const TPixel* srow = picture.Row(ay.Taps[j].Index);
      for (int i = 0; i < width; ++i) {
        TPixel s = srow[ax.Taps[i].Index];
        if (options.Gray) s = GrayPixel(s);
        out[i] = Over(out[i], Scale(s, options.Opacity));
      }
      continue;
    }
    const int firstTap = ay.First[j], lastTap = ay.First[j + 1];
    for (; released < ay.Taps[firstTap].Index; ++released)
      std::vector<uint16_t>().swap(rows[size_t(released - src.Top)]);
    taps.clear();
    weights.clear();
    for (int ty = firstTap; ty < lastTap; ++ty) {
      taps.push_back(horizontal(ay.Taps[ty].Index).data());
      weights.push_back(uint32_t(ay.Taps[ty].Weight));
    }
    const int count = int(taps.size());
    uint32_t acc[4];
    for (int i = 0; i < width; ++i) {
      acc[0] = acc[1] = acc[2] = acc[3] = 32768;
      for (int t = 0; t < count; ++t) {
        const uint16_t* h = taps[t] + size_t(i) * 4;
        acc[0] += h[0] * weights[t], acc[1] += h[1] * weights[t], acc[2] += h[2] * weights[t],
            acc[3] += h[3] * weights[t];
      }
      TPixel s = MakePixel(uint8_t(acc[0] >> 16), uint8_t(acc[1] >> 16), uint8_t(acc[2] >> 16),
                           uint8_t(acc[3] >> 16));
      if (options.Gray) s = GrayPixel(s);
      out[i] = Over(out[i], Scale(s, options.Opacity));
    }
  }
}

// ---- 5. nine-grid drawing ----------------------------------------------------------------------

namespace {

// Splits a source span of length s and a target span of length d into three parts by the
// margins a (start) and b (end). Margins are clamped to the source; when the target is shorter
// than both margins together, the two end pieces shrink in proportion and the middle vanishes.
void SplitSpan(int s, int d, int a, int b, int src[4], int dst[4]) {
  a = std::clamp(a, 0, s);
  b = std::clamp(b, 0, s - a);
  src[0] = 0, src[1] = a, src[2] = s - b, src[3] = s;
  int da = a, db = b;
  if (a + b > d) {
    da = a + b == 0 ? 0 : int(int64_t(a) * d / (a + b));
    db = d - da;
  }
  dst[0] = 0, dst[1] = da, dst[2] = d - db, dst[3] = d;
}

}  // namespace

void TPainter::DrawNineGrid(const TBitmap& picture, const TRect& srcRect, const TRect& dst,
                            const TNineGrid& grid, const TImageDrawOptions& options) {
  const TRect src = srcRect.Intersect(picture.Bounds());
  if (src.IsEmpty() || dst.IsEmpty()) return;
  int left = grid.Left, top = grid.Top, right = grid.Right, bottom = grid.Bottom;
  if (left == 0 && top == 0 && right == 0 && bottom == 0 && grid.Mode != sdmFill) {
    DrawBitmap(picture, src, dst, options);
    return;
  }
  if (grid.Mode == sdmDefault || grid.Mode == sdmStretch) {
    if (dst.Width() == src.Width()) left = right = 0;
    if (dst.Height() == src.Height()) top = bottom = 0;
  }
  int sx[4], dx[4], sy[4], dy[4];
  SplitSpan(src.Width(), dst.Width(), left, right, sx, dx);
  SplitSpan(src.Height(), dst.Height(), top, bottom, sy, dy);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      if (grid.Mode == sdmFrame && row == 1 && col == 1) continue;
      const TRect s{src.Left + sx[col], src.Top + sy[row], src.Left + sx[col + 1], src.Top + sy[row + 1]};
      const TRect d{dst.Left + dx[col], dst.Top + dy[row], dst.Left + dx[col + 1], dst.Top + dy[row + 1]};
      if (s.IsEmpty() || d.IsEmpty()) continue;
      // Tiling applies to the stretched direction(s) of edges and centre, for pieces of 4
      // pixels or more; corners and shorter pieces are stretched.
      const bool tileX = grid.Mode == sdmFill && col == 1 && s.Width() >= 4;
      const bool tileY = grid.Mode == sdmFill && row == 1 && s.Height() >= 4;
      if (!tileX && !tileY) {
        DrawBitmap(picture, s, d, options);
        continue;
      }
      Save();
      IntersectClip(d);
      const int stepX = tileX ? s.Width() : d.Width(), stepY = tileY ? s.Height() : d.Height();
      for (int y = d.Top; y < d.Bottom; y += stepY)
        for (int x = d.Left; x < d.Right; x += stepX)
          DrawBitmap(picture, s, TRect::FromSize(x, y, stepX, stepY), options);
      Restore();
    }
  }
}

// ---- 6. text -----------------------------------------------------------------------------------

void TPainter::DrawText(const TTextLayout& layout, TColor color, uint8_t alpha) {
  if (color == clDefault) color = layout.Font().Color;
  if (!Paints(color) || alpha == 0 || !layout.Face()) return;
  const TPixel pixel = PremultipliedPixel(ColorToRGB(color), alpha);
  const TFontMetrics& m = layout.Metrics();
  const TFont& font = layout.Font();
  TGlyphCache& cache = TGlyphCache::Instance();
  for (const TTextLine& line : layout.Lines()) {
    const int baseline = line.Y + m.Ascent;
    for (const TPlacedGlyph& placed : line.Glyphs) {
      const TGlyph& g = cache.Glyph(*layout.Face(), layout.EmPixels(), layout.Synthesized(), font.Antialiased,
                                    placed.Glyph);
      const int gx = FOrigin.X + line.X + placed.X + g.Left, gy = FOrigin.Y + baseline - g.Top;
      const TRect area = TRect::FromSize(gx, gy, g.Width, g.Height).Intersect(FClip);
      for (int y = area.Top; y < area.Bottom; ++y) {
        const uint8_t* cov = g.Coverage.data() + size_t(y - gy) * size_t(g.Width);
        TPixel* row = FTarget->Row(y);
        for (int x = area.Left; x < area.Right; ++x) {
          const unsigned c = cov[x - gx];
          if (c) row[x] = Over(row[x], Scale(pixel, c));
        }
      }
    }
    if (font.Style & fsUnderline)
      FillRect(TRect::FromSize(line.X, baseline + m.UnderlinePosition, line.Width, m.UnderlineThickness),
               color, alpha);
    if (font.Style & fsStrikeOut)
      FillRect(TRect::FromSize(line.X, baseline - m.StrikeoutPosition, line.Width, m.StrikeoutThickness),
               color, alpha);
    if (line.AccelX >= 0 && !(font.Style & fsUnderline))
      FillRect(TRect::FromSize(line.X + line.AccelX, baseline + m.UnderlinePosition, line.AccelWidth,
                               m.UnderlineThickness),
               color, alpha);
  }
}

TTextLayout TPainter::DrawText(const TFont& font, std::string_view text, const TRect& box,
                               const TTextFormat& format) {
  TTextLayout layout(font, text, box, format);
  DrawText(layout);
  return layout;
}
