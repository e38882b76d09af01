#include "support/Flagship.h"

#include <optional>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "support/IniService.h"
#include "support/Registry.h"
#include "support/SystemQueries.h"

namespace {

const char* const kUninstallKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark Care_is1";

std::optional<int>& BetaValue() {
  static std::optional<int> value;
  return value;
}

std::string Folders(const std::string& base, std::initializer_list<const char*> names) {
  const char sep = TPlatform::Current().Files().Separator();
  std::string path = base;
  for (const char* name : names) path += sep + std::string(name);
  return path + sep;
}

}  // namespace

bool IsFlagshipBeta() {
  std::optional<int>& value = BetaValue();
  if (value) return *value == 1;
  const char sep = TPlatform::Current().Files().Separator();
  const std::string file = GetFlagshipInstallFolder() + "Update" + sep + "Update.ini";
  if (!TPlatform::Current().Files().FileExists(file)) return false;
  // NOTE: read through the INI service directly: a TIniFile would make the other product's
  // read-only file writable just to look at one value.
  try {
    value = TIniService::ToInteger(TIniService::ReadString(file, "Beta", "ver14", "0"), 0);
  } catch (const std::exception&) {
    value = 0;
  }
  return *value == 1;
}

std::string GetFlagshipDataFolder() {
  return Folders(GetSpecialFolder(TFolderKind::AppData),
                 {"Kelvra", IsFlagshipBeta() ? "Quillmark Care Beta" : "Quillmark Care"});
}

std::string GetFlagshipInstallFolder() {
  try {
    const TWindowsVersion version = TPlatform::Current().System().ReportedVersion();
    const bool windows2000 = version.Major == 5 && version.Minor == 0;  // has no 32-bit view
    TRegistry registry(KEY_READ | (windows2000 ? 0 : KEY_WOW64_32KEY));
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKeyReadOnly(kUninstallKey)) {
      const std::string location = registry.ReadString("InstallLocation");
      if (!location.empty()) return IncludeTrailingPathDelimiter(location);
    }
  } catch (const std::exception&) {
    // a value of the wrong type counts as none
  }
  return Folders(GetSpecialFolder(TFolderKind::ProgramFiles), {"Kelvra", "Quillmark Care"});
}

void ResetFlagshipCache() {
  BetaValue().reset();
}
