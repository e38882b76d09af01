#include "public/rdcontrol/GlyphCache.h"

size_t TGlyphCache::TKeyHash::operator()(const TKey& k) const {
  uint64_t h =
      (uint64_t(k.Face) << 40) ^ (uint64_t(uint32_t(k.EmPixels)) << 24) ^ (uint64_t(k.Flags) << 56) ^ k.Glyph;
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return size_t(h);
}

TGlyphCache& TGlyphCache::Instance() {
  static TGlyphCache cache;
  return cache;
}

const TGlyph& TGlyphCache::Glyph(const TFontFace& face, int emPixels, TFontStyles synthesized,
                                 bool antialiased, uint32_t glyphIndex) {
  const TKey key{face.Id(), emPixels, uint8_t((synthesized & (fsBold | fsItalic)) | (antialiased ? 0x80 : 0)),
                 glyphIndex};
  auto it = FGlyphs.find(key);
  if (it != FGlyphs.end()) return it->second;
  if (FGlyphs.size() >= FLimit) FGlyphs.clear();
  ++FMisses;
  TGlyph glyph;
  face.RenderGlyph(glyphIndex, emPixels, synthesized, antialiased, glyph);
  return FGlyphs.emplace(key, std::move(glyph)).first->second;
}
