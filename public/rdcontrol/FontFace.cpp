#include "public/rdcontrol/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "platform/Resources.h"

namespace {

FT_Library Library() {
  // One FreeType instance for the process; faces are only used on the GUI thread.
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

uint32_t NextFaceId() {
  static uint32_t next = 0;
  return ++next;
}

int CeilDiv(int64_t a, int64_t b) {
  return int(a >= 0 ? (a + b - 1) / b : -((-a) / b));
}
int RoundDiv(int64_t a, int64_t b) {
  return int(a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b));
}

// The default height of a font whose Height is 0.
constexpr int DefaultEmPixels = 11;
// The shear of synthesized italic (tan 12 degrees, in 16.16), as FreeType's own oblique.
constexpr FT_Fixed ItalicShear = 0x0366A;

}  // namespace

struct TFontFace::TImpl {
  FT_Face Face{nullptr};
  int UnitsPerEm{2048};
  int Ascender{0};   // font units, positive up
  int Descender{0};  // font units, positive down
  int UnderlinePosition{0};
  int UnderlineThickness{0};
  int StrikeoutPosition{0};
  int StrikeoutThickness{0};
  int CurrentEm{-1};

  ~TImpl() {
    if (Face) FT_Done_Face(Face);
  }
  bool SetEm(int em) {
    if (em == CurrentEm) return true;
    if (FT_Set_Pixel_Sizes(Face, 0, FT_UInt(em)) != 0) return false;
    CurrentEm = em;
    return true;
  }
};

TFontFace::TFontFace() : FImpl(std::make_unique<TImpl>()), FId(NextFaceId()) {}
TFontFace::~TFontFace() = default;

std::unique_ptr<TFontFace> TFontFace::Load(std::string_view bytes, std::string* error) {
  auto fail = [error](const char* message) {
    if (error) *error = message;
    return nullptr;
  };
  if (!Library()) return fail("FreeType could not be initialised");
  if (bytes.empty()) return fail("no font data");
  std::unique_ptr<TFontFace> face(new TFontFace());
  TImpl& impl = *face->FImpl;
  if (FT_New_Memory_Face(Library(), reinterpret_cast<const FT_Byte*>(bytes.data()), FT_Long(bytes.size()), 0,
                         &impl.Face) != 0) {
    impl.Face = nullptr;
    return fail("not a font FreeType can read");
  }
  if (!FT_IS_SCALABLE(impl.Face)) return fail("not a scalable font");
  impl.UnitsPerEm = std::max<int>(1, impl.Face->units_per_EM);
  // The platform's text metrics use the OS/2 "Windows" ascent and descent, which include the
  // room for accents; faces without that table fall back to the horizontal header.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(impl.Face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    impl.Ascender = os2->usWinAscent;
    impl.Descender = os2->usWinDescent;
    impl.StrikeoutPosition = os2->yStrikeoutPosition;
    impl.StrikeoutThickness = os2->yStrikeoutSize;
  } else {
    impl.Ascender = impl.Face->ascender;
    impl.Descender = -impl.Face->descender;
  }
  if (impl.StrikeoutThickness <= 0) {
    impl.StrikeoutPosition = impl.Ascender / 3;
    impl.StrikeoutThickness = impl.UnitsPerEm / 20;
  }
  impl.UnderlinePosition = -impl.Face->underline_position;
  impl.UnderlineThickness = impl.Face->underline_thickness;
  if (impl.UnderlineThickness <= 0) {
    impl.UnderlinePosition = impl.UnitsPerEm / 10;
    impl.UnderlineThickness = impl.UnitsPerEm / 20;
  }
  return face;
}

TFontFace* TFontFace::ForFont(const TFont& font) {
  static std::unique_ptr<TFontFace> roboto = Load(FindResource("Roboto_Regular"));
  return roboto.get();
}

std::string TFontFace::FamilyName() const {
  return FImpl->Face->family_name ? FImpl->Face->family_name : std::string();
}
bool TFontFace::IsBold() const {
  return FImpl->Face->style_flags & FT_STYLE_FLAG_BOLD;
}
bool TFontFace::IsItalic() const {
  return FImpl->Face->style_flags & FT_STYLE_FLAG_ITALIC;
}

TFontStyles TFontFace::SynthesizedStyles(TFontStyles requested) const {
  TFontStyles s = 0;
  if ((requested & fsBold) && !IsBold()) s |= fsBold;
  if ((requested & fsItalic) && !IsItalic()) s |= fsItalic;
  return s;
}

int TFontFace::EmPixelsForHeight(int height) const {
  int em = DefaultEmPixels;
  if (height < 0)
    em = -height;
  else if (height > 0)
    em = RoundDiv(int64_t(height) * FImpl->UnitsPerEm, FImpl->Ascender + FImpl->Descender);
  return std::clamp(em, 1, 1000);
}

TFontMetrics TFontFace::Metrics(int emPixels) const {
  const TImpl& f = *FImpl;
  TFontMetrics m;
  m.EmPixels = emPixels;
  m.Ascent = CeilDiv(int64_t(f.Ascender) * emPixels, f.UnitsPerEm);
  m.Descent = CeilDiv(int64_t(f.Descender) * emPixels, f.UnitsPerEm);
  m.Height = m.Ascent + m.Descent;
  m.UnderlineThickness = std::max(1, RoundDiv(int64_t(f.UnderlineThickness) * emPixels, f.UnitsPerEm));
  m.UnderlinePosition = std::clamp(RoundDiv(int64_t(f.UnderlinePosition) * emPixels, f.UnitsPerEm), 1,
                                   std::max(1, m.Descent - 1));
  m.StrikeoutThickness = std::max(1, RoundDiv(int64_t(f.StrikeoutThickness) * emPixels, f.UnitsPerEm));
  m.StrikeoutPosition = RoundDiv(int64_t(f.StrikeoutPosition) * emPixels, f.UnitsPerEm);
  return m;
}

uint32_t TFontFace::GlyphIndex(char32_t code) const {
  return FT_Get_Char_Index(FImpl->Face, FT_ULong(code));
}

bool TFontFace::RenderGlyph(uint32_t glyph, int emPixels, TFontStyles synthesized, bool antialiased,
                            TGlyph& out) const {
  out = TGlyph();
  TImpl& f = *FImpl;
  if (!f.SetEm(emPixels)) return false;
  // Unhinted outlines at integer advances: positions do not depend on hinting, and the same
  // text measures the same at every place it is drawn.
  if (FT_Load_Glyph(f.Face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
  FT_GlyphSlot slot = f.Face->glyph;
  FT_Pos advance = slot->advance.x;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (synthesized & fsItalic) {
    FT_Matrix shear{0x10000, ItalicShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (synthesized & fsBold) {
    const FT_Pos strength = FT_Pos(emPixels) * 64 / 24;
    FT_Outline_Embolden(&slot->outline, strength);
    advance += strength;
  }
  out.Advance = int((advance + 32) >> 6);
  if (FT_Render_Glyph(slot, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return true;
  const FT_Bitmap& bm = slot->bitmap;
  out.Left = slot->bitmap_left;
  out.Top = slot->bitmap_top;
  out.Width = int(bm.width);
  out.Height = int(bm.rows);
  out.Coverage.assign(size_t(out.Width) * size_t(out.Height), 0);
  for (int y = 0; y < out.Height; ++y) {
    const unsigned char* src = bm.buffer + (bm.pitch >= 0 ? y * bm.pitch : (out.Height - 1 - y) * -bm.pitch);
    uint8_t* dst = out.Coverage.data() + size_t(y) * size_t(out.Width);
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int x = 0; x < out.Width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    } else {
      std::copy_n(src, out.Width, dst);
    }
  }
  return true;
}
