#include "public/rdcontrol/Colors.h"

#include <zlib.h>

#include <iterator>

#include "platform/TextCodec.h"

namespace {

// The platform's default system colours (Windows 10 scheme), by colour index, as 0x00BBGGRR.
constexpr TColor SystemColors[31] = {
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 0, 0),        // background
    RGB(153, 180, 209),  // active caption
    RGB(191, 205, 219),  // inactive caption
    RGB(240, 240, 240),  // menu
    RGB(255, 255, 255),  // window
    RGB(100, 100, 100),  // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(0, 0, 0),        // caption text
    RGB(180, 180, 180),  // active border
    RGB(244, 247, 252),  // inactive border
    RGB(171, 171, 171),  // application work space
    RGB(0, 120, 215),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(240, 240, 240),  // button face
    RGB(160, 160, 160),  // button shadow
    RGB(109, 109, 109),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(0, 0, 0),        // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(105, 105, 105),  // 3D dark shadow
    RGB(227, 227, 227),  // 3D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(0, 0, 0),        // (unused index 25)
    RGB(0, 102, 204),    // hot light
    RGB(185, 209, 234),  // gradient active caption
    RGB(215, 228, 242),  // gradient inactive caption
    RGB(51, 153, 255),   // menu highlight
    RGB(240, 240, 240),  // menu bar
};

struct TIdent {
  const char* Name;
  TColor Value;
};

// The platform's standard colour identifiers, in its table order.
constexpr TIdent Idents[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
};
static_assert(sizeof(Idents) / sizeof(Idents[0]) == 52);

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

TColorIdResolver& Resolver() {
  static TColorIdResolver resolver;
  return resolver;
}

}  // namespace

TColor ColorIdOfName(std::string_view name) {
  std::u16string wide = Utf8ToUtf16(std::string(name));
  std::string bytes;
  bytes.reserve(wide.size() * 2);
  for (char16_t c : wide) {
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    bytes.push_back(char(c & 0xFF));
    bytes.push_back(char(c >> 8));
  }
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
  return clSystemColor | (TColor(crc) & 0xFFFFFF);
}

TColor ColorToRGB(TColor c) {
  if (c < clSystemColor) return c & 0xFFFFFF;
  const TColor low = c & 0xFFFFFF;
  if (low < 256) return low < std::size(SystemColors) ? SystemColors[low] : clBlack;
  TColor rgb = clUnresolvedColor;
  if (Resolver() && Resolver()(c, rgb)) return rgb & 0xFFFFFF;
  return clUnresolvedColor;
}

void SetColorIdResolver(TColorIdResolver resolver) {
  Resolver() = std::move(resolver);
}

bool IdentToColor(std::string_view ident, TColor& color) {
  for (const TIdent& entry : Idents) {
    if (SameAscii(entry.Name, ident)) {
      color = entry.Value;
      return true;
    }
  }
  return false;
}

bool ColorToIdent(TColor color, std::string& ident) {
  for (const TIdent& entry : Idents) {
    if (entry.Value == color) {
      ident = entry.Name;
      return true;
    }
  }
  return false;
}

void ForEachColorIdent(const std::function<void(const char*, TColor)>& visit) {
  for (const TIdent& entry : Idents) visit(entry.Name, entry.Value);
}
