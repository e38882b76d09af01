#include "support/AppFrame.h"

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/Registry.h"
#include "support/SystemQueries.h"

namespace {

const char* const kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string WithoutTrailingSeparator(std::string path) {
  const char sep = TPlatform::Current().Files().Separator();
  // A root ("/", "C:\") keeps its separator.
  while (path.size() > 1 && (path.back() == sep || (sep == '\\' && path.back() == '/')) &&
         !(path.size() == 3 && path[1] == ':'))
    path.pop_back();
  return path;
}

std::string PlatformFolder(bool machineWide) {
  return WithoutTrailingSeparator(
      TPlatform::Current().Folders().Folder(machineWide ? TFolderKind::CommonAppData : TFolderKind::AppData));
}

std::string ShellFoldersEntry(bool machineWide) {
  try {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(machineWide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly(kShellFoldersKey)) return {};
    return WithoutTrailingSeparator(registry.ReadString(machineWide ? "Common AppData" : "AppData"));
  } catch (const ERegistryException&) {
    return {};  // a value of the wrong type counts as none
  }
}

// The layout of the Windows drive: ProgramData and Users since Windows Vista, Documents and
// Settings before.
std::string DriveBuiltFolder(bool machineWide) {
  const std::string drive = FolderDrive(TFolderKind::Windows);
  if (drive.empty()) return {};
  const std::string user = GetUserLogonName();
  if (TPlatform::Current().System().ReportedVersion().Major > 5)
    return machineWide ? DrivePath(drive, {"ProgramData"})
                       : DrivePath(drive, {"Users", user, "AppData", "Roaming"});
  return machineWide ? DrivePath(drive, {"Documents and Settings", "All Users", "Application Data"})
                     : DrivePath(drive, {"Documents and Settings", user, "Application Data"});
}

}  // namespace

TAppFrame::TAppFrame() {
  FCommonAppDataPath = PlatformFolder(true);
  if (FCommonAppDataPath.empty()) FCommonAppDataPath = FallbackAppDataFolder(true);
  FAppDataPath = PlatformFolder(false);
  if (FAppDataPath.empty()) FAppDataPath = FallbackAppDataFolder(false);
  const std::string exe = TPlatform::Current().Folders().Folder(TFolderKind::ExeFolder);
  FAppPath = exe.empty() ? exe : IncludeTrailingPathDelimiter(exe);
}

std::string TAppFrame::FallbackAppDataFolder(bool machineWide) {
  const TFileSystem& files = TPlatform::Current().Files();
  for (auto find : {PlatformFolder, ShellFoldersEntry, DriveBuiltFolder}) {
    const std::string folder = find(machineWide);
    if (!folder.empty() && files.FolderExists(folder)) return folder;
  }
  return {};
}

std::string TAppFrame::CommonAppDataFolder() const {
  return TPlatform::Current().Folders().Folder(TFolderKind::CommonAppData);
}

std::string TAppFrame::DesktopFolder() const {
  return TPlatform::Current().Folders().Folder(TFolderKind::Desktop);
}

std::string TAppFrame::NativeProgramFilesFolder() const {
  std::string folder = TPlatform::Current().Folders().Folder(TFolderKind::ProgramFiles);
  const std::string suffix = " (x86)";
  if (folder.size() >= suffix.size() && SameText(folder.substr(folder.size() - suffix.size()), suffix))
    folder.resize(folder.size() - suffix.size());
  return folder;
}
