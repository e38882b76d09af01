#include "Installer/Downloader/InstallLocation.h"
// Placeholder bodies; the folder rules replace them.
bool TInstallLocation::CheckDiskSpace(const std::string&, int64_t) { return false; }
std::string TInstallLocation::GetDownloadPath() { return {}; }
std::string TInstallLocation::GetDefaultInstallPath(bool& installed) { installed = false; return {}; }
std::string TInstallLocation::GetQMRSetupPath() { return {}; }
bool TInstallLocation::CheckPathChars() { return true; }
void TInstallLocation::InstallNow() {}
void TInstallLocation::InstallWithOptions() {}
void TInstallLocation::ShowInvalidPath(const std::string&) {}
void TInstallLocation::btnBrosweClick() {}
bool TInstallLocation::edtPathKeyPress(const std::string&) { return true; }
void TInstallLocation::edtPathChange() {}
