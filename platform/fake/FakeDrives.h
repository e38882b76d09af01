#pragma once
#include <map>

#include "platform/Drives.h"

class TFakeFileSystem;

// Drive letters of the fake file system with a type and free space each. A drive of the file
// system without settings is a fixed drive with DefaultFreeBytes free; a UNC share
// ("\\server\share") is a remote drive; anything else has no root (NoRootDir).
class TFakeDrives : public TDrives {
public:
  static constexpr int64_t DefaultFreeBytes = int64_t(100) << 30;

  explicit TFakeDrives(TFakeFileSystem& files) : FFiles(files) {}

  // Adds the drive to the file system when missing and sets its type and free space.
  void AddDrive(const std::string& drive, TDriveType type = TDriveType::Fixed,
                int64_t freeBytes = DefaultFreeBytes, bool readOnlyRoot = false);
  void SetType(const std::string& drive, TDriveType type);
  void SetFreeSpace(const std::string& drive, int64_t freeBytes);
  // The free-space query of that drive fails.
  void SetUnmeasurable(const std::string& drive, bool unmeasurable = true);

  std::string DriveOf(const std::string& path) const override;  // "D:", "\\server\share"
  TDriveType TypeOf(const std::string& drive) const override;
  std::vector<std::string> LogicalDrives() const override;  // "C:\", "D:\", ... the fixed ones
  bool FreeSpace(const std::string& path, int64_t& freeBytes) const override;

private:
  struct TInfo {
    TDriveType Type{TDriveType::Fixed};
    int64_t FreeBytes{DefaultFreeBytes};
    bool Unmeasurable{false};
  };
  static std::string Key(const std::string& drive);
  TFakeFileSystem& FFiles;
  std::map<std::string, TInfo> FInfo;  // by upper-case drive ("D:")
};
