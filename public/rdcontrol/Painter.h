#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "public/rdcontrol/Bitmap.h"
#include "public/rdcontrol/Colors.h"
#include "public/rdcontrol/Rect.h"
#include "public/rdcontrol/TextLayout.h"

// How a nine-grid picture fills its target (the platform enumeration TSuperStretchMode).
enum TSuperStretchMode { sdmDefault, sdmStretch, sdmFill, sdmFrame };

// Nine-grid margins in pixels of the source picture and the stretch mode.
struct TNineGrid {
  int Left{0};
  int Top{0};
  int Right{0};
  int Bottom{0};
  TSuperStretchMode Mode{sdmDefault};
  bool IsEmpty() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0 && Mode == sdmDefault; }
};

// Resampling when a picture is drawn at another size. Nearest copies source pixels; Bilinear
// interpolates between the four nearest; Smooth averages the covered source area when
// shrinking and interpolates when enlarging (the high-quality filter).
enum class TResampleFilter { Nearest, Bilinear, Smooth };

enum class TGradientDirection { Horizontal, Vertical };

struct TImageDrawOptions {
  uint8_t Opacity{255};  // multiplies every pixel's alpha
  TResampleFilter Filter{TResampleFilter::Nearest};
  bool Gray{false};  // draw a grey copy
};

// Draws onto a TBitmap. Every operation composites source-over on premultiplied pixels, so the
// alpha of the target stays right whatever is drawn; only Clear replaces pixels. Coordinates are
// relative to the origin, and nothing is drawn outside the clip rectangle (which is always inside
// the bitmap). Save/Restore keep origin and clip on a stack, as a control tree paints its children.
// Colours take any TColor: special values are resolved with ColorToRGB, and clNone and
// clDefault draw nothing.
class TPainter {
 public:
  explicit TPainter(TBitmap& target);

  TBitmap& Target() const { return *FTarget; }

  TPoint Origin() const { return FOrigin; }
  void SetOrigin(TPoint origin) { FOrigin = origin; }
  void Translate(int dx, int dy) { FOrigin = {FOrigin.X + dx, FOrigin.Y + dy}; }
  // Clip in the current coordinates. SetClip replaces it (still limited to the bitmap);
  // IntersectClip narrows it.
  TRect ClipRect() const { return FClip.Offset(-FOrigin.X, -FOrigin.Y); }
  void SetClip(const TRect& r);
  void IntersectClip(const TRect& r);
  void Save();
  void Restore();

  // Replaces the pixels of r (within the clip) with a premultiplied pixel: no blending.
  void Clear(const TRect& r, TPixel pixel = 0);
  void FillRect(const TRect& r, TColor color, uint8_t alpha = 255);
  // Outline of width pixels drawn inside r.
  void FrameRect(const TRect& r, TColor color, int width = 1, uint8_t alpha = 255);
  // Horizontal: from at the left column to to at the right column; vertical: top to bottom.
  // The first and last rows or columns carry the end colours exactly.
  void FillGradient(const TRect& r, TColor from, TColor to, TGradientDirection direction,
                    uint8_t alpha = 255);
  // A line between pixel centres of the two points, both included. Horizontal and vertical
  // lines are crisp; other lines are anti-aliased.
  void DrawLine(TPoint a, TPoint b, TColor color, int width = 1, uint8_t alpha = 255);
  // Rounded rectangles with corner radius in pixels and anti-aliased edges; the outline of
  // width pixels lies inside r.
  void FillRoundRect(const TRect& r, int radius, TColor color, uint8_t alpha = 255);
  void DrawRoundRect(const TRect& r, int radius, TColor color, int width = 1, uint8_t alpha = 255);

  // Draws the part src of a picture scaled into dst.
  void DrawBitmap(const TBitmap& picture, const TRect& src, const TRect& dst,
                  const TImageDrawOptions& options = {});
  void DrawBitmap(const TBitmap& picture, TPoint at, uint8_t opacity = 255);
  // Nine-grid drawing of the part src of a picture into dst: corners at natural size, edges and
  // centre stretched (sdmDefault, sdmStretch), tiled (sdmFill, for pieces of 4 pixels or more)
  // or the centre left out (sdmFrame). All margins 0 and a mode other than sdmFill stretch the
  // whole picture; in sdmDefault and sdmStretch a direction in which dst has the picture's
  // size is not sliced.
  void DrawNineGrid(const TBitmap& picture, const TRect& src, const TRect& dst, const TNineGrid& grid,
                    const TImageDrawOptions& options = {});
  void DrawNineGrid(const TBitmap& picture, const TRect& dst, const TNineGrid& grid,
                    const TImageDrawOptions& options = {}) {
    DrawNineGrid(picture, picture.Bounds(), dst, grid, options);
  }

  // Draws a layout's glyphs, with the underline and strike-out of its font, in color (clDefault
  // takes the font's colour).
  void DrawText(const TTextLayout& layout, TColor color = clDefault, uint8_t alpha = 255);
  // Lays out and draws in one step; returns the layout for the caller's bookkeeping.
  TTextLayout DrawText(const TFont& font, std::string_view text, const TRect& box,
                       const TTextFormat& format = {});

 private:
  struct TState {
    TPoint Origin;
    TRect Clip;
  };
  // Target-coordinate rectangle of r clipped.
  TRect Device(const TRect& r) const;
  void BlendSpan(int x, int y, int count, TPixel pixel);
  void BlendCoverage(int x, int y, TPixel pixel, unsigned coverage);

  TBitmap* FTarget;
  TPoint FOrigin;
  TRect FClip;
  std::vector<TState> FStack;
};
