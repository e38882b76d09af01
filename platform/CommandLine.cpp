#include "platform/Processes.h"

// The argument rules of CommandLineToArgvW for everything after the program name. Backslashes
// are literal unless a run of them ends at a double quote. A quote that opens or closes a quoted
// part is dropped; inside a quoted part, a run of quotes gives one literal quote for every third
// quote counted from the opening one, which is how "" inside quotes yields a single quote.
std::vector<std::string> SplitWindowsCommandLine(const std::string& parameters) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = parameters.size();
  auto isBlank = [](char c) { return c == ' ' || c == '\t'; };

  while (i < n && isBlank(parameters[i])) ++i;
  if (i >= n) return args;
  args.emplace_back();

  int quotes = 0;       // 0 outside a quoted part, 1 inside
  int backslashes = 0;  // length of the backslash run just copied
  while (i < n) {
    const char c = parameters[i];
    if (isBlank(c) && quotes == 0) {
      while (i < n && isBlank(parameters[i])) ++i;
      if (i < n) args.emplace_back();
      backslashes = 0;
    } else if (c == '\\') {
      args.back() += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      std::string& arg = args.back();
      if (backslashes % 2 == 0) {
        arg.resize(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        arg.resize(arg.size() - backslashes / 2 - 1);
        arg += '"';
      }
      ++i;
      backslashes = 0;
      while (i < n && parameters[i] == '"') {
        if (++quotes == 3) {
          arg += '"';
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
    } else {
      args.back() += c;
      backslashes = 0;
      ++i;
    }
  }
  return args;
}
