#include "platform/linux/LinuxDrives.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as octal escapes.
std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const std::string digits = text.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string::npos) {
        out += char(std::strtol(digits.c_str(), nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string StripSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// An absolute, normalised form of path whose existing part has its links resolved: the
// path may name a folder that is yet to be created.
std::string Canonical(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute.front() != '/') {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return std::string();
    absolute = std::string(cwd) + "/" + absolute;
  }
  std::vector<std::string> parts;
  std::stringstream in(absolute);
  std::string part;
  while (std::getline(in, part, '/')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  // Resolve the longest existing prefix, then append the rest.
  for (size_t keep = parts.size() + 1; keep-- > 0;) {
    std::string prefix = "/";
    for (size_t i = 0; i < keep; ++i) prefix += (i ? "/" : "") + parts[i];
    char resolved[PATH_MAX];
    if (!realpath(prefix.c_str(), resolved)) continue;
    std::string result = resolved;
    for (size_t i = keep; i < parts.size(); ++i) result += (result == "/" ? "" : "/") + parts[i];
    return result;
  }
  return absolute;
}

bool Within(const std::string& path, const std::string& point) {
  if (point == "/") return true;
  return path.compare(0, point.size(), point) == 0 && (path.size() == point.size() || path[point.size()] == '/');
}

const std::set<std::string>& NetworkTypes() {
  static const std::set<std::string> types{
      "nfs",  "nfs4",     "cifs", "smb3",      "smbfs",          "sshfs", "fuse.sshfs", "9p",
      "afs",  "ceph",     "fuse.ceph", "glusterfs", "fuse.glusterfs", "davfs", "fuse.davfs2",
      "ncpfs", "lustre",  "fuse.rclone", "fuse.s3fs", "coda", "gfs2", "ocfs2"};
  return types;
}

const std::set<std::string>& PseudoTypes() {
  static const std::set<std::string> types{
      "proc",      "sysfs",     "devtmpfs", "devpts",   "cgroup",  "cgroup2",     "securityfs",
      "debugfs",   "tracefs",   "pstore",   "bpf",      "mqueue",  "hugetlbfs",   "configfs",
      "fusectl",   "autofs",    "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs",
      "squashfs",  "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "nfsd", "rootfs"};
  return types;
}

}  // namespace

TLinuxDrives::TLinuxDrives(std::string mountInfoFile, std::string sysBlockFolder)
    : FMountInfo(std::move(mountInfoFile)), FSysBlock(std::move(sysBlockFolder)) {}

std::vector<TLinuxDrives::TMount> TLinuxDrives::Mounts() const {
  std::vector<TMount> mounts;
  std::ifstream in(FMountInfo);
  std::string line;
  while (std::getline(in, line)) {
    // "36 35 98:0 /root /mnt/point rw,noatime master:1 - ext4 /dev/sda1 rw"
    const size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream head(line.substr(0, dash));
    std::string id, parent, device, root, point;
    if (!(head >> id >> parent >> device >> root >> point)) continue;
    std::istringstream tail(line.substr(dash + 3));
    TMount mount;
    if (!(tail >> mount.Type)) continue;
    tail >> mount.Source;
    mount.Point = StripSlash(Unescape(point));
    mount.Source = Unescape(mount.Source);
    for (auto it = mounts.begin(); it != mounts.end(); ++it)
      if (it->Point == mount.Point) {
        mounts.erase(it);
        break;
      }
    mounts.push_back(mount);
  }
  return mounts;
}

bool TLinuxDrives::IsRemovableDevice(const std::string& source) const {
  if (source.compare(0, 5, "/dev/") != 0) return false;
  std::string name = source.substr(source.rfind('/') + 1);
  auto flagOf = [](const std::string& folder) {
    std::ifstream in(folder + "/removable");
    int flag = 0;
    return (in >> flag) && flag == 1;
  };
  const std::string folder = FSysBlock + "/" + name;
  if (flagOf(folder)) return true;
  // A partition's flag lives with its disk, the parent folder in sysfs.
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved)) {
    std::string disk = resolved;
    disk = disk.substr(0, disk.rfind('/'));
    if (flagOf(disk)) return true;
  }
  return false;
}

TDriveType TLinuxDrives::Classify(const TMount& mount) const {
  if (NetworkTypes().count(mount.Type)) return TDriveType::Remote;
  if (mount.Type == "iso9660" || mount.Type == "udf") return TDriveType::CdRom;
  if (mount.Type == "tmpfs" || mount.Type == "ramfs") return TDriveType::RamDisk;
  if (PseudoTypes().count(mount.Type)) return TDriveType::Unknown;
  if (Within(mount.Point, "/media") || Within(mount.Point, "/run/media")) {
    if (mount.Point != "/media" && mount.Point != "/run/media") return TDriveType::Removable;
  }
  if (IsRemovableDevice(mount.Source)) return TDriveType::Removable;
  return TDriveType::Fixed;
}

std::string TLinuxDrives::DriveOf(const std::string& path) const {
  if (path.empty()) return std::string();
  const std::string canonical = Canonical(path);
  std::string best;
  for (const TMount& mount : Mounts())
    if (Within(canonical, mount.Point) && mount.Point.size() >= best.size()) best = mount.Point;
  return best;
}

TDriveType TLinuxDrives::TypeOf(const std::string& drive) const {
  const std::string point = StripSlash(drive);
  for (const TMount& mount : Mounts())
    if (mount.Point == point) return Classify(mount);
  return TDriveType::NoRootDir;
}

std::vector<std::string> TLinuxDrives::LogicalDrives() const {
  std::vector<std::string> drives;
  for (const TMount& mount : Mounts()) {
    if (Classify(mount) != TDriveType::Fixed) continue;
    // Containers bind single files (/etc/hosts) as mounts: only folders are drives.
    struct stat st{};
    if (::stat(mount.Point.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    drives.push_back(mount.Point == "/" ? "/" : mount.Point + "/");
  }
  return drives;
}

bool TLinuxDrives::FreeSpace(const std::string& path, int64_t& freeBytes) const {
  // The path may not exist yet: measure the nearest existing folder above it.
  std::string probe = Canonical(path);
  struct statvfs info{};
  while (!probe.empty()) {
    if (::statvfs(probe.c_str(), &info) == 0) {
      freeBytes = int64_t(info.f_bavail) * int64_t(info.f_frsize);
      return true;
    }
    if (probe == "/") break;
    const size_t slash = probe.rfind('/');
    probe = slash == 0 ? "/" : probe.substr(0, slash);
  }
  return false;
}
