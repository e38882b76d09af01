#pragma once
#include <functional>
#include <string>
#include <vector>

// One verb of qvbtool. A verb's source file registers it with a static TVerbRegistration:
//   static TVerbRegistration reg{"ini", "ini get FILE SECTION KEY [DEFAULT] | ini set ...", RunIni};
// Run receives the arguments after the verb and returns the exit code. A verb prints a one-line
// error and returns non-zero for wrong arguments or unreadable input.
struct TVerb {
  std::string Name;
  std::string Usage;  // one or more lines for --help
  std::function<int(const std::vector<std::string>&)> Run;
};

std::vector<TVerb>& VerbTable();

struct TVerbRegistration {
  TVerbRegistration(std::string name, std::string usage,
                    std::function<int(const std::vector<std::string>&)> run) {
    VerbTable().push_back(TVerb{std::move(name), std::move(usage), std::move(run)});
  }
};

// "qvbtool: <message>" on standard error; returns 2 (wrong arguments).
int UsageError(const std::string& message);
