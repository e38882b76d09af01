#pragma once
#include <string_view>
#include <vector>

class TClassInfo;

// Class name -> class information, for creating the components a description names. The
// library's own classes are registered on first use (ClassRegistry.cpp lists them); other
// classes register themselves with a static TClassRegistration.
class TClassRegistry {
 public:
  static void Register(const TClassInfo& info);
  // Letter case ignored; null when no class has that name.
  static const TClassInfo* Find(std::string_view name);
  static std::vector<const TClassInfo*> All();
};

struct TClassRegistration {
  explicit TClassRegistration(const TClassInfo& info) { TClassRegistry::Register(info); }
};
