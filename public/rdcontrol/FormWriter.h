#pragma once
#include <string>

#include "public/rdcontrol/FormValue.h"

class TComponent;
class TPersistent;

// Writes a component tree as a window description: every stored, writable published property
// whose value differs from that of a freshly created object of the same class (the class's
// defaults, including those its constructor sets), sub-objects as dotted names, collections as
// <item ... end>. Owned components are written in creation order, each nested under its parent
// control. Reading the text back into a fresh root gives the same description again.
class TFormWriter {
 public:
  static TFormObject Describe(TComponent& root);
  static std::string Write(TComponent& root);
  // The stored properties of one object compared with a reference object of the same class
  // (null: against the registered defaults), names prefixed with prefix.
  static std::vector<TFormProperty> DescribeProperties(TPersistent& object, TPersistent* reference,
                                                       const std::string& prefix = {});
};
