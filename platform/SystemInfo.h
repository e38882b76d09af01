#pragma once
#include <array>
#include <cstdint>
#include <string>

struct TWindowsVersion {
  int Major{10}, Minor{0}, Build{19045};
};

// Small facts about the machine and the user.
class TSystemInfo {
public:
  virtual ~TSystemInfo() = default;
  virtual std::string UserLogonName() const = 0;
  // The machine GUID in registry form without braces, lower case ("xxxxxxxx-xxxx-...");
  // empty when unknown.
  virtual std::string MachineGuid() const = 0;
  // A new random GUID's 16 bytes in the order of its text form (byte 6 carries the version);
  // false when none can be made.
  virtual bool NewGuid(std::array<uint8_t, 16>& guid) const = 0;
  // The operating system's true version (Linux reports the newest level the rules know).
  virtual TWindowsVersion TrueVersion() const = 0;
  virtual TWindowsVersion ReportedVersion() const = 0;
  // The 32-bit installer runs under a 64-bit system.
  virtual bool Is64BitSystem() const = 0;
  // The system proxy list "Http=host:port;Https=host:port", empty for none.
  virtual std::string SystemProxyList() const = 0;
  // The default web browser's open command; empty when unknown.
  virtual std::string DefaultBrowserCommand() const = 0;
  // Language and country codes from the locale ("en", "US").
  virtual std::string LocaleName() const = 0;
};
