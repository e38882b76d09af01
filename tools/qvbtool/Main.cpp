#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>

#include "tools/qvbtool/Verb.h"

std::vector<TVerb>& VerbTable() {
  static std::vector<TVerb> table;
  return table;
}

int UsageError(const std::string& message) {
  std::cerr << "qvbtool: " << message << "\n";
  return 2;
}

static void PrintHelp() {
  std::vector<TVerb> verbs = VerbTable();
  std::sort(verbs.begin(), verbs.end(), [](const TVerb& a, const TVerb& b) { return a.Name < b.Name; });
  std::cout << "qvbtool: the Quenvo VPN Browser installer's building blocks from a shell\n\n"
               "usage: qvbtool VERB [ARGUMENTS]\n\nverbs:\n";
  for (const auto& verb : verbs) {
    size_t start = 0;
    while (start <= verb.Usage.size()) {
      size_t end = verb.Usage.find('\n', start);
      if (end == std::string::npos) end = verb.Usage.size();
      std::cout << "  qvbtool " << verb.Usage.substr(start, end - start) << "\n";
      start = end + 1;
    }
  }
  std::cout << "  qvbtool --help\n";
}

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  const std::string name = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& verb : VerbTable()) {
    if (verb.Name != name) continue;
    try {
      return verb.Run(args);
    } catch (const std::exception& e) {
      std::cerr << "qvbtool: " << name << ": " << e.what() << "\n";
      return 1;
    }
  }
  return UsageError("unknown verb '" + name + "' (see qvbtool --help)");
}
