#include "public/rdcontrol/ClassRegistry.h"

#include <map>
#include <mutex>
#include <string>

#include "public/rdcontrol/ClassInfo.h"
#include "public/rdcontrol/RdForm.h"

namespace {

std::string Key(std::string_view name) {
  std::string k(name);
  for (char& c : k) c = char(std::tolower(static_cast<unsigned char>(c)));
  return k;
}

struct TRegistry {
  std::map<std::string, const TClassInfo*> Classes;
};

void RegisterLibraryClasses(TRegistry& r);

TRegistry& Registry() {
  // NOTE: built on first use, not by static registrations in each class's file: a static library
  // drops object files nothing refers to, and with them such registrations.
  static TRegistry* registry = [] {
    auto* r = new TRegistry;
    RegisterLibraryClasses(*r);
    return r;
  }();
  return *registry;
}

void Add(TRegistry& r, const TClassInfo& info) { r.Classes[Key(info.Name())] = &info; }

// Every class of the library that a description can name.
void RegisterLibraryClasses(TRegistry& r) {
  for (const TClassInfo* info : {&TRdForm::StaticClass()}) Add(r, *info);
}

}  // namespace

void TClassRegistry::Register(const TClassInfo& info) { Add(Registry(), info); }

const TClassInfo* TClassRegistry::Find(std::string_view name) {
  auto& classes = Registry().Classes;
  auto it = classes.find(Key(name));
  return it == classes.end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> TClassRegistry::All() {
  std::vector<const TClassInfo*> out;
  for (const auto& [k, v] : Registry().Classes) out.push_back(v);
  return out;
}
