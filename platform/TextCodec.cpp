#include "platform/TextCodec.h"

#include <clocale>
#include <cwctype>

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// Decodes one code point at i (advancing i); invalid input gives U+FFFD.
char32_t NextCodePoint(const std::string& s, size_t& i) {
  const unsigned char b0 = s[i++];
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 && b0 < 0xF5 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : -1;
  if (extra < 0 || b0 >= 0xF5) return 0xFFFD;
  char32_t c = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c <= 0xDFFF))
    return 0xFFFD;
  return c;
}

std::string DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
  std::u16string units;
  units.reserve((bytes.size() - start) / 2);
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    unsigned char a = bytes[i], b = bytes[i + 1];
    units += bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
  }
  return Utf16ToUtf8(units);
}

// Windows-1252 bytes 0x80..0x9F; the rest of the page equals Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool EnsureUtf8Locale() {
  static const bool ok = [] {
    // Case tables only; the program's other locale behaviour stays "C".
    return std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;
  }();
  return ok;
}

template <class Fold>
std::string MapLetters(const std::string& utf8, Fold fold) {
  std::string out;
  out.reserve(utf8.size());
  bool ascii = true;
  for (unsigned char c : utf8)
    if (c >= 0x80) ascii = false;
  if (ascii) {
    for (unsigned char c : utf8) out += char(fold(c));
    return out;
  }
  EnsureUtf8Locale();
  for (size_t i = 0; i < utf8.size();) AppendUtf8(out, char32_t(fold(NextCodePoint(utf8, i))));
  return out;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = NextCodePoint(utf8, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 | (c >> 10));
      out += char16_t(0xDC00 | (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string DecodeText(const std::string& bytes) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return DecodeUtf16(bytes, 2, false);
  if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return DecodeUtf16(bytes, 2, true);
  if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    std::string out;
    const std::string body = bytes.substr(3);
    for (size_t i = 0; i < body.size();) AppendUtf8(out, NextCodePoint(body, i));
    return out;
  }
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80)
      out += char(c);
    else if (c < 0xA0)
      AppendUtf8(out, kCp1252High[c - 0x80]);
    else
      AppendUtf8(out, c);
  }
  return out;
}

std::string EncodeUtf16Le(const std::string& utf8, bool withBom) {
  const std::u16string units = Utf8ToUtf16(utf8);
  std::string out;
  out.reserve(units.size() * 2 + 2);
  if (withBom) out += "\xFF\xFE";
  for (char16_t u : units) {
    out += char(u & 0xFF);
    out += char(u >> 8);
  }
  return out;
}

std::string UpperCase(const std::string& utf8) {
  return MapLetters(utf8, [](char32_t c) -> char32_t {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    return char32_t(std::towupper(wint_t(c)));
  });
}

std::string LowerCase(const std::string& utf8) {
  return MapLetters(utf8, [](char32_t c) -> char32_t {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return char32_t(std::towlower(wint_t(c)));
  });
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() == b.size()) {
    bool same = true;
    for (size_t i = 0; i < a.size() && same; ++i) {
      unsigned char x = a[i], y = b[i];
      if (x >= 0x80 || y >= 0x80) return UpperCase(a) == UpperCase(b);
      same = (x == y) || ((x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' && (x | 0x20) <= 'z');
    }
    return same;
  }
  return UpperCase(a) == UpperCase(b);
}

bool StartsText(const std::string& prefix, const std::string& text) {
  const std::string p = UpperCase(prefix), t = UpperCase(text);
  return t.compare(0, p.size(), p) == 0;
}

bool ContainsText(const std::string& text, const std::string& part) {
  return UpperCase(text).find(UpperCase(part)) != std::string::npos;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

TTextEncoding DetectEncoding(const std::string& bytes, size_t* markLength) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  TTextEncoding encoding = TTextEncoding::Ansi;
  size_t length = 0;
  if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
    encoding = TTextEncoding::Utf16Le, length = 2;
  } else if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
    encoding = TTextEncoding::Utf16Be, length = 2;
  } else if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    encoding = TTextEncoding::Utf8, length = 3;
  }
  if (markLength) *markLength = length;
  return encoding;
}

std::string ByteOrderMark(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8:
      return "\xEF\xBB\xBF";
    case TTextEncoding::Utf16Le:
      return "\xFF\xFE";
    case TTextEncoding::Utf16Be:
      return "\xFE\xFF";
    case TTextEncoding::Ansi:
      break;
  }
  return {};
}

std::string EncodeText(const std::string& utf8, TTextEncoding encoding, bool* exact) {
  if (exact) *exact = true;
  switch (encoding) {
    case TTextEncoding::Utf8:
      return utf8;
    case TTextEncoding::Utf16Le:
      return EncodeUtf16Le(utf8, false);
    case TTextEncoding::Utf16Be: {
      std::string out = EncodeUtf16Le(utf8, false);
      for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
      return out;
    }
    case TTextEncoding::Ansi:
      break;
  }
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, i);
    int byte = -1;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = int(c);
    } else {
      for (int k = 0; k < 32; ++k)
        if (kCp1252High[k] == c && c != 0xFFFD) byte = 0x80 + k;
    }
    if (byte < 0) {
      byte = '?';
      if (exact) *exact = false;
    }
    out += char(byte);
  }
  return out;
}
