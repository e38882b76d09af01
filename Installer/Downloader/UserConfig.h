#pragma once
#include <string>

class TfrmQVBDownloader;

// The settings file "QVB1_UserConfig.ini" in the download folder and the two install markers
// the browser's setup writes into the current user's registry.
class TUserConfig {
 public:
  explicit TUserConfig(TfrmQVBDownloader& form) : FForm(form) {}

  std::string FileName() const;  // FDownloadPath + "QVB1_UserConfig.ini"
  void LoadUserConfig();
  void SaveUserConfig();
  static bool IsInstallFinished();
  static int GetBrowserStatus();

 private:
  TfrmQVBDownloader& FForm;
};
