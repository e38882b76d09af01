#pragma once
#include <string>

class TEnvironment {
public:
  virtual ~TEnvironment() = default;
  virtual std::string Get(const std::string& name) const = 0;  // empty when unset
  virtual bool IsSet(const std::string& name) const = 0;
  virtual void Set(const std::string& name, const std::string& value) = 0;
  virtual void Unset(const std::string& name) = 0;
};
