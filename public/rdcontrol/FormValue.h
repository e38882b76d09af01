#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The values of the platform's text form syntax, as window descriptions, skin sections and the
// skin text writer spell them:
//   integers 12, -3, $FF            floats 1.5, 2.5s, 1.25c, 45000.5d (single, currency, date)
//   strings 'It''s'#13#10'next' + 'more' (UTF-16 code units after #)
//   identifiers True, clWhite, btnCloseClick, Form1.Button1
//   sets [akLeft, akTop]            lists ('a' 'b' 3)
//   collections <item Name = 'x' end item [1] ... end>     binary {0A1B2C}
// One parser reads them (ParseFormValue, and TFormParser for whole descriptions) and one
// formatter writes them (FormatFormValue), so whatever is written reads back the same.
struct TFormProperty;
struct TFormItem;

struct TFormValue {
  enum TKind { vNull, vInteger, vFloat, vString, vIdent, vSet, vList, vCollection, vBinary };

  TKind Kind{vNull};
  int64_t Int{0};
  double Float{0};
  char FloatSuffix{0};                // 0, 's', 'c' or 'd'
  std::string Text;                   // vString (UTF-8), vIdent, vBinary (raw bytes)
  std::vector<std::string> Names;     // vSet
  std::vector<TFormValue> Items;      // vList
  std::vector<TFormItem> Collection;  // vCollection

  static TFormValue Integer(int64_t v);
  static TFormValue FloatValue(double v, char suffix = 0);
  static TFormValue String(std::string v);
  static TFormValue Ident(std::string v);
  static TFormValue Set(std::vector<std::string> names);
  static TFormValue List(std::vector<TFormValue> items);
  static TFormValue Binary(std::string bytes);
  static TFormValue Boolean(bool v);

  bool IsNull() const { return Kind == vNull; }
  friend bool operator==(const TFormValue&, const TFormValue&);
};

// One "Name = value" line; Name may be a dotted path ("Font.Color").
struct TFormProperty {
  std::string Name;
  TFormValue Value;
  int Line{0};
  friend bool operator==(const TFormProperty&, const TFormProperty&);
};

// One "item ... end" block of a collection, with its optional index ("item [2]").
struct TFormItem {
  std::optional<int64_t> Index;
  std::vector<TFormProperty> Properties;
  friend bool operator==(const TFormItem&, const TFormItem&);
};

// Defined here, where TFormItem is complete: returning a TFormValue needs its whole layout.
inline TFormValue TFormValue::Boolean(bool v) {
  return Ident(v ? "True" : "False");
}

// One "object Name: TClass ... end" block.
struct TFormObject {
  enum TKind { okObject, okInherited, okInline };
  TKind Kind{okObject};
  std::string Name;  // may be empty ("object TMenuItem")
  std::string ClassName;
  std::optional<int64_t> Order;  // "object Name: TClass [3]"
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
  int Line{0};
  friend bool operator==(const TFormObject&, const TFormObject&);
};

// A syntax error, with the 1-based line it was found on.
class TFormSyntaxError : public std::runtime_error {
 public:
  TFormSyntaxError(int line, const std::string& message);
  int Line() const { return FLine; }

 private:
  int FLine;
};

// Parses a whole description (one root object). Throws TFormSyntaxError.
TFormObject ParseFormText(std::string_view text);
// Parses one value in form syntax; the whole text must be that value (blanks around it are
// allowed). Throws TFormSyntaxError.
TFormValue ParseFormValue(std::string_view text);
// The value of a skin section line: text that begins with # ' ( < [ { is form syntax, anything
// else is taken literally: an integer or float when it reads as one, an identifier when it is
// one, else a string.
TFormValue ParseLiteralValue(std::string_view text);

// Writes a value in form syntax. Long strings are split into pieces joined by " +" and a line
// break indented by indent + 2 spaces; lists, collections and binary data spread over lines the
// same way.
std::string FormatFormValue(const TFormValue& value, int indent = 0);
// Writes a whole object tree, two spaces of indent per level.
std::string FormatFormText(const TFormObject& root);
// A string literal: printable ASCII in quotes, everything else as #code (UTF-16 code units).
std::string QuoteFormString(std::string_view utf8);
