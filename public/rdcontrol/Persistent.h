#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "public/rdcontrol/ClassInfo.h"

// Declares the class-information members of a class with published properties. The .cpp
// defines StaticClass() with a TPropertyTable (PropertyTable.h).
#define QVB_PERSISTENT(TName)                    \
 public:                                         \
  static const TClassInfo& StaticClass();        \
  const TClassInfo& ClassInfo() const override { \
    return StaticClass();                        \
  }

// The base of every object with published properties: components, and the sub-objects that
// properties hold (fonts, design rectangles, pictures, string lists, collections and their
// items). Published properties are listed by the class information; Assign copies them.
class TPersistent {
 public:
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassInfo().Name(); }
  bool InheritsFrom(std::string_view className) const { return ClassInfo().InheritsFrom(className); }

  // The object this one belongs to in the property tree (a font's control, an item's
  // collection); null for components and free-standing objects.
  virtual TPersistent* GetOwner() const { return nullptr; }

  // Copies every writable published property of source (same class or a base class of
  // this), sub-objects recursively. Classes with state beyond their properties override it.
  virtual void Assign(const TPersistent& source);

  // Handler names of published events, as a description assigns them ("OnClick" ->
  // "btnCloseClick"); the code bound to a name is the root component's business.
  const std::string& EventHandlerName(std::string_view event) const;
  void SetEventHandlerName(std::string_view event, const std::string& handler);

 protected:
  TPersistent() = default;
  TPersistent(const TPersistent&) = default;
  TPersistent& operator=(const TPersistent&) = default;

 private:
  // Few objects have any; allocated on the first assignment.
  std::shared_ptr<std::map<std::string, std::string, std::less<>>> FEventNames;
};
