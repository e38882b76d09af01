#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "public/rdcontrol/PropertyInfo.h"

class TComponent;
class TPersistent;

// The run-time description of a class: its name, its base class, how to create it (for
// components read from a description) and its published properties. Each class builds one
// static instance through TPropertyTable (see PropertyTable.h). A class's property list
// contains its base classes' properties first, in registration order; a class may register a
// property again under the same name to change its default or accessors, which replaces the
// inherited entry at its place.
class TClassInfo {
 public:
  // Creates an instance owned by owner (when owner is not null; otherwise the caller owns it).
  using TFactory = std::function<TComponent*(TComponent* owner)>;

  TClassInfo(std::string name, const TClassInfo* parent, TFactory factory, std::vector<TPropInfo> own);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  // Letter case ignored, as the platform compares class names.
  bool InheritsFrom(std::string_view className) const;
  bool InheritsFrom(const TClassInfo& other) const;

  bool CanCreate() const { return bool(FFactory); }
  TComponent* Create(TComponent* owner) const { return FFactory ? FFactory(owner) : nullptr; }

  // Every published property, base classes first.
  const std::vector<const TPropInfo*>& Properties() const { return FAll; }
  // Letter case ignored; null when the class has no such property.
  const TPropInfo* FindProperty(std::string_view name) const;

 private:
  std::string FName;
  const TClassInfo* FParent;
  TFactory FFactory;
  std::vector<TPropInfo> FOwn;
  std::vector<const TPropInfo*> FAll;
  std::unordered_map<std::string, const TPropInfo*> FIndex;  // lower-case name
};
