#include "Installer/Downloader/SetupRunner.h"
// Placeholder bodies; the setup runner replaces them.
void TSetupRunner::OnDownloadProgress(int64_t, double, double, int64_t) {}
void TSetupRunner::OnDownloadFinished(bool, int, const std::string&) {}
void TSetupRunner::RunSetup() {}
std::string TSetupRunner::SetupCommandLine() const { return {}; }
void TSetupRunner::Timer_InstallProgressTimer() {}
int TSetupRunner::IsExecutableImage(const std::string&) { return 0; }
