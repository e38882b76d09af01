// Form-description text: the tokenizer and parser (values and whole object trees), then the
// formatter that writes them back.
//
// Sections: 1. value constructors and comparison  2. the parser  3. the public parse entries
//           4. the formatter
#include "public/rdcontrol/FormValue.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

#include "platform/TextCodec.h"

// ---------------------------------------------------------------------------------------------
// 1. Value constructors and comparison
// ---------------------------------------------------------------------------------------------

TFormValue TFormValue::Integer(int64_t v) {
  TFormValue r;
  r.Kind = vInteger;
  r.Int = v;
  return r;
}

TFormValue TFormValue::FloatValue(double v, char suffix) {
  TFormValue r;
  r.Kind = vFloat;
  r.Float = v;
  r.FloatSuffix = suffix;
  return r;
}

TFormValue TFormValue::String(std::string v) {
  TFormValue r;
  r.Kind = vString;
  r.Text = std::move(v);
  return r;
}

TFormValue TFormValue::Ident(std::string v) {
  TFormValue r;
  r.Kind = vIdent;
  r.Text = std::move(v);
  return r;
}

TFormValue TFormValue::Set(std::vector<std::string> names) {
  TFormValue r;
  r.Kind = vSet;
  r.Names = std::move(names);
  return r;
}

TFormValue TFormValue::List(std::vector<TFormValue> items) {
  TFormValue r;
  r.Kind = vList;
  r.Items = std::move(items);
  return r;
}

TFormValue TFormValue::Binary(std::string bytes) {
  TFormValue r;
  r.Kind = vBinary;
  r.Text = std::move(bytes);
  return r;
}

bool operator==(const TFormValue& a, const TFormValue& b) {
  if (a.Kind != b.Kind) return false;
  switch (a.Kind) {
    case TFormValue::vNull:
      return true;
    case TFormValue::vInteger:
      return a.Int == b.Int;
    case TFormValue::vFloat:
      return a.Float == b.Float && a.FloatSuffix == b.FloatSuffix;
    case TFormValue::vString:
    case TFormValue::vBinary:
      return a.Text == b.Text;
    case TFormValue::vIdent:
      return SameText(a.Text, b.Text);
    case TFormValue::vSet: {
      if (a.Names.size() != b.Names.size()) return false;
      for (size_t i = 0; i < a.Names.size(); ++i)
        if (!SameText(a.Names[i], b.Names[i])) return false;
      return true;
    }
    case TFormValue::vList:
      return a.Items == b.Items;
    case TFormValue::vCollection:
      return a.Collection == b.Collection;
  }
  return false;
}

bool operator==(const TFormProperty& a, const TFormProperty& b) {
  return SameText(a.Name, b.Name) && a.Value == b.Value;
}

bool operator==(const TFormItem& a, const TFormItem& b) {
  return a.Index == b.Index && a.Properties == b.Properties;
}

bool operator==(const TFormObject& a, const TFormObject& b) {
  return a.Kind == b.Kind && a.Name == b.Name && SameText(a.ClassName, b.ClassName) && a.Order == b.Order &&
         a.Properties == b.Properties && a.Children == b.Children;
}

TFormSyntaxError::TFormSyntaxError(int line, const std::string& message)
    : std::runtime_error(fmt::format("line {}: {}", line, message)), FLine(line) {}

// ---------------------------------------------------------------------------------------------
// 2. The parser
// ---------------------------------------------------------------------------------------------

namespace {

// Nesting deeper than this is refused, so hostile input cannot exhaust the stack.
constexpr int MaxDepth = 64;

bool IsIdentStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsIdentChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c >= 0x80;
}
int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TParser {
 public:
  explicit TParser(std::string_view text) : FText(text) {}

  int Line() const { return FLine; }
  [[noreturn]] void Fail(const std::string& message) const { throw TFormSyntaxError(FLine, message); }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }
  bool AtEnd() {
    SkipBlanks();
    return FPos >= FText.size();
  }
  char Peek() {
    SkipBlanks();
    return FPos < FText.size() ? FText[FPos] : '\0';
  }
  bool Accept(char c) {
    if (Peek() != c) return false;
    ++FPos;
    return true;
  }
  void Expect(char c) {
    if (!Accept(c)) Fail(fmt::format("'{}' expected{}", c, Found()));
  }
  std::string Found() {
    if (AtEnd()) return " but the text ended";
    std::string_view rest = FText.substr(FPos, 20);
    size_t nl = rest.find_first_of("\r\n");
    if (nl != std::string_view::npos) rest = rest.substr(0, nl);
    return fmt::format(" at \"{}\"", rest);
  }

  // An identifier, with dots when dotted is set ("Font.Color", "Form1.Button1").
  bool PeekIdent() {
    SkipBlanks();
    return FPos < FText.size() && IsIdentStart(static_cast<unsigned char>(FText[FPos]));
  }
  std::string Ident(bool dotted) {
    if (!PeekIdent()) Fail("identifier expected" + Found());
    size_t start = FPos;
    for (;;) {
      while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
      if (dotted && FPos + 1 < FText.size() && FText[FPos] == '.' && IsIdentStart(FText[FPos + 1])) {
        ++FPos;
        continue;
      }
      break;
    }
    return std::string(FText.substr(start, FPos - start));
  }
  // The next word without consuming it, for keywords.
  bool PeekWord(std::string_view word) {
    SkipBlanks();
    if (FPos + word.size() > FText.size()) return false;
    if (!SameText(std::string(FText.substr(FPos, word.size())), std::string(word))) return false;
    size_t after = FPos + word.size();
    return after >= FText.size() || !IsIdentChar(FText[after]);
  }
  bool AcceptWord(std::string_view word) {
    if (!PeekWord(word)) return false;
    FPos += word.size();
    return true;
  }

  TFormValue Value(int depth) {
    if (depth > MaxDepth) Fail("values nested too deeply");
    char c = Peek();
    if (c == '\'' || c == '#') return StringExpr();
    if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c)) || c == '$') return Number();
    if (c == '[') return SetValue();
    if (c == '(') return ListValue(depth);
    if (c == '<') return CollectionValue(depth);
    if (c == '{') return BinaryValue();
    if (PeekIdent()) return TFormValue::Ident(Ident(true));
    Fail("value expected" + Found());
  }

  std::vector<TFormProperty> PropertiesUntil(int depth, bool allowObjects,
                                             std::vector<TFormObject>* children) {
    std::vector<TFormProperty> props;
    for (;;) {
      if (AtEnd()) Fail("'end' expected but the text ended");
      if (PeekWord("end")) return props;
      if (allowObjects && (PeekWord("object") || PeekWord("inherited") || PeekWord("inline"))) {
        children->push_back(Object(depth + 1));
        continue;
      }
      TFormProperty p;
      p.Line = FLine;
      p.Name = Ident(true);
      Expect('=');
      p.Value = Value(depth + 1);
      props.push_back(std::move(p));
    }
  }

  TFormObject Object(int depth) {
    if (depth > MaxDepth) Fail("objects nested too deeply");
    TFormObject obj;
    SkipBlanks();
    obj.Line = FLine;
    if (AcceptWord("object"))
      obj.Kind = TFormObject::okObject;
    else if (AcceptWord("inherited"))
      obj.Kind = TFormObject::okInherited;
    else if (AcceptWord("inline"))
      obj.Kind = TFormObject::okInline;
    else
      Fail("'object' expected" + Found());
    std::string first = Ident(false);
    if (Accept(':')) {
      obj.Name = first;
      obj.ClassName = Ident(false);
    } else {
      obj.ClassName = first;
    }
    if (Accept('[')) {
      TFormValue order = Number();
      if (order.Kind != TFormValue::vInteger) Fail("order index must be an integer");
      obj.Order = order.Int;
      Expect(']');
    }
    obj.Properties = PropertiesUntil(depth, true, &obj.Children);
    AcceptWord("end");
    return obj;
  }

 private:
  // Adjacent quoted parts and #codes form one string; "+" joins strings across blanks.
  TFormValue StringExpr() {
    std::u16string text;
    for (;;) {
      StringPiece(text);
      if (Peek() == '+') {
        ++FPos;
        char n = Peek();
        if (n != '\'' && n != '#') Fail("string expected after '+'" + Found());
        continue;
      }
      break;
    }
    return TFormValue::String(Utf16ToUtf8(text));
  }
  void StringPiece(std::u16string& out) {
    SkipBlanks();
    bool any = false;
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\'') {
        ++FPos;
        size_t start = FPos;
        std::string part;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r') Fail("unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              part.append(FText.substr(start, FPos - start + 1));
              FPos += 2;
              start = FPos;
              continue;
            }
            part.append(FText.substr(start, FPos - start));
            ++FPos;
            break;
          }
          ++FPos;
        }
        out += Utf8ToUtf16(part);
        any = true;
      } else if (c == '#') {
        ++FPos;
        uint32_t code = 0;
        bool digits = false;
        if (FPos < FText.size() && FText[FPos] == '$') {
          ++FPos;
          while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) {
            code = code * 16 + HexDigit(FText[FPos++]);
            digits = true;
            if (code > 0x10FFFF) Fail("character code out of range");
          }
        } else {
          while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) {
            code = code * 10 + (FText[FPos++] - '0');
            digits = true;
            if (code > 0x10FFFF) Fail("character code out of range");
          }
        }
        if (!digits) Fail("character code expected after '#'");
        if (code <= 0xFFFF) {
          out += char16_t(code);
        } else {
          code -= 0x10000;
          out += char16_t(0xD800 + (code >> 10));
          out += char16_t(0xDC00 + (code & 0x3FF));
        }
        any = true;
      } else {
        break;
      }
    }
    if (!any) Fail("string expected" + Found());
  }

  TFormValue Number() {
    SkipBlanks();
    size_t start = FPos;
    bool negative = false;
    if (FText[FPos] == '-' || FText[FPos] == '+') {
      negative = FText[FPos] == '-';
      ++FPos;
      SkipBlanks();
    }
    if (FPos < FText.size() && FText[FPos] == '$') {
      ++FPos;
      uint64_t v = 0;
      size_t digits = 0;
      while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) {
        if (++digits > 16) Fail("hexadecimal number too long");
        v = v * 16 + HexDigit(FText[FPos++]);
      }
      if (digits == 0) Fail("hexadecimal digits expected");
      // $FFFFFFFF and the like are bit patterns: taken as the 64-bit value they spell.
      int64_t n = int64_t(v);
      return TFormValue::Integer(negative ? int64_t(0 - v) : n);
    }
    size_t numStart = FPos;
    while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    if (FPos == numStart) Fail("number expected" + Found());
    bool isFloat = false;
    if (FPos + 1 < FText.size() && FText[FPos] == '.' &&
        std::isdigit(static_cast<unsigned char>(FText[FPos + 1]))) {
      isFloat = true;
      ++FPos;
      while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    }
    if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
      size_t save = FPos;
      ++FPos;
      if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
      if (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) {
        isFloat = true;
        while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
      } else {
        FPos = save;
      }
    }
    std::string digits(FText.substr(numStart, FPos - numStart));
    char suffix = 0;
    if (FPos < FText.size()) {
      char s = char(std::tolower(static_cast<unsigned char>(FText[FPos])));
      if ((s == 's' || s == 'c' || s == 'd') && (FPos + 1 >= FText.size() || !IsIdentChar(FText[FPos + 1]))) {
        suffix = s;
        isFloat = true;
        ++FPos;
      }
    }
    if (FPos < FText.size() && IsIdentChar(FText[FPos])) Fail("malformed number" + Found());
    (void)start;
    if (isFloat) {
      double d = std::strtod(digits.c_str(), nullptr);
      return TFormValue::FloatValue(negative ? -d : d, suffix);
    }
    // Up to 2^63 for a negative number, 2^63 - 1 otherwise.
    uint64_t v = 0;
    for (char ch : digits) {
      uint64_t digit = uint64_t(ch - '0');
      if (v > (UINT64_MAX - digit) / 10) Fail("integer out of range");
      v = v * 10 + digit;
    }
    if (negative) {
      if (v > uint64_t(INT64_MAX) + 1) Fail("integer out of range");
      return TFormValue::Integer(v == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -int64_t(v));
    }
    if (v > uint64_t(INT64_MAX)) Fail("integer out of range");
    return TFormValue::Integer(int64_t(v));
  }

  TFormValue SetValue() {
    Expect('[');
    std::vector<std::string> names;
    if (!Accept(']')) {
      for (;;) {
        names.push_back(Ident(false));
        if (Accept(']')) break;
        Expect(',');
      }
    }
    return TFormValue::Set(std::move(names));
  }

  TFormValue ListValue(int depth) {
    Expect('(');
    std::vector<TFormValue> items;
    while (!Accept(')')) {
      if (AtEnd()) Fail("')' expected but the text ended");
      items.push_back(Value(depth + 1));
      Accept(',');
    }
    return TFormValue::List(std::move(items));
  }

  TFormValue CollectionValue(int depth) {
    Expect('<');
    TFormValue v;
    v.Kind = TFormValue::vCollection;
    while (!Accept('>')) {
      if (!AcceptWord("item")) Fail("'item' expected" + Found());
      TFormItem item;
      if (Accept('[')) {
        TFormValue index = Number();
        if (index.Kind != TFormValue::vInteger) Fail("item index must be an integer");
        item.Index = index.Int;
        Expect(']');
      } else if (std::isdigit(static_cast<unsigned char>(Peek()))) {
        TFormValue index = Number();
        if (index.Kind != TFormValue::vInteger) Fail("item index must be an integer");
        item.Index = index.Int;
      }
      item.Properties = PropertiesUntil(depth + 1, false, nullptr);
      AcceptWord("end");
      v.Collection.push_back(std::move(item));
    }
    return v;
  }

  TFormValue BinaryValue() {
    Expect('{');
    std::string bytes;
    int high = -1;
    for (;;) {
      if (FPos >= FText.size()) Fail("'}' expected but the text ended");
      char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      int d = HexDigit(c);
      if (d < 0) Fail("hexadecimal digit expected in binary data");
      if (high < 0) {
        high = d;
      } else {
        bytes.push_back(char(high * 16 + d));
        high = -1;
      }
    }
    if (high >= 0) Fail("binary data has an odd number of digits");
    return TFormValue::Binary(std::move(bytes));
  }

  std::string_view FText;
  size_t FPos{0};
  int FLine{1};
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// 3. Public parse entries
// ---------------------------------------------------------------------------------------------

TFormObject ParseFormText(std::string_view text) {
  // A UTF-8 byte-order mark may precede the text.
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TParser parser(text);
  TFormObject root = parser.Object(0);
  if (!parser.AtEnd()) parser.Fail("text after the final 'end'");
  return root;
}

TFormValue ParseFormValue(std::string_view text) {
  TParser parser(text);
  TFormValue v = parser.Value(0);
  if (!parser.AtEnd()) parser.Fail("text after the value" + parser.Found());
  return v;
}

TFormValue ParseLiteralValue(std::string_view text) {
  std::string trimmed = Trim(std::string(text));
  if (!trimmed.empty() && std::string_view("#'(<[{").find(trimmed[0]) != std::string_view::npos)
    return ParseFormValue(trimmed);
  if (trimmed.empty()) return TFormValue::String("");
  // A number or an identifier when the whole text is one; anything else is text as written.
  try {
    TFormValue v = ParseFormValue(trimmed);
    if (v.Kind == TFormValue::vInteger || v.Kind == TFormValue::vFloat || v.Kind == TFormValue::vIdent)
      return v;
  } catch (const TFormSyntaxError&) {
  }
  return TFormValue::String(std::string(text));
}

// ---------------------------------------------------------------------------------------------
// 4. The formatter
// ---------------------------------------------------------------------------------------------

namespace {

constexpr size_t StringPieceChars = 64;
constexpr size_t BinaryLineBytes = 32;

std::string Spaces(int n) {
  return std::string(size_t(n > 0 ? n : 0), ' ');
}

std::string FormatFloat(double v, char suffix) {
  if (!std::isfinite(v)) v = 0;
  std::string s = fmt::format("{}", v);
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  // The parser wants digits on both sides of the point and a plain exponent.
  if (s.find('e') != std::string::npos && s.find('.') == std::string::npos) {
    size_t e = s.find('e');
    s.insert(e, ".0");
  }
  if (suffix) s += suffix;
  return s;
}

void FormatProperties(const std::vector<TFormProperty>& props, int indent, std::string& out) {
  for (const TFormProperty& p : props) {
    out += Spaces(indent);
    out += p.Name;
    out += " = ";
    out += FormatFormValue(p.Value, indent);
    out += '\n';
  }
}

void FormatObject(const TFormObject& obj, int indent, std::string& out) {
  out += Spaces(indent);
  out += obj.Kind == TFormObject::okInherited ? "inherited "
         : obj.Kind == TFormObject::okInline  ? "inline "
                                              : "object ";
  if (!obj.Name.empty()) {
    out += obj.Name;
    out += ": ";
  }
  out += obj.ClassName;
  if (obj.Order) out += fmt::format(" [{}]", *obj.Order);
  out += '\n';
  FormatProperties(obj.Properties, indent + 2, out);
  for (const TFormObject& child : obj.Children) FormatObject(child, indent + 2, out);
  out += Spaces(indent);
  out += "end\n";
}

}  // namespace

std::string QuoteFormString(std::string_view utf8) {
  std::u16string units = Utf8ToUtf16(std::string(utf8));
  if (units.empty()) return "''";
  std::string out;
  bool inQuote = false;
  for (char16_t u : units) {
    if (u >= 0x20 && u < 0x7F) {
      if (!inQuote) {
        out += '\'';
        inQuote = true;
      }
      if (u == '\'') out += '\'';
      out += char(u);
    } else {
      if (inQuote) {
        out += '\'';
        inQuote = false;
      }
      out += fmt::format("#{}", unsigned(u));
    }
  }
  if (inQuote) out += '\'';
  return out;
}

std::string FormatFormValue(const TFormValue& value, int indent) {
  switch (value.Kind) {
    case TFormValue::vNull:
      return "nil";
    case TFormValue::vInteger:
      return fmt::format("{}", value.Int);
    case TFormValue::vFloat:
      return FormatFloat(value.Float, value.FloatSuffix);
    case TFormValue::vIdent:
      return value.Text;
    case TFormValue::vString: {
      // Pieces of at most 64 characters (UTF-16 units), each a literal of its own.
      std::u16string units = Utf8ToUtf16(value.Text);
      if (units.size() <= StringPieceChars) return QuoteFormString(value.Text);
      std::string out;
      size_t i = 0;
      while (i < units.size()) {
        size_t n = std::min(StringPieceChars, units.size() - i);
        // Never split a surrogate pair between two pieces.
        if (i + n < units.size() && units[i + n - 1] >= 0xD800 && units[i + n - 1] < 0xDC00) --n;
        if (i > 0) out += " +\n" + Spaces(indent + 2);
        out += QuoteFormString(Utf16ToUtf8(units.substr(i, n)));
        i += n;
      }
      return out;
    }
    case TFormValue::vSet: {
      std::string out = "[";
      for (size_t i = 0; i < value.Names.size(); ++i) {
        if (i) out += ", ";
        out += value.Names[i];
      }
      return out + "]";
    }
    case TFormValue::vList: {
      if (value.Items.empty()) return "()";
      std::string out = "(";
      for (const TFormValue& item : value.Items) {
        out += "\n" + Spaces(indent + 2);
        out += FormatFormValue(item, indent + 2);
      }
      return out + ")";
    }
    case TFormValue::vCollection: {
      if (value.Collection.empty()) return "<>";
      std::string out = "<";
      for (const TFormItem& item : value.Collection) {
        out += "\n" + Spaces(indent + 2) + "item";
        if (item.Index) out += fmt::format(" [{}]", *item.Index);
        out += '\n';
        FormatProperties(item.Properties, indent + 4, out);
        out += Spaces(indent + 2) + "end";
      }
      return out + ">";
    }
    case TFormValue::vBinary: {
      std::string out = "{";
      for (size_t i = 0; i < value.Text.size(); ++i) {
        if (i % BinaryLineBytes == 0) out += "\n" + Spaces(indent + 2);
        out += fmt::format("{:02X}", static_cast<unsigned char>(value.Text[i]));
      }
      return out + "}";
    }
  }
  return "nil";
}

std::string FormatFormText(const TFormObject& root) {
  std::string out;
  FormatObject(root, 0, out);
  return out;
}
