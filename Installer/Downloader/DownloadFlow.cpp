#include "Installer/Downloader/DownloadFlow.h"
// Placeholder bodies; the descriptor flow replaces them.
void TDownloadFlow::StartDownload() {}
void TDownloadFlow::OnDescriptorDone(bool, int, const std::string&) {}
void TDownloadFlow::StartPackageDownload() {}
bool TDownloadFlow::CheckPackageMD5Changed(const std::string& a, const std::string& b, const std::string&) { return a == b; }
std::string TDownloadFlow::ReadLastDownloadMD5(const std::string&) { return {}; }
