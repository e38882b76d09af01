#pragma once
#include <string>

enum class TFolderKind {
  CommonAppData,     // machine-wide application data
  AppData,           // the user's roaming application data
  LocalAppData,      // the user's local application data
  Profile,           // the user's profile
  ProgramFiles,      // program files as a 32-bit process sees them
  ProgramFilesNative,
  Desktop,
  Temp,              // with trailing separator
  ExeFolder,         // the folder of the running program, with trailing separator
  System,            // the system folder
  Windows,           // the operating system's folder (its first two characters name the drive)
  Runtime,           // where named locks live
};

// Standard folders, without creating them. Empty when the platform cannot give one.
class TSpecialFolders {
public:
  virtual ~TSpecialFolders() = default;
  virtual std::string Folder(TFolderKind kind) const = 0;
};
