#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "public/rdcontrol/FontFace.h"

// Rendered glyphs keyed by (face, em size, synthesized style, anti-aliasing, glyph index), shared
// by measuring and drawing so that both see the same advances. The cache is emptied when it
// grows beyond its limit; a reference returned by Glyph stays valid until the next call.
class TGlyphCache {
 public:
  static TGlyphCache& Instance();

  const TGlyph& Glyph(const TFontFace& face, int emPixels, TFontStyles synthesized, bool antialiased,
                      uint32_t glyphIndex);
  size_t Count() const { return FGlyphs.size(); }
  size_t Misses() const { return FMisses; }
  void Clear() { FGlyphs.clear(); }
  void SetLimit(size_t maxGlyphs) { FLimit = maxGlyphs; }

 private:
  struct TKey {
    uint32_t Face;
    int EmPixels;
    uint8_t Flags;
    uint32_t Glyph;
    bool operator==(const TKey&) const = default;
  };
  struct TKeyHash {
    size_t operator()(const TKey& k) const;
  };
  std::unordered_map<TKey, TGlyph, TKeyHash> FGlyphs;
  size_t FLimit{8192};
  size_t FMisses{0};
};
