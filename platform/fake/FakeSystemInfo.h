#pragma once
#include "platform/SystemInfo.h"

// Machine facts a test sets; the defaults describe 64-bit Windows 10 with the fake's user.
class TFakeSystemInfo : public TSystemInfo {
public:
  std::string UserLogonName() const override { return FUserName; }
  std::string MachineGuid() const override { return FMachineGuid; }
  // Deterministic version-4 GUIDs: the n-th call gives n in its last bytes.
  bool NewGuid(std::array<uint8_t, 16>& guid) const override;
  TWindowsVersion TrueVersion() const override { return FTrueVersion; }
  TWindowsVersion ReportedVersion() const override { return FReportedVersion; }
  bool Is64BitSystem() const override { return F64Bit; }
  std::string SystemProxyList() const override { return FProxyList; }
  std::string DefaultBrowserCommand() const override { return FBrowserCommand; }
  std::string LocaleName() const override { return FLocale; }

  void SetUserLogonName(const std::string& name) { FUserName = name; }
  void SetMachineGuid(const std::string& guid) { FMachineGuid = guid; }
  void SetGuidFails(bool fails) { FGuidFails = fails; }
  void SetVersion(TWindowsVersion version) { FTrueVersion = FReportedVersion = version; }
  void SetTrueVersion(TWindowsVersion version) { FTrueVersion = version; }
  void SetReportedVersion(TWindowsVersion version) { FReportedVersion = version; }
  void Set64BitSystem(bool is64) { F64Bit = is64; }
  void SetSystemProxyList(const std::string& list) { FProxyList = list; }
  void SetDefaultBrowserCommand(const std::string& command) { FBrowserCommand = command; }
  void SetLocaleName(const std::string& locale) { FLocale = locale; }

private:
  std::string FUserName{"TestUser"};
  std::string FMachineGuid{"5c4d8a1e-93b2-4f6e-8d17-2a9c0e4b7f31"};
  bool FGuidFails{false};
  mutable uint32_t FGuidCount{0};
  TWindowsVersion FTrueVersion{};
  TWindowsVersion FReportedVersion{};
  bool F64Bit{true};
  std::string FProxyList;
  std::string FBrowserCommand;
  std::string FLocale{"en_US"};
};
