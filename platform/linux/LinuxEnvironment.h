#pragma once
#include "platform/Environment.h"

// The process environment (getenv/setenv), so that a child started later sees changes.
class TLinuxEnvironment : public TEnvironment {
public:
  std::string Get(const std::string& name) const override;
  bool IsSet(const std::string& name) const override;
  void Set(const std::string& name, const std::string& value) override;
  void Unset(const std::string& name) override;
};
