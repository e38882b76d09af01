#pragma once
#include <map>

#include "platform/Environment.h"

// A Windows-like environment: names compared without regard to letter case. Starts with the
// variables that match the fake's special folders (APPDATA, USERPROFILE, ProgramFiles(x86), ...).
class TFakeEnvironment : public TEnvironment {
public:
  TFakeEnvironment();
  std::string Get(const std::string& name) const override;
  bool IsSet(const std::string& name) const override;
  void Set(const std::string& name, const std::string& value) override;
  void Unset(const std::string& name) override;
  void Clear() { FValues.clear(); }

private:
  std::map<std::string, std::pair<std::string, std::string>> FValues;  // upper name -> (name, value)
};
