#include "Installer/Downloader/UserConfig.h"
// Placeholder bodies; the settings file replaces them.
std::string TUserConfig::FileName() const { return {}; }
void TUserConfig::LoadUserConfig() {}
void TUserConfig::SaveUserConfig() {}
bool TUserConfig::IsInstallFinished() { return false; }
int TUserConfig::GetBrowserStatus() { return 1; }
