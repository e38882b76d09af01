#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "public/rdcontrol/Font.h"
#include "public/rdcontrol/FontFace.h"
#include "public/rdcontrol/Rect.h"

// The platform's alignment enumerations, shared by the layout and the controls' properties.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

struct TTextFormat {
  TAlignment Align{taLeftJustify};        // lines within the box
  TVerticalAlignment VAlign{taAlignTop};  // the block of lines within the box
  bool WordWrap{false};                   // break lines at spaces within the box width; "\n" breaks too
  bool EndEllipsis{false};                // a line wider than the box ends with "..."
  int MaxLines{0};                        // above 0: at most that many lines, a cut last line ends with "..."
  bool EllipsisByHeight{false};           // wrapped text taller than the box keeps the whole lines that
                                          // fit (at least one), the last ending with "..."
  bool Prefix{false};                     // "&" marks the accelerator character (underlined); "&&" is "&"
  int LineHeight{0};                      // 0: the font's height (ascent + descent)
};

struct TPlacedGlyph {
  uint32_t Glyph{0};
  int X{0};  // pen position relative to the line's left edge
};

struct TTextLine {
  std::string Text;  // what the line shows, ellipsis included
  int X{0};          // left edge and top of the line box, in the layout's coordinates
  int Y{0};
  int Width{0};  // sum of advances
  std::vector<TPlacedGlyph> Glyphs;
  int AccelX{-1};  // the accelerator's underline, -1 when the line has none
  int AccelWidth{0};
};

// Lays a text out in a box: the single source of positions for both measuring and drawing
// (TPainter::DrawText draws exactly the glyphs placed here). All positions are whole pixels:
// each glyph advances by its rounded advance, no kerning, so a width is the sum of the widths
// of its characters. Lines that do not fit the box keep their place (a caller clips); a single
// word longer than the width stays whole on its own line.
class TTextLayout {
 public:
  TTextLayout() = default;
  TTextLayout(const TFont& font, std::string_view text, const TRect& box, const TTextFormat& format = {});

  // The width of a single line of text, and its extent (width and line height).
  static int TextWidth(const TFont& font, std::string_view text);
  static TSize TextExtent(const TFont& font, std::string_view text);

  const TFont& Font() const { return FFont; }
  const std::vector<TTextLine>& Lines() const { return FLines; }
  // The union of the line boxes (empty when there is no text).
  TRect Bounds() const { return FBounds; }
  int LineHeight() const { return FLineHeight; }
  const TFontMetrics& Metrics() const { return FMetrics; }
  // The shown text differs from the given text (an ellipsis or dropped lines).
  bool Ellipsized() const { return FEllipsized; }
  // The text needed more height than the box.
  bool Overflowed() const { return FOverflowed; }
  // Moves every line (a caller's own placement rules, e.g. "never above the top").
  void Offset(int dx, int dy);

  // For the painter: the face, the em size and the styles synthesized while drawing.
  const TFontFace* Face() const { return FFace; }
  int EmPixels() const { return FMetrics.EmPixels; }
  TFontStyles Synthesized() const { return FSynthesized; }

 private:
  TFont FFont;
  const TFontFace* FFace{nullptr};
  TFontMetrics FMetrics;
  TFontStyles FSynthesized{0};
  int FLineHeight{0};
  std::vector<TTextLine> FLines;
  TRect FBounds;
  bool FEllipsized{false};
  bool FOverflowed{false};
};
