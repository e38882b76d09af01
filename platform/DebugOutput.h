#pragma once
#include <string>

// Diagnostic traces ("FormCreate: 1"): never stored in a file.
class TDebugOutput {
public:
  virtual ~TDebugOutput() = default;
  virtual void Write(const std::string& line) = 0;
};
