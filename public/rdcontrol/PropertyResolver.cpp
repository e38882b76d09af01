#include "public/rdcontrol/PropertyResolver.h"

#include <fmt/format.h>

#include "platform/TextCodec.h"
#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/PropertyInfo.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/StringList.h"

namespace {

struct TSegment {
  std::string_view Text;  // as written, for messages
  std::string_view Name;
  bool HasIndex{false};
  int64_t Index{0};
};

TPropertyResult Result(TPropertyResult::TStatus status, std::string_view segment, std::string message) {
  TPropertyResult r;
  r.Status = status;
  r.Segment = std::string(segment);
  r.Message = std::move(message);
  return r;
}

// Splits "LinkItems[1].Font.Color" into segments; false for a malformed path.
bool SplitPath(std::string_view path, std::vector<TSegment>& out, TPropertyResult& error) {
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t dot = path.find('.', pos);
    std::string_view text =
        path.substr(pos, dot == std::string_view::npos ? std::string_view::npos : dot - pos);
    TSegment seg;
    seg.Text = text;
    seg.Name = text;
    size_t open = text.find('[');
    if (open != std::string_view::npos) {
      size_t close = text.find(']', open);
      std::string_view digits = text.substr(open + 1, close == std::string_view::npos ? 0 : close - open - 1);
      bool ok = close == text.size() - 1 && !digits.empty() && digits.size() <= 9;
      int64_t index = 0;
      for (char c : digits) {
        if (c < '0' || c > '9') ok = false;
        index = index * 10 + (c - '0');
      }
      if (!ok) {
        error = Result(TPropertyResult::tsBadIndex, text, fmt::format("\"{}\" is not a valid index", text));
        return false;
      }
      seg.Name = text.substr(0, open);
      seg.HasIndex = true;
      seg.Index = index;
    }
    if (seg.Name.empty()) {
      error = Result(TPropertyResult::tsUnknownProperty, text, "empty property name in path");
      return false;
    }
    out.push_back(seg);
    if (dot == std::string_view::npos) break;
    pos = dot + 1;
  }
  return true;
}

TComponent* OwningComponent(TPersistent& object) {
  for (TPersistent* p = &object; p; p = p->GetOwner())
    if (auto* c = dynamic_cast<TComponent*>(p)) return c;
  return nullptr;
}

// A component named in a description: "nil", the root itself, an owned component, or
// "Root.Name".
bool FindReference(TPersistent& object, const std::string& name, TComponent*& found) {
  found = nullptr;
  if (SameText(name, "nil")) return true;
  TComponent* owner = OwningComponent(object);
  if (!owner) return false;
  TComponent* root = owner->Root();
  std::string local = name;
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    if (!SameText(name.substr(0, dot), root->Name())) return false;
    local = name.substr(dot + 1);
  }
  if (SameText(local, root->Name())) {
    found = root;
    return true;
  }
  found = root->FindComponent(local);
  return found != nullptr;
}

TPropertyResult AssignValue(TPersistent& object, const TPropInfo& p, int index, std::string_view segment,
                            const TFormValue& value, TPropertyContext* context) {
  std::string error;
  if (index >= 0) {
    auto* list = dynamic_cast<TStringList*>(p.Object ? p.Object(object) : nullptr);
    std::string s;
    if (!list)
      return Result(TPropertyResult::tsNotAnObject, segment,
                    "only string lists and collections take an index");
    if (index >= list->Count())
      return Result(TPropertyResult::tsSkipped, segment, fmt::format("index {} is beyond the list", index));
    if (!PropConvert::ToString(value, s, &error)) return Result(TPropertyResult::tsBadValue, segment, error);
    list->SetStrings(index, s);
    return {};
  }
  switch (p.Type) {
    case TPropType::Collection: {
      auto* coll = dynamic_cast<TCollection*>(p.Object(object));
      if (!coll || value.Kind != TFormValue::vCollection)
        return Result(TPropertyResult::tsBadValue, segment, "a collection <item ... end> is expected");
      coll->Clear();
      TPropertyResult first;
      for (const TFormItem& item : value.Collection) {
        TCollectionItem& target = coll->Add();
        for (const TFormProperty& prop : item.Properties) {
          TPropertyResult r = SetPropertyValue(target, prop.Name, prop.Value, context);
          if (!r && r.Status != TPropertyResult::tsSkipped && first) {
            first = r;
            first.Segment = fmt::format("{}[{}].{}", p.Name, coll->Count() - 1, r.Segment);
          }
        }
      }
      return first;
    }
    case TPropType::StringList: {
      auto* list = dynamic_cast<TStringList*>(p.Object(object));
      std::vector<std::string> lines;
      if (!list || !PropConvert::ToStrings(value, lines, &error))
        return Result(TPropertyResult::tsNotAnObject, segment,
                      "a string list takes its Strings property or a list");
      list->SetLines(lines);
      return {};
    }
    case TPropType::Object:
      return Result(TPropertyResult::tsNotAnObject, segment,
                    fmt::format("\"{}\" is an object; set one of its properties", p.Name));
    case TPropType::Component: {
      std::string name;
      if (value.Kind != TFormValue::vIdent && value.Kind != TFormValue::vString)
        return Result(TPropertyResult::tsBadValue, segment, "a component name is expected");
      name = value.Text;
      if (context && !SameText(name, "nil")) {
        context->DeferReference(object, p, name);
        return {};
      }
      TComponent* found = nullptr;
      if (!FindReference(object, name, found))
        return Result(TPropertyResult::tsBadValue, segment, fmt::format("no component named \"{}\"", name));
      if (!p.SetRef || !p.SetRef(object, found))
        return Result(TPropertyResult::tsBadValue, segment,
                      fmt::format("\"{}\" cannot be assigned here", name));
      return {};
    }
    default:
      break;
  }
  if (!p.Set) return Result(TPropertyResult::tsReadOnly, segment, fmt::format("\"{}\" is read-only", p.Name));
  if (!p.Set(object, value, &error))
    return Result(TPropertyResult::tsBadValue, segment, fmt::format("{}: {}", p.Name, error));
  if (p.Type == TPropType::Event && context &&
      (value.Kind == TFormValue::vIdent || value.Kind == TFormValue::vString))
    context->EventAssigned(object, p, value.Text);
  return {};
}

}  // namespace

TPropertyResult ResolvePropertyPath(TPersistent& root, std::string_view path, TPropertyTarget& target) {
  target = {};
  std::vector<TSegment> segments;
  TPropertyResult error;
  if (!SplitPath(path, segments, error)) return error;
  TPersistent* object = &root;
  for (size_t i = 0; i < segments.size(); ++i) {
    const TSegment& seg = segments[i];
    const TPropInfo* p = object->ClassInfo().FindProperty(seg.Name);
    if (!p)
      return Result(TPropertyResult::tsUnknownProperty, seg.Text,
                    fmt::format("{} has no property \"{}\"", object->ClassName(), seg.Name));
    bool last = i + 1 == segments.size();
    if (last) {
      target.Object = object;
      target.Property = p;
      if (seg.HasIndex) {
        if (p->Type != TPropType::StringList)
          return Result(TPropertyResult::tsNotAnObject, seg.Text,
                        "an index needs a collection or a string list");
        target.Index = int(seg.Index);
      }
      return {};
    }
    if (seg.HasIndex) {
      auto* coll =
          p->Type == TPropType::Collection ? dynamic_cast<TCollection*>(p->Object(*object)) : nullptr;
      if (!coll)
        return Result(TPropertyResult::tsNotAnObject, seg.Text,
                      fmt::format("\"{}\" is not a collection", seg.Name));
      if (seg.Index >= coll->Count())
        return Result(
            TPropertyResult::tsSkipped, seg.Text,
            fmt::format("index {} is beyond the {} items of {}", seg.Index, coll->Count(), seg.Name));
      object = coll->Items(int(seg.Index));
      continue;
    }
    TPersistent* sub = p->IsSubObject() ? p->Object(*object) : nullptr;
    if (!sub)
      return Result(TPropertyResult::tsNotAnObject, seg.Text,
                    fmt::format("\"{}\" has no properties", seg.Name));
    object = sub;
  }
  return Result(TPropertyResult::tsUnknownProperty, path, "empty path");
}

TPropertyResult SetPropertyValue(TPersistent& root, std::string_view path, const TFormValue& value,
                                 TPropertyContext* context) {
  TPropertyTarget target;
  TPropertyResult r = ResolvePropertyPath(root, path, target);
  if (!r) return r;
  std::string_view segment = path.substr(path.rfind('.') == std::string_view::npos ? 0 : path.rfind('.') + 1);
  return AssignValue(*target.Object, *target.Property, target.Index, segment, value, context);
}

TPropertyResult GetPropertyValue(TPersistent& root, std::string_view path, TFormValue& value) {
  value = TFormValue();
  TPropertyTarget target;
  TPropertyResult r = ResolvePropertyPath(root, path, target);
  if (!r) return r;
  const TPropInfo& p = *target.Property;
  if (p.Type == TPropType::StringList) {
    auto* list = dynamic_cast<TStringList*>(p.Object(*target.Object));
    if (!list) return {};
    if (target.Index >= 0) {
      if (target.Index >= list->Count())
        return Result(TPropertyResult::tsSkipped, path, "index beyond the list");
      value = TFormValue::String(list->Strings(target.Index));
    } else {
      value = PropConvert::FromStrings(list->Lines());
    }
    return {};
  }
  if (p.Type == TPropType::Component) {
    TComponent* c = p.GetRef ? p.GetRef(*target.Object) : nullptr;
    value = c ? TFormValue::Ident(c->Name()) : TFormValue::Ident("nil");
    return {};
  }
  if (p.Get) value = p.Get(*target.Object);
  return {};
}

TPropertyResult SetPropertyText(TPersistent& root, std::string_view path, const std::string& text) {
  TPropertyTarget target;
  TPropertyResult r = ResolvePropertyPath(root, path, target);
  if (!r) return r;
  TPropType type = target.Property->Type;
  // Texts go in as they are: a caption may well start with '#' or '('.
  if (type == TPropType::String || type == TPropType::Event || target.Index >= 0)
    return SetPropertyValue(root, path, TFormValue::String(text));
  try {
    return SetPropertyValue(root, path, ParseLiteralValue(text));
  } catch (const TFormSyntaxError& e) {
    return Result(TPropertyResult::tsBadValue, path, e.what());
  }
}

TPropertyResult GetPropertyText(TPersistent& root, std::string_view path, std::string& text) {
  TFormValue v;
  TPropertyResult r = GetPropertyValue(root, path, v);
  if (!r) return r;
  if (v.Kind == TFormValue::vString || v.Kind == TFormValue::vIdent)
    text = v.Text;
  else if (v.Kind == TFormValue::vList) {
    std::vector<std::string> lines;
    PropConvert::ToStrings(v, lines, nullptr);
    text.clear();
    for (const std::string& l : lines) text += l + "\r\n";
  } else if (v.Kind == TFormValue::vNull)
    text.clear();
  else
    text = FormatFormValue(v);
  return {};
}

std::string PropertyTextOr(TPersistent& root, std::string_view path, const std::string& def) {
  std::string text;
  return GetPropertyText(root, path, text) ? text : def;
}

bool HasProperty(TPersistent& root, std::string_view path) {
  TPropertyTarget target;
  return bool(ResolvePropertyPath(root, path, target));
}
