#pragma once
#include <string>

// The application-data folders and the installer's own folder, found once when the object is
// made (a plain object: make it where needed, drop it after use), plus a few folder queries.
class TAppFrame {
 public:
  TAppFrame();

  // The user's roaming application data, without trailing separator.
  const std::string& AppDataPath() const { return FAppDataPath; }
  // The machine-wide application data, without trailing separator.
  const std::string& CommonAppDataPath() const { return FCommonAppDataPath; }
  // The running program's folder, with trailing separator.
  const std::string& AppPath() const { return FAppPath; }

  // Standard folders as the platform gives them, without creating them; empty when unknown.
  std::string CommonAppDataFolder() const;
  std::string DesktopFolder() const;
  // The program-files folder with a trailing " (x86)" removed: a 32-bit installer on a 64-bit
  // system installs into the 64-bit program-files folder.
  std::string NativeProgramFilesFolder() const;

  // An application-data folder that exists (machine-wide or the user's): the platform's, else
  // the registry's "Shell Folders" entry, else the path the system's layout implies; empty
  // when none of them exists.
  static std::string FallbackAppDataFolder(bool machineWide);

 private:
  std::string FAppDataPath;
  std::string FCommonAppDataPath;
  std::string FAppPath;
};
