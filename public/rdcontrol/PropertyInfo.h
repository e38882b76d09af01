#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "public/rdcontrol/FormValue.h"

class TPersistent;
class TComponent;

// The kinds of published property. Object, Collection and Strings properties hold a
// sub-object that a dotted path walks into ("Font.Color", "LinkItems[1].Font", "Lines.Strings").
enum class TPropType {
  Integer,  // int or int64 values
  Float,    // double, with the s/c/d suffix kept by the value
  Boolean,
  String,
  Color,        // TColor: integers, standard identifiers (clWhite), named skin colours
  Enum,         // by name, through TEnumInfo
  Set,          // bit set; element i is bit i, named through TEnumInfo
  Object,       // a TPersistent sub-object (fonts, design rectangles, pictures, constraints)
  Collection,   // a TCollection sub-object: <item ... end>
  Component,    // a reference to another component by name (ActivePage = PageTab_Main)
  Event,        // the name of the handler assigned in the description (OnClick = btnCloseClick)
  Binary,       // raw bytes {...}
  StringList,   // a TStringList sub-object (Lines, Items), stored through its Strings property
  StringArray,  // the strings themselves ('a' 'b'): the Strings property of TStringList
};

const char* PropTypeName(TPropType type);

// Names of an enumeration or of the elements of a set, in value order as declared.
class TEnumInfo {
 public:
  TEnumInfo(std::string typeName, std::vector<std::pair<std::string, int>> values)
      : FTypeName(std::move(typeName)), FValues(std::move(values)) {}
  const std::string& TypeName() const { return FTypeName; }
  const std::vector<std::pair<std::string, int>>& Values() const { return FValues; }
  // Case-insensitive, as the platform's identifiers.
  std::optional<int> ValueOf(std::string_view name) const;
  // Empty when the value has no name.
  std::string NameOf(int value) const;

 private:
  std::string FTypeName;
  std::vector<std::pair<std::string, int>> FValues;
};

// One published property of a class. Get yields the value as a description stores it; Set
// parses a description value (false with a message when the value does not fit the type).
// Object, Collection and Strings properties give their sub-object through Object and are
// written and read through its own properties. A property without Set is read-only and never
// stored.
struct TPropInfo {
  std::string Name;
  TPropType Type{TPropType::Integer};
  const TEnumInfo* Names{nullptr};    // Enum and Set
  std::optional<TFormValue> Default;  // the documented default; see TClassInfo
  std::function<TFormValue(const TPersistent&)> Get;
  std::function<bool(TPersistent&, const TFormValue&, std::string* error)> Set;
  std::function<TPersistent*(const TPersistent&)> Object;  // Object, Collection, StringList
  std::function<TComponent*(const TPersistent&)> GetRef;   // Component
  std::function<bool(TPersistent&, TComponent*)> SetRef;   // Component
  std::function<bool(const TPersistent&)> Stored;          // null: always stored

  bool IsSubObject() const {
    return Type == TPropType::Object || Type == TPropType::Collection || Type == TPropType::StringList;
  }
  bool IsReadOnly() const { return !Set && !SetRef && !IsSubObject(); }
  bool IsStored(const TPersistent& object) const { return !Stored || Stored(object); }
};
