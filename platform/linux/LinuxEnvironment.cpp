#include "platform/linux/LinuxEnvironment.h"

#include <cstdlib>

std::string TLinuxEnvironment::Get(const std::string& name) const {
  const char* value = getenv(name.c_str());
  return value ? value : "";
}

bool TLinuxEnvironment::IsSet(const std::string& name) const { return getenv(name.c_str()) != nullptr; }

void TLinuxEnvironment::Set(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

void TLinuxEnvironment::Unset(const std::string& name) { unsetenv(name.c_str()); }
