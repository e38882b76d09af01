#include <iostream>

#include "platform/Platform.h"
#include "platform/RegistryStore.h"
#include "support/AppFrame.h"
#include "support/InstallerLog.h"
#include "support/SystemQueries.h"
#include "tools/qvbtool/Verb.h"

// qvbtool folders: every folder the installer uses, as it finds them, one name=path a line.

namespace {

int RunFolders(const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError("folders: takes no arguments");
  TPlatform& platform = TPlatform::Current();
  const TAppFrame frame;
  const std::pair<const char*, std::string> folders[] = {
      {"CommonAppData", frame.CommonAppDataPath()},
      {"AppData", frame.AppDataPath()},
      {"LocalAppData", platform.Folders().Folder(TFolderKind::LocalAppData)},
      {"Profile", GetSpecialFolder(TFolderKind::Profile)},
      {"ProgramFiles", GetSpecialFolder(TFolderKind::ProgramFiles)},
      {"ProgramFilesNative", frame.NativeProgramFilesFolder()},
      {"Desktop", frame.DesktopFolder()},
      {"Temp", GetTempFolder()},
      {"ExeFolder", frame.AppPath()},
      {"LogFolder", InstallerLogFolder()},
      {"MachineRegistry", platform.Registry().MachineHiveFile()},
      {"UserRegistry", platform.Registry().UserHiveFile()},
  };
  for (const auto& [name, path] : folders) std::cout << name << "=" << path << "\n";
  return 0;
}

TVerbRegistration registration{
    "folders", "folders                              print the folders the installer uses, name=path",
    RunFolders};

}  // namespace
