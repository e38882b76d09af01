#pragma once
#include <cstdint>
#include <string>

class TfrmQVBDownloader;

// Install and download folders of a run: the free-space rule with its relocation to another
// fixed drive, the default and remembered install folder, the path field's character filter and
// the checks of the two install buttons. Works on the platform's path style (Windows drives on
// the fake platform, mount points on Linux).
class TInstallLocation {
 public:
  static constexpr int64_t kDownloadSpace = 120LL * 1024 * 1024;
  static constexpr int64_t kInstallSpace = 500LL * 1024 * 1024;

  explicit TInstallLocation(TfrmQVBDownloader& form) : FForm(form) {}

  // True when the drive is not a local fixed drive or has fewer free bytes than needed.
  bool CheckDiskSpace(const std::string& drive, int64_t needed);
  std::string GetDownloadPath();                      // may end the process
  std::string GetDefaultInstallPath(bool& installed);
  std::string GetQMRSetupPath();                      // may end the process
  bool CheckPathChars();
  void InstallNow();
  void InstallWithOptions();
  void ShowInvalidPath(const std::string& text);
  void btnBrosweClick();
  // The path field's filter: KeyPress answers whether the typed character is kept.
  bool edtPathKeyPress(const std::string& typed);
  void edtPathChange();

 private:
  TfrmQVBDownloader& FForm;
};
