#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "public/rdcontrol/FormValue.h"

class TPersistent;
struct TPropInfo;

// The one way to read and write a published property by name. A path is a dotted list of
// property names, each optionally indexing a collection: "Caption", "Font.Color",
// "ImageOption.Left", "LinkItems[1].Font.Color". Names ignore letter case.
//
// Writing a path through a collection index beyond the collection's size is skipped (the skin
// rule: such a key does nothing) and reported as tsSkipped, not as an error. Any other failure
// names the segment that failed and why.
struct TPropertyResult {
  enum TStatus { tsOk, tsSkipped, tsUnknownProperty, tsNotAnObject, tsBadIndex, tsReadOnly, tsBadValue };
  TStatus Status{tsOk};
  std::string Segment;  // the path segment that failed ("Font", "LinkItems[7]", "Colour")
  std::string Message;  // a sentence for logs and tests

  bool Ok() const { return Status == tsOk; }
  explicit operator bool() const { return Ok(); }
};

// The object and property a path ends at (for callers that look at the type first).
struct TPropertyTarget {
  TPersistent* Object{nullptr};
  const TPropInfo* Property{nullptr};
  int Index{-1};  // a final "[i]" on a string list property: that line
};

TPropertyResult ResolvePropertyPath(TPersistent& root, std::string_view path, TPropertyTarget& target);

// What the description reader needs to hear while it assigns values: references to components
// that may not exist yet, and event assignments, both settled once the whole tree is read.
class TPropertyContext {
 public:
  virtual ~TPropertyContext() = default;
  virtual void DeferReference(TPersistent& object, const TPropInfo& property, const std::string& name) = 0;
  virtual void EventAssigned(TPersistent& object, const TPropInfo& property, const std::string& handler) = 0;
};

// Writes a value in description form. Collections take "<item ... end>" values (the items are
// replaced). Component references (identifiers, nil) are looked up by name among the components
// owned by the root of the object's ownership tree, or handed to context when one is given.
TPropertyResult SetPropertyValue(TPersistent& root, std::string_view path, const TFormValue& value,
                                 TPropertyContext* context = nullptr);
// Reads a value in description form; sub-objects read as vNull.
TPropertyResult GetPropertyValue(TPersistent& root, std::string_view path, TFormValue& value);

// Text conveniences for string-like use (captions, hints, skin lines): setting parses text with
// ParseLiteralValue for non-string properties; reading gives strings as they are and other
// values as FormatFormValue writes them.
TPropertyResult SetPropertyText(TPersistent& root, std::string_view path, const std::string& text);
TPropertyResult GetPropertyText(TPersistent& root, std::string_view path, std::string& text);
// The text, or def when the property does not exist.
std::string PropertyTextOr(TPersistent& root, std::string_view path, const std::string& def);
bool HasProperty(TPersistent& root, std::string_view path);
