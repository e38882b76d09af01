#include <iostream>

#include "platform/Platform.h"
#include "support/InstallerLog.h"
#include "tools/qvbtool/Verb.h"

// qvbtool log MESSAGE

namespace {

const char* const kLogFile = "QMRInstaller_Downloader.log";

int RunLog(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("log: expected one MESSAGE (quote it when it has blanks)");
  const std::string folder = InstallerLogFolder();
  if (folder.empty()) {
    std::cerr << "qvbtool: log: the machine-wide application-data folder is unknown\n";
    return 1;
  }
  // The log writer never reports a failure, so the tool looks at the file: it must have grown.
  TFileSystem& files = TPlatform::Current().Files();
  const std::string path = folder + kLogFile;
  const int64_t before = files.FileSize(path);
  WriteInstallerLog(args[0], kLogFile);
  if (files.FileSize(path) <= before) {
    std::cerr << "qvbtool: log: cannot write '" << path << "'\n";
    return 1;
  }
  return 0;
}

TVerbRegistration registration{
    "log", "log MESSAGE                          append a line to the installer log", RunLog};

}  // namespace
