#include "platform/Resources.h"

#include <algorithm>
#include <map>

namespace {

struct TNoCaseLess {
  using is_transparent = void;
  static char Fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
  }
};

using TTable = std::map<std::string, std::string_view, TNoCaseLess>;

// A function-local table, because registrations run during static initialisation of other
// translation units, in an order nobody controls.
TTable& Table() {
  static TTable table;
  return table;
}

}  // namespace

void RegisterResource(std::string_view name, const void* data, size_t size) {
  Table()[std::string(name)] = std::string_view(static_cast<const char*>(data), size);
}

std::string_view FindResource(std::string_view name) {
  const TTable& table = Table();
  auto it = table.find(name);
  return it == table.end() ? std::string_view() : it->second;
}

std::vector<std::string> ResourceNames() {
  std::vector<std::string> names;
  for (const auto& entry : Table()) names.push_back(entry.first);
  return names;
}
