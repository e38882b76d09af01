#pragma once
#include <vector>

#include "platform/DebugOutput.h"

// Collects the debug lines so that a test can check the trace of a rule.
class TFakeDebugOutput : public TDebugOutput {
public:
  void Write(const std::string& line) override { FLines.push_back(line); }
  const std::vector<std::string>& Lines() const { return FLines; }
  void Clear() { FLines.clear(); }

private:
  std::vector<std::string> FLines;
};
