#pragma once
#include <string>
#include <vector>

#include "platform/Drives.h"

// Mount points as drives. A path's drive is the mount point that holds it (read from
// mountinfo); its type comes from the file system type and, for block devices, from the
// kernel's removable flag:
//   network file systems (nfs, cifs, smb3, sshfs, ...)       -> Remote
//   iso9660, udf                                             -> CdRom
//   tmpfs, ramfs                                             -> RamDisk
//   kernel pseudo file systems (proc, sysfs, cgroup, ...)    -> Unknown
//   removable block devices, mounts under /media, /run/media -> Removable
//   everything else (ext4, xfs, btrfs, overlay, ...)         -> Fixed
// The files read are parameters so that tests can hand in a mount table of their own.
class TLinuxDrives : public TDrives {
public:
  struct TMount {
    std::string Point;   // without trailing '/', except the root
    std::string Type;    // file system type
    std::string Source;  // "/dev/sda1", "server:/export", ...
  };

  explicit TLinuxDrives(std::string mountInfoFile = "/proc/self/mountinfo",
                        std::string sysBlockFolder = "/sys/class/block");

  std::string DriveOf(const std::string& path) const override;
  TDriveType TypeOf(const std::string& drive) const override;
  // Mount points with trailing '/', in mount order.
  std::vector<std::string> LogicalDrives() const override;
  bool FreeSpace(const std::string& path, int64_t& freeBytes) const override;

  std::vector<TMount> Mounts() const;  // later mounts over the same point replace earlier ones
  TDriveType Classify(const TMount& mount) const;

private:
  bool IsRemovableDevice(const std::string& source) const;
  std::string FMountInfo;
  std::string FSysBlock;
};
