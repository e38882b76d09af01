#include "public/rdcontrol/PropertyTable.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdlib>

#include "platform/TextCodec.h"

const char* PropTypeName(TPropType type) {
  switch (type) {
    case TPropType::Integer:
      return "integer";
    case TPropType::Float:
      return "float";
    case TPropType::Boolean:
      return "Boolean";
    case TPropType::String:
      return "string";
    case TPropType::Color:
      return "colour";
    case TPropType::Enum:
      return "enumeration";
    case TPropType::Set:
      return "set";
    case TPropType::Object:
      return "object";
    case TPropType::Collection:
      return "collection";
    case TPropType::Component:
      return "component reference";
    case TPropType::Event:
      return "event";
    case TPropType::Binary:
      return "binary data";
    case TPropType::StringList:
      return "string list";
    case TPropType::StringArray:
      return "strings";
  }
  return "?";
}

std::optional<int> TEnumInfo::ValueOf(std::string_view name) const {
  for (const auto& [n, v] : FValues)
    if (SameText(n, std::string(name))) return v;
  return std::nullopt;
}

std::string TEnumInfo::NameOf(int value) const {
  for (const auto& [n, v] : FValues)
    if (v == value) return n;
  return {};
}

namespace PropConvert {
namespace {

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

const char* KindName(const TFormValue& v) {
  switch (v.Kind) {
    case TFormValue::vNull:
      return "nothing";
    case TFormValue::vInteger:
      return "an integer";
    case TFormValue::vFloat:
      return "a float";
    case TFormValue::vString:
      return "a string";
    case TFormValue::vIdent:
      return "an identifier";
    case TFormValue::vSet:
      return "a set";
    case TFormValue::vList:
      return "a list";
    case TFormValue::vCollection:
      return "a collection";
    case TFormValue::vBinary:
      return "binary data";
  }
  return "?";
}

bool ParseIntText(const std::string& text, int64_t& out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  try {
    TFormValue v = ParseFormValue(t);
    if (v.Kind != TFormValue::vInteger) return false;
    out = v.Int;
    return true;
  } catch (const TFormSyntaxError&) {
    return false;
  }
}

}  // namespace

bool FitsInt(int64_t v, int64_t lo, int64_t hi, std::string* error) {
  if (v >= lo && v <= hi) return true;
  return Fail(error, fmt::format("{} is out of range", v));
}

bool ToInt(const TFormValue& v, int64_t& out, std::string* error) {
  if (v.Kind == TFormValue::vInteger) {
    out = v.Int;
    return true;
  }
  if ((v.Kind == TFormValue::vString || v.Kind == TFormValue::vIdent) && ParseIntText(v.Text, out))
    return true;
  return Fail(error, fmt::format("an integer is expected, not {}", KindName(v)));
}

bool ToFloat(const TFormValue& v, double& out, std::string* error) {
  if (v.Kind == TFormValue::vFloat) {
    out = v.Float;
    return true;
  }
  if (v.Kind == TFormValue::vInteger) {
    out = double(v.Int);
    return true;
  }
  if (v.Kind == TFormValue::vString) {
    std::string t = Trim(v.Text);
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(t.c_str(), &end);
    if (!t.empty() && end && *end == '\0' && errno == 0) {
      out = d;
      return true;
    }
  }
  return Fail(error, fmt::format("a number is expected, not {}", KindName(v)));
}

bool ToBool(const TFormValue& v, bool& out, std::string* error) {
  if (v.Kind == TFormValue::vIdent || v.Kind == TFormValue::vString) {
    std::string t = Trim(v.Text);
    if (SameText(t, "True") || t == "1") {
      out = true;
      return true;
    }
    if (SameText(t, "False") || t == "0") {
      out = false;
      return true;
    }
  }
  if (v.Kind == TFormValue::vInteger) {
    out = v.Int != 0;
    return true;
  }
  return Fail(error, "True or False is expected");
}

bool ToString(const TFormValue& v, std::string& out, std::string* error) {
  switch (v.Kind) {
    case TFormValue::vString:
    case TFormValue::vIdent:
      out = v.Text;
      return true;
    case TFormValue::vInteger:
    case TFormValue::vFloat:
      out = FormatFormValue(v);
      return true;
    default:
      return Fail(error, fmt::format("a string is expected, not {}", KindName(v)));
  }
}

bool ToColor(const TFormValue& v, TColor& out, std::string* error) {
  if (v.Kind == TFormValue::vInteger) {
    // Stored colours are 32-bit: signed as the platform writes them, or unsigned.
    if (v.Int < INT32_MIN || v.Int > int64_t(UINT32_MAX)) return Fail(error, "colour value out of range");
    out = TColor(uint32_t(v.Int));
    return true;
  }
  if (v.Kind == TFormValue::vIdent || v.Kind == TFormValue::vString) {
    std::string t = Trim(v.Text);
    int64_t n;
    if (ParseIntText(t, n)) return ToColor(TFormValue::Integer(n), out, error);
    if (t.empty()) return Fail(error, "a colour is expected");
    if (IdentToColor(t, out)) return true;
    // Any other name is a named skin colour, resolved when painting.
    out = ColorIdOfName(t);
    return true;
  }
  return Fail(error, fmt::format("a colour is expected, not {}", KindName(v)));
}

TFormValue FromColor(TColor c) {
  std::string ident;
  if (ColorToIdent(c, ident)) return TFormValue::Ident(ident);
  return TFormValue::Integer(int32_t(c));
}

bool ToEnum(const TFormValue& v, const TEnumInfo& names, int& out, std::string* error) {
  if (v.Kind == TFormValue::vIdent || v.Kind == TFormValue::vString) {
    if (auto value = names.ValueOf(Trim(v.Text))) {
      out = *value;
      return true;
    }
    return Fail(error, fmt::format("\"{}\" is not a value of {}", v.Text, names.TypeName()));
  }
  if (v.Kind == TFormValue::vInteger && !names.NameOf(int(v.Int)).empty() && v.Int >= INT32_MIN &&
      v.Int <= INT32_MAX) {
    out = int(v.Int);
    return true;
  }
  return Fail(error, fmt::format("a value of {} is expected", names.TypeName()));
}

TFormValue FromEnum(const TEnumInfo& names, int value) {
  std::string name = names.NameOf(value);
  return name.empty() ? TFormValue::Integer(value) : TFormValue::Ident(name);
}

bool ToSet(const TFormValue& v, const TEnumInfo& names, uint32_t& out, std::string* error) {
  if (v.Kind == TFormValue::vString) {
    std::string t = Trim(v.Text);
    if (t.empty()) {
      out = 0;
      return true;
    }
    try {
      return ToSet(ParseFormValue(t), names, out, error);
    } catch (const TFormSyntaxError& e) {
      return Fail(error, e.what());
    }
  }
  if (v.Kind == TFormValue::vInteger) {
    if (v.Int < 0 || v.Int > int64_t(UINT32_MAX)) return Fail(error, "set value out of range");
    out = uint32_t(v.Int);
    return true;
  }
  if (v.Kind != TFormValue::vSet)
    return Fail(error, fmt::format("a set of {} is expected", names.TypeName()));
  uint32_t bits = 0;
  for (const std::string& n : v.Names) {
    auto bit = names.ValueOf(n);
    if (!bit || *bit < 0 || *bit > 31)
      return Fail(error, fmt::format("\"{}\" is not an element of {}", n, names.TypeName()));
    bits |= 1u << *bit;
  }
  out = bits;
  return true;
}

TFormValue FromSet(const TEnumInfo& names, uint32_t bits) {
  std::vector<std::string> elements;
  for (int bit = 0; bit < 32; ++bit)
    if (bits & (1u << bit)) elements.push_back(names.NameOf(bit));
  return TFormValue::Set(std::move(elements));
}

bool ToStrings(const TFormValue& v, std::vector<std::string>& out, std::string* error) {
  out.clear();
  if (v.Kind == TFormValue::vString) {
    out = SplitLines(v.Text);
    return true;
  }
  if (v.Kind != TFormValue::vList) return Fail(error, "a list of strings is expected");
  for (const TFormValue& item : v.Items) {
    std::string s;
    if (!ToString(item, s, error)) return false;
    out.push_back(std::move(s));
  }
  return true;
}

TFormValue FromStrings(const std::vector<std::string>& lines) {
  std::vector<TFormValue> items;
  items.reserve(lines.size());
  for (const std::string& l : lines) items.push_back(TFormValue::String(l));
  return TFormValue::List(std::move(items));
}

bool ToBinary(const TFormValue& v, std::string& out, std::string* error) {
  if (v.Kind == TFormValue::vBinary || v.Kind == TFormValue::vString) {
    out = v.Text;
    return true;
  }
  return Fail(error, "binary data is expected");
}

}  // namespace PropConvert
