#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "public/rdcontrol/FormValue.h"

class TComponent;

// What a reader skipped: unknown classes and properties, values of the wrong kind, references
// to components that do not exist. Reading goes on past each of them, as the platform does at
// run time.
struct TFormReadReport {
  std::vector<std::string> Warnings;  // "line 12: TRdLabel has no property \"Colour\""
};

// Reads a window description into an existing root component (the form): the root object's
// name and properties go to the root, every nested object becomes a component owned by the
// root, created by class name through TClassRegistry and placed as a child of the enclosing
// control when both are controls. Properties go through the property resolver. Once the tree
// is complete, component references are settled, the root binds the event names
// (TComponent::ResolveEvent) and every component gets Loaded, the root first, then the others in
// creation order. A syntax error throws TFormSyntaxError before anything is changed.
class TFormReader {
 public:
  static TFormReadReport ReadRoot(TComponent& root, std::string_view text);
  static TFormReadReport ReadRoot(TComponent& root, const TFormObject& description);
};
