#pragma once
#include "platform/DebugOutput.h"

// One line on standard error per call while QVB_DEBUG is set; nothing otherwise.
class TLinuxDebugOutput : public TDebugOutput {
public:
  void Write(const std::string& line) override;
};
