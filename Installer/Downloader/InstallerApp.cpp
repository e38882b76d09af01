#include "Installer/Downloader/InstallerApp.h"
// Placeholder body; the process start sequence replaces it.
int RunInstaller(const TInstallerHooks&) { return 0; }
