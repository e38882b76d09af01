#pragma once
#include <cstdint>
#include <string>

class TfrmQVBDownloader;

// The Download page's progress bar over download and install, the decision whether a finished
// download may be installed, the silent setup run and the wait for it.
class TSetupRunner {
 public:
  explicit TSetupRunner(TfrmQVBDownloader& form) : FForm(form) {}

  void OnDownloadProgress(int64_t elapsedMs, double speed, double percent, int64_t received);
  void OnDownloadFinished(bool success, int code, const std::string& fileName);
  void RunSetup();
  std::string SetupCommandLine() const;
  void Timer_InstallProgressTimer();
  static int IsExecutableImage(const std::string& path);

 private:
  TfrmQVBDownloader& FForm;
};
