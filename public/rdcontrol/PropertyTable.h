#pragma once
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "public/rdcontrol/ClassInfo.h"
#include "public/rdcontrol/Colors.h"
#include "public/rdcontrol/Persistent.h"
#include "public/rdcontrol/PropertyInfo.h"

class TComponent;

// Conversions between description values and property types. Each accepts the spellings that
// descriptions and skin sections use (see the .cpp) and fails with a message otherwise.
namespace PropConvert {
bool ToInt(const TFormValue& v, int64_t& out, std::string* error);
bool ToFloat(const TFormValue& v, double& out, std::string* error);
bool ToBool(const TFormValue& v, bool& out, std::string* error);
bool ToString(const TFormValue& v, std::string& out, std::string* error);
bool ToColor(const TFormValue& v, TColor& out, std::string* error);
bool ToEnum(const TFormValue& v, const TEnumInfo& names, int& out, std::string* error);
bool ToSet(const TFormValue& v, const TEnumInfo& names, uint32_t& out, std::string* error);
bool ToStrings(const TFormValue& v, std::vector<std::string>& out, std::string* error);
bool ToBinary(const TFormValue& v, std::string& out, std::string* error);
TFormValue FromColor(TColor c);
TFormValue FromEnum(const TEnumInfo& names, int value);
TFormValue FromSet(const TEnumInfo& names, uint32_t bits);
TFormValue FromStrings(const std::vector<std::string>& lines);
bool FitsInt(int64_t v, int64_t lo, int64_t hi, std::string* error);
}  // namespace PropConvert

// Builds the class information of C once, in a static table:
//
//   const TClassInfo& TRdLabel::StaticClass() {
//     static const TClassInfo info = TPropertyTable<TRdLabel>("TRdLabel", &TRdGraphicControl::StaticClass())
//         .Creatable()
//         .String("Caption", &TRdLabel::Caption, &TRdLabel::SetCaption)
//         .Boolean("AutoSize", &TRdLabel::AutoSize, &TRdLabel::SetAutoSize, true)
//         .Build();
//     return info;
//   }
//
// Getters and setters are anything std::invoke can call with (const C&) and (C&, value):
// member function pointers or lambdas. Passing nullptr as the setter makes the property
// read-only. Stored()/NotStored() apply to the property registered last.
template <class C>
class TPropertyTable {
 public:
  TPropertyTable(std::string className, const TClassInfo* parent)
      : FName(std::move(className)), FParent(parent) {}

  // The class can be created by name when read from a description.
  TPropertyTable& Creatable() {
    FFactory = [](TComponent* owner) -> TComponent* { return new C(owner); };
    return *this;
  }

  template <class G, class S>
  TPropertyTable& Integer(std::string name, G get, S set, std::optional<int64_t> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::Integer);
    if (def) p.Default = TFormValue::Integer(*def);
    p.Get = [get](const TPersistent& o) { return TFormValue::Integer(int64_t(std::invoke(get, Self(o)))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
        using T = std::decay_t<std::invoke_result_t<G, const C&>>;
        int64_t n;
        if (!PropConvert::ToInt(v, n, e)) return false;
        if (!PropConvert::FitsInt(n, int64_t(std::numeric_limits<T>::min()),
                                  int64_t(std::numeric_limits<T>::max()), e))
          return false;
        std::invoke(set, Self(o), T(n));
        return true;
      };
    }
    return *this;
  }

  template <class G, class S>
  TPropertyTable& Float(std::string name, G get, S set, std::optional<double> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::Float);
    if (def) p.Default = TFormValue::FloatValue(*def);
    p.Get = [get](const TPersistent& o) { return TFormValue::FloatValue(double(std::invoke(get, Self(o)))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
        double d;
        if (!PropConvert::ToFloat(v, d, e)) return false;
        std::invoke(set, Self(o), d);
        return true;
      };
    }
    return *this;
  }

  template <class G, class S>
  TPropertyTable& Boolean(std::string name, G get, S set, std::optional<bool> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::Boolean);
    if (def) p.Default = TFormValue::Boolean(*def);
    p.Get = [get](const TPersistent& o) { return TFormValue::Boolean(bool(std::invoke(get, Self(o)))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
        bool b;
        if (!PropConvert::ToBool(v, b, e)) return false;
        std::invoke(set, Self(o), b);
        return true;
      };
    }
    return *this;
  }

  template <class G, class S>
  TPropertyTable& String(std::string name, G get, S set, std::optional<std::string> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::String);
    p.Default = TFormValue::String(def.value_or(std::string()));
    p.Get = [get](const TPersistent& o) {
      return TFormValue::String(std::string(std::invoke(get, Self(o))));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
        std::string s;
        if (!PropConvert::ToString(v, s, e)) return false;
        std::invoke(set, Self(o), s);
        return true;
      };
    }
    return *this;
  }

  template <class G, class S>
  TPropertyTable& Color(std::string name, G get, S set, std::optional<TColor> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::Color);
    if (def) p.Default = PropConvert::FromColor(*def);
    p.Get = [get](const TPersistent& o) { return PropConvert::FromColor(TColor(std::invoke(get, Self(o)))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
        TColor c;
        if (!PropConvert::ToColor(v, c, e)) return false;
        std::invoke(set, Self(o), c);
        return true;
      };
    }
    return *this;
  }

  // names must outlive the table (a static TEnumInfo).
  template <class G, class S, class E>
  TPropertyTable& Enum(std::string name, const TEnumInfo& names, G get, S set, E def) {
    Enum(std::move(name), names, get, set);
    FProps.back().Default = PropConvert::FromEnum(names, int(def));
    return *this;
  }
  template <class G, class S>
  TPropertyTable& Enum(std::string name, const TEnumInfo& names, G get, S set) {
    TPropInfo& p = Add(std::move(name), TPropType::Enum);
    p.Names = &names;
    p.Get = [get, &names](const TPersistent& o) {
      return PropConvert::FromEnum(names, int(std::invoke(get, Self(o))));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set, &names](TPersistent& o, const TFormValue& v, std::string* e) {
        using T = std::decay_t<std::invoke_result_t<G, const C&>>;
        int n;
        if (!PropConvert::ToEnum(v, names, n, e)) return false;
        std::invoke(set, Self(o), static_cast<T>(n));
        return true;
      };
    }
    return *this;
  }

  // A bit set: element value i of names is bit (1 << i).
  template <class G, class S>
  TPropertyTable& SetOf(std::string name, const TEnumInfo& names, G get, S set,
                        std::optional<uint32_t> def = {}) {
    TPropInfo& p = Add(std::move(name), TPropType::Set);
    p.Names = &names;
    if (def) p.Default = PropConvert::FromSet(names, *def);
    p.Get = [get, &names](const TPersistent& o) {
      return PropConvert::FromSet(names, uint32_t(std::invoke(get, Self(o))));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set, &names](TPersistent& o, const TFormValue& v, std::string* e) {
        using T = std::decay_t<std::invoke_result_t<G, const C&>>;
        uint32_t bits;
        if (!PropConvert::ToSet(v, names, bits, e)) return false;
        std::invoke(set, Self(o), static_cast<T>(bits));
        return true;
      };
    }
    return *this;
  }

  // A sub-object (TPersistent&), a collection (TCollection&) or a string list (TStringList&);
  // get gives a reference (or pointer) to the object, which the property never replaces.
  template <class G>
  TPropertyTable& Object(std::string name, G get) {
    return SubObject(std::move(name), TPropType::Object, get);
  }
  template <class G>
  TPropertyTable& Collection(std::string name, G get) {
    return SubObject(std::move(name), TPropType::Collection, get);
  }
  template <class G>
  TPropertyTable& Strings(std::string name, G get) {
    return SubObject(std::move(name), TPropType::StringList, get);
  }

  // The strings of a string list themselves (the "Strings" property of TStringList).
  template <class G, class S>
  TPropertyTable& StringArray(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TPropType::StringArray);
    p.Default = TFormValue::List({});
    p.Get = [get](const TPersistent& o) { return PropConvert::FromStrings(std::invoke(get, Self(o))); };
    p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
      std::vector<std::string> lines;
      if (!PropConvert::ToStrings(v, lines, e)) return false;
      std::invoke(set, Self(o), lines);
      return true;
    };
    return *this;
  }

  template <class G, class S>
  TPropertyTable& Binary(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TPropType::Binary);
    p.Default = TFormValue::Binary({});
    p.Get = [get](const TPersistent& o) {
      return TFormValue::Binary(std::string(std::invoke(get, Self(o))));
    };
    p.Set = [set](TPersistent& o, const TFormValue& v, std::string* e) {
      std::string bytes;
      if (!PropConvert::ToBinary(v, bytes, e)) return false;
      std::invoke(set, Self(o), bytes);
      return true;
    };
    return *this;
  }

  // A reference to another component; get gives a pointer (null for none), set receives a
  // TComponent* and answers whether it took it (a reference of the wrong class is refused).
  template <class G, class S>
  TPropertyTable& Component(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TPropType::Component);
    p.GetRef = [get](const TPersistent& o) -> TComponent* { return std::invoke(get, Self(o)); };
    p.SetRef = [set](TPersistent& o, TComponent* c) -> bool { return std::invoke(set, Self(o), c); };
    p.Stored = [get](const TPersistent& o) { return std::invoke(get, Self(o)) != nullptr; };
    return *this;
  }

  // An event published by name. The handler's name is kept by the component (it is what a
  // description stores); the root component binds names to code (TComponent::ResolveEvent).
  TPropertyTable& Event(std::string name);

  // Properties kept in a data member of C (or of a base class of C): the getter reads it, the
  // setter stores a changed value and repaints a control (C::Invalidate when C has one).
  template <class B, class T>
  TPropertyTable& IntField(std::string name, T B::*field, std::optional<int64_t> def = {}) {
    return Integer(std::move(name), FieldGet(field), FieldSet(field), def);
  }
  template <class B>
  TPropertyTable& BoolField(std::string name, bool B::*field, std::optional<bool> def = {}) {
    return Boolean(std::move(name), FieldGet(field), FieldSet(field), def);
  }
  template <class B>
  TPropertyTable& StringField(std::string name, std::string B::*field, std::optional<std::string> def = {}) {
    return String(std::move(name), FieldGet(field), FieldSet(field), std::move(def));
  }
  template <class B>
  TPropertyTable& ColorField(std::string name, TColor B::*field, std::optional<TColor> def = {}) {
    return Color(std::move(name), FieldGet(field), FieldSet(field), def);
  }
  template <class B, class T>
  TPropertyTable& EnumField(std::string name, const TEnumInfo& names, T B::*field, T def) {
    return Enum(std::move(name), names, FieldGet(field), FieldSet(field), def);
  }
  // A read-only value for code and the skin text writer; never stored.
  template <class G>
  TPropertyTable& ReadOnlyBool(std::string name, G get) {
    return Boolean(std::move(name), get, nullptr);
  }

  TPropertyTable& Stored(std::function<bool(const C&)> stored) {
    FProps.back().Stored = [stored](const TPersistent& o) { return stored(Self(o)); };
    return *this;
  }
  TPropertyTable& NotStored() {
    FProps.back().Stored = [](const TPersistent&) { return false; };
    return *this;
  }

  TClassInfo Build() { return TClassInfo(std::move(FName), FParent, std::move(FFactory), std::move(FProps)); }

 private:
  template <class B, class T>
  static auto FieldGet(T B::*field) {
    static_assert(std::is_base_of_v<B, C>);
    return [field](const C& c) -> T { return c.*field; };
  }
  template <class B, class T>
  static auto FieldSet(T B::*field) {
    return [field](C& c, T v) {
      if (c.*field == v) return;
      c.*field = v;
      if constexpr (requires { c.Invalidate(); }) c.Invalidate();
    };
  }

  static const C& Self(const TPersistent& o) { return static_cast<const C&>(o); }
  static C& Self(TPersistent& o) { return static_cast<C&>(o); }

  TPropInfo& Add(std::string name, TPropType type) {
    FProps.push_back(TPropInfo{});
    FProps.back().Name = std::move(name);
    FProps.back().Type = type;
    return FProps.back();
  }

  template <class G>
  TPropertyTable& SubObject(std::string name, TPropType type, G get) {
    TPropInfo& p = Add(std::move(name), type);
    p.Object = [get](const TPersistent& o) -> TPersistent* {
      // Sub-objects are reached for reading and writing alike; the const of the owner does not
      // extend to what its property hands out.
      C& self = const_cast<C&>(Self(o));
      if constexpr (std::is_pointer_v<std::invoke_result_t<G, C&>>)
        return std::invoke(get, self);
      else
        return &std::invoke(get, self);
    };
    return *this;
  }

  std::string FName;
  const TClassInfo* FParent;
  TClassInfo::TFactory FFactory;
  std::vector<TPropInfo> FProps;
};

template <class C>
TPropertyTable<C>& TPropertyTable<C>::Event(std::string name) {
  TPropInfo& p = Add(name, TPropType::Event);
  p.Get = [name](const TPersistent& o) {
    const std::string& h = o.EventHandlerName(name);
    return h.empty() ? TFormValue() : TFormValue::Ident(h);
  };
  p.Set = [name](TPersistent& o, const TFormValue& v, std::string* e) {
    std::string handler;
    if (!PropConvert::ToString(v, handler, e)) return false;
    o.SetEventHandlerName(name, handler);
    return true;
  };
  p.Stored = [name](const TPersistent& o) { return !o.EventHandlerName(name).empty(); };
  return *this;
}
