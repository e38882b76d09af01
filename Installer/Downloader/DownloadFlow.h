#pragma once
#include <string>

class TfrmQVBDownloader;

// Descriptor first, then the package: reads the download descriptor and the developer override
// "test.ini", remembers the package MD5 across runs through the package's state file, and starts
// the package download.
class TDownloadFlow {
 public:
  static constexpr const char* MD5_INI_FILE_NAME = "dl-info-qvb.upt";

  explicit TDownloadFlow(TfrmQVBDownloader& form) : FForm(form) {}

  void StartDownload();
  void OnDescriptorDone(bool success, int code, const std::string& fileName);
  void StartPackageDownload();
  static bool CheckPackageMD5Changed(const std::string& lastMD5, const std::string& currMD5,
                                     const std::string& setupFile);
  static std::string ReadLastDownloadMD5(const std::string& stateFile);

 private:
  TfrmQVBDownloader& FForm;
};
