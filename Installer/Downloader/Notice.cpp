#include "Installer/Downloader/Notice.h"
// Placeholder bodies; the notice windows replace them.
void ShowNotice(int, const std::string&, int) {}
void ShowSysNotice(const std::string&, const std::string&) {}
bool& NoticeResult() { static bool result = false; return result; }
