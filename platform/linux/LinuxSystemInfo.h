#pragma once
#include "platform/SystemInfo.h"

class TEnvironment;
class TSpecialFolders;

class TLinuxSystemInfo : public TSystemInfo {
public:
  TLinuxSystemInfo(const TEnvironment& env, const TSpecialFolders& folders) : FEnv(env), FFolders(folders) {}

  std::string UserLogonName() const override;
  // <machine root>/etc/machine-id as "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx".
  std::string MachineGuid() const override;
  bool NewGuid(std::array<uint8_t, 16>& guid) const override;
  TWindowsVersion TrueVersion() const override { return TWindowsVersion{}; }
  TWindowsVersion ReportedVersion() const override { return TWindowsVersion{}; }
  bool Is64BitSystem() const override;
  std::string SystemProxyList() const override;
  // xdg-settings names the desktop file; its Exec line without field codes is the command.
  std::string DefaultBrowserCommand() const override;
  std::string LocaleName() const override;

  // "http://user:pw@host:3128/" -> "host:3128"; the scheme's port when the URL has none.
  static std::string ProxyHostPort(const std::string& url);
  // The Exec command of a desktop entry text, field codes removed; empty when it has none.
  static std::string DesktopEntryCommand(const std::string& text);

private:
  std::string FindDesktopFile(const std::string& id) const;
  const TEnvironment& FEnv;
  const TSpecialFolders& FFolders;
};
