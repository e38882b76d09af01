#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "public/rdcontrol/Font.h"

// Metrics of a face at one em size, in whole pixels (rounded outwards, as the platform's text
// metrics are). Positions are measured from the base line: Ascent up, Descent down.
struct TFontMetrics {
  int EmPixels{0};
  int Ascent{0};
  int Descent{0};
  int Height{0};             // Ascent + Descent: the line height of a text block
  int UnderlinePosition{0};  // below the base line
  int UnderlineThickness{1};
  int StrikeoutPosition{0};  // above the base line
  int StrikeoutThickness{1};
};

// One rendered glyph: an 8-bit coverage mask placed relative to the pen position on the base
// line (left edge at pen + Left, top row at baseline - Top), and the pen advance.
struct TGlyph {
  int Left{0};
  int Top{0};
  int Width{0};
  int Height{0};
  int Advance{0};
  std::vector<uint8_t> Coverage;
};

// A FreeType face loaded from bytes that outlive it (an embedded resource). The face for a font
// description comes from ForFont; bold and italic that the face lacks are synthesized while
// rendering (outline emboldening by em/24 and a 0.2 shear), and the advance of a synthesized
// bold glyph grows by the emboldening strength.
class TFontFace {
 public:
  // Null (and an error text) when the bytes are not a font FreeType can open.
  static std::unique_ptr<TFontFace> Load(std::string_view bytes, std::string* error = nullptr);
  // The process-wide face that draws a font: every name maps to the embedded "Roboto_Regular".
  // Null only when that resource is missing.
  static TFontFace* ForFont(const TFont& font);
  ~TFontFace();

  // Distinguishes faces in the glyph cache.
  uint32_t Id() const { return FId; }
  std::string FamilyName() const;
  bool IsBold() const;
  bool IsItalic() const;
  // The styles to synthesize for a requested style (those of fsBold/fsItalic the face lacks).
  TFontStyles SynthesizedStyles(TFontStyles requested) const;

  // The em size in pixels for a TFont height (negative: em height; positive: cell height).
  int EmPixelsForHeight(int height) const;
  TFontMetrics Metrics(int emPixels) const;
  // 0 for a character the face does not have (it then draws the face's missing-glyph box).
  uint32_t GlyphIndex(char32_t code) const;
  // Renders a glyph; false when FreeType fails (the glyph then draws as nothing).
  bool RenderGlyph(uint32_t glyph, int emPixels, TFontStyles synthesized, bool antialiased,
                   TGlyph& out) const;

 private:
  TFontFace();
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
  uint32_t FId{0};
};
