#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class TDriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// Drives as the installer's free-space rules see them. On Linux a path's drive is the mount
// point that holds it; the fake has Windows drive letters ("C:") with set types and free space.
class TDrives {
public:
  virtual ~TDrives() = default;
  // The drive of path ("D:" / "/home"); empty when it has none.
  virtual std::string DriveOf(const std::string& path) const = 0;
  virtual TDriveType TypeOf(const std::string& drive) const = 0;
  // The local fixed drives, in the platform's order, as roots with a trailing separator
  // ("C:\\", "/home/"): IncludeTrailingPathDelimiter(DriveOf(path)) has the same form.
  virtual std::vector<std::string> LogicalDrives() const = 0;
  // Free bytes available to the caller on the drive holding path; false when it cannot be measured.
  virtual bool FreeSpace(const std::string& path, int64_t& freeBytes) const = 0;
};
