#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Colours are 32-bit values in the layout 0x00BBGGRR at every interface of the library. Three
// kinds of special value share the top byte:
//   - clDefault (0x20000000): "not set, use the inherited colour", and clNone (0x1FFFFFFF):
//     "draw nothing";
//   - system colours: top byte 0xFF with the platform's colour index (below 256) in the low bits;
//   - named skin colour ids: top byte 0xFF, low 24 bits = CRC-32 of the colour's name, always
//     256 or more. The skin tables resolve them; until they do, an id paints as 230 (pure red).
using TColor = uint32_t;

inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clSystemColor = 0xFF000000;
// What an unresolved colour id or an unknown name paints as.
inline constexpr TColor clUnresolvedColor = 230;

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                        clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                        clMedGray = 0xA4A0A0;

inline constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                        clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                        clMenu = clSystemColor | 4, clWindow = clSystemColor | 5,
                        clWindowFrame = clSystemColor | 6, clMenuText = clSystemColor | 7,
                        clWindowText = clSystemColor | 8, clCaptionText = clSystemColor | 9,
                        clActiveBorder = clSystemColor | 10, clInactiveBorder = clSystemColor | 11,
                        clAppWorkSpace = clSystemColor | 12, clHighlight = clSystemColor | 13,
                        clHighlightText = clSystemColor | 14, clBtnFace = clSystemColor | 15,
                        clBtnShadow = clSystemColor | 16, clGrayText = clSystemColor | 17,
                        clBtnText = clSystemColor | 18, clInactiveCaptionText = clSystemColor | 19,
                        clBtnHighlight = clSystemColor | 20, cl3DDkShadow = clSystemColor | 21,
                        cl3DLight = clSystemColor | 22, clInfoText = clSystemColor | 23,
                        clInfoBk = clSystemColor | 24, clHotLight = clSystemColor | 26,
                        clGradientActiveCaption = clSystemColor | 27,
                        clGradientInactiveCaption = clSystemColor | 28, clMenuHighlight = clSystemColor | 29,
                        clMenuBar = clSystemColor | 30;

inline constexpr uint8_t GetRValue(TColor c) {
  return uint8_t(c);
}
inline constexpr uint8_t GetGValue(TColor c) {
  return uint8_t(c >> 8);
}
inline constexpr uint8_t GetBValue(TColor c) {
  return uint8_t(c >> 16);
}
inline constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}

inline constexpr bool IsSystemColor(TColor c) {
  return (c >> 24) == 0xFF && (c & 0xFFFFFF) < 256;
}
inline constexpr bool IsColorId(TColor c) {
  return (c >> 24) == 0xFF && (c & 0xFFFFFF) >= 256;
}

// The id of a named skin colour: CRC-32 over the UTF-16LE bytes of the name with A-Z folded to
// lower case, top byte 0xFF.
TColor ColorIdOfName(std::string_view name);

// Turns any colour value into plain 0x00BBGGRR for painting: plain values pass unchanged (their
// top byte is dropped), system colours come from the platform table, colour ids from the
// installed resolver (the skin tables), everything else paints as clUnresolvedColor.
TColor ColorToRGB(TColor c);

// The skin tables install this to resolve colour ids; returning false means "unknown id".
using TColorIdResolver = std::function<bool(TColor id, TColor& rgb)>;
void SetColorIdResolver(TColorIdResolver resolver);

// The platform's 52 standard colour identifiers ("clBlack" ... "clWindowText", "clDefault",
// "clNone"), case-insensitive. IdentToColor returns false for any other text.
bool IdentToColor(std::string_view ident, TColor& color);
// The identifier of a standard colour value; false when the value has none.
bool ColorToIdent(TColor color, std::string& ident);
// Calls visit for every standard identifier in table order.
void ForEachColorIdent(const std::function<void(const char* ident, TColor color)>& visit);
