#include "public/rdcontrol/RdFont.h"

#include "public/rdcontrol/PropertyTable.h"

namespace {
const TEnumInfo CharsetNames{"TFontCharset",
                             {{"ANSI_CHARSET", 0},
                              {"DEFAULT_CHARSET", 1},
                              {"SYMBOL_CHARSET", 2},
                              {"MAC_CHARSET", 77},
                              {"SHIFTJIS_CHARSET", 128},
                              {"HANGEUL_CHARSET", 129},
                              {"JOHAB_CHARSET", 130},
                              {"GB2312_CHARSET", 134},
                              {"CHINESEBIG5_CHARSET", 136},
                              {"GREEK_CHARSET", 161},
                              {"TURKISH_CHARSET", 162},
                              {"VIETNAMESE_CHARSET", 163},
                              {"HEBREW_CHARSET", 177},
                              {"ARABIC_CHARSET", 178},
                              {"BALTIC_CHARSET", 186},
                              {"RUSSIAN_CHARSET", 204},
                              {"THAI_CHARSET", 222},
                              {"EASTEUROPE_CHARSET", 238},
                              {"OEM_CHARSET", 255}}};
const TEnumInfo StyleNames{"TFontStyles",
                           {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}, {"fsStrikeOut", 3}}};
const TEnumInfo QualityNames{"TFontQuality",
                             {{"fqDefault", 0},
                              {"fqDraft", 1},
                              {"fqProof", 2},
                              {"fqNonAntialiased", 3},
                              {"fqAntialiased", 4},
                              {"fqClearType", 5},
                              {"fqClearTypeNatural", 6}}};
const TEnumInfo PitchNames{"TFontPitch", {{"fpDefault", 0}, {"fpVariable", 1}, {"fpFixed", 2}}};
}  // namespace

const TClassInfo& TRdFont::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TRdFont>("TRdFont", &TPersistent::StaticClass())
          .Enum("Charset", CharsetNames, &TRdFont::Charset, &TRdFont::SetCharset, 1)
          .Color("Color", &TRdFont::Color, &TRdFont::SetColor, clWindowText)
          .Integer("Height", &TRdFont::Height, &TRdFont::SetHeight, -11)
          .String("Name", &TRdFont::Name, &TRdFont::SetName, "Tahoma")
          .Enum("Pitch", PitchNames, &TRdFont::Pitch, &TRdFont::SetPitch, fpDefault)
          .Enum("Quality", QualityNames, &TRdFont::Quality, &TRdFont::SetQuality, fqDefault)
          .Integer("Size", &TRdFont::Size, &TRdFont::SetSize)
          .NotStored()
          .SetOf("Style", StyleNames, &TRdFont::Style, &TRdFont::SetStyle, 0)
          .Build();
  return info;
}

TRdFont& TRdFont::operator=(const TRdFont& other) {
  if (this == &other) return *this;
  FFont = other.FFont;
  FCharset = other.FCharset;
  FQuality = other.FQuality;
  FPitch = other.FPitch;
  Changed();
  return *this;
}

void TRdFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TRdFont*>(&source))
    *this = *f;
  else
    TPersistent::Assign(source);
}

void TRdFont::SetFont(const TFont& font) {
  if (FFont == font) return;
  FFont = font;
  Changed();
}

void TRdFont::SetName(const std::string& name) {
  if (FFont.Name == name) return;
  FFont.Name = name;
  Changed();
}

void TRdFont::SetHeight(int height) {
  if (FFont.Height == height) return;
  FFont.Height = height;
  Changed();
}

void TRdFont::SetSize(int points) {
  int before = FFont.Height;
  FFont.SetSize(points);
  if (FFont.Height != before) Changed();
}

void TRdFont::SetColor(TColor color) {
  if (FFont.Color == color) return;
  FFont.Color = color;
  Changed();
}

void TRdFont::SetStyle(TFontStyles style) {
  if (FFont.Style == style) return;
  FFont.Style = style;
  Changed();
}

void TRdFont::SetCharset(int charset) {
  if (FCharset == charset) return;
  FCharset = charset;
  Changed();
}

void TRdFont::SetQuality(TFontQuality quality) {
  if (FQuality == quality) return;
  FQuality = quality;
  // Non-antialiased quality renders without anti-aliasing; every other quality smooths.
  FFont.Antialiased = quality != fqNonAntialiased;
  Changed();
}

void TRdFont::SetPitch(TFontPitch pitch) {
  if (FPitch == pitch) return;
  FPitch = pitch;
  Changed();
}

void TRdFont::Changed() {
  if (OnChange) OnChange();
}
