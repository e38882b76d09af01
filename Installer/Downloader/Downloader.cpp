#include "Installer/Downloader/Downloader.h"
// Placeholder bodies; the package downloader replaces them.
struct TDownloader::TImpl {};
TDownloader::TDownloader(TEventLoop*) {}
TDownloader::~TDownloader() = default;
void TDownloader::Start(const std::string&, const std::string&) {}
void TDownloader::Stop() {}
void TDownloader::Pause() {}
void TDownloader::Resume() {}
void TDownloader::SetNoStateFile(bool on) { FNoStateFile = on; }
int64_t TDownloader::GetContentLength() { return 0; }
void TDownloader::CloseFile() {}
void TDownloader::ReleaseLater(std::unique_ptr<TDownloader>) {}
