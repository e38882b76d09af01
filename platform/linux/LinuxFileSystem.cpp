// Sections: helpers; queries; folders; whole-file reads and writes (the atomic replace);
// attributes; listing; locks.
#include "platform/linux/LinuxFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <fstream>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>

#include "platform/linux/LinuxFile.h"

// ---- helpers --------------------------------------------------------------------------------

namespace {

constexpr mode_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

int ErrorOr(int fallback) { return errno ? errno : fallback; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The process's file creation mask, read without changing it (umask() would, for a moment).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, 6, "Umask:") == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
  return 022;
}

bool WriteAllFd(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= size_t(n);
  }
  return true;
}

// A file whose read-only attribute is set refuses to be written, also for root (who would
// otherwise pass the permission check), as the Windows rules expect.
int RefuseReadOnly(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return 0;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  return (st.st_mode & WriteBits) == 0 ? EACCES : 0;
}

bool ReadStoredBits(const std::string& path, uint32_t& bits) {
  char text[32];
  const ssize_t n = ::getxattr(path.c_str(), TLinuxFileSystem::AttributeName, text, sizeof text - 1);
  if (n <= 0) return false;
  text[n] = 0;
  bits = uint32_t(std::strtoul(text, nullptr, 10));
  return true;
}

void CopyStoredBits(const std::string& from, int toFd) {
  char text[32];
  const ssize_t n = ::getxattr(from.c_str(), TLinuxFileSystem::AttributeName, text, sizeof text);
  if (n > 0) ::fsetxattr(toFd, TLinuxFileSystem::AttributeName, text, size_t(n), 0);
}

class TLinuxFileLock : public TFileLock {
public:
  explicit TLinuxFileLock(int fd) : FFd(fd) {}
  ~TLinuxFileLock() override { ::close(FFd); }

private:
  int FFd;
};

}  // namespace

void TLinuxFileSystem::SetUserFilesOwner(uid_t uid, gid_t gid, const std::string& home) {
  FHasUserOwner = !home.empty() && home != "/";
  FUserUid = uid;
  FUserGid = gid;
  FUserHome = home;
  while (FUserHome.size() > 1 && FUserHome.back() == '/') FUserHome.pop_back();
}

void TLinuxFileSystem::Adopt(const std::string& path) const {
  if (!FHasUserOwner) return;
  std::string target = path;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  const bool inHome = target.compare(0, FUserHome.size(), FUserHome) == 0 &&
                      (target.size() == FUserHome.size() || target[FUserHome.size()] == '/');
  if (inHome) (void)::lchown(target.c_str(), FUserUid, FUserGid);
}

// ---- queries --------------------------------------------------------------------------------

std::string TLinuxFileSystem::CurrentFolder() const {
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return "./";
  std::string folder = buffer;
  if (folder.back() != '/') folder += '/';
  return folder;
}

bool TLinuxFileSystem::FileExists(const std::string& path) const {
  struct stat st{};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool TLinuxFileSystem::FolderExists(const std::string& path) const {
  struct stat st{};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t TLinuxFileSystem::FileSize(const std::string& path) const {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return st.st_size;
}

// ---- folders --------------------------------------------------------------------------------

int TLinuxFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0) return errno;
  Adopt(path);
  return 0;
}

int TLinuxFileSystem::ForceFolders(const std::string& path) {
  if (path.empty()) return ENOENT;
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (FolderExists(folder)) return 0;
  // Create from the top down, each missing level once.
  size_t pos = folder.front() == '/' ? 1 : 0;
  while (pos <= folder.size()) {
    size_t next = folder.find('/', pos);
    if (next == std::string::npos) next = folder.size();
    const std::string part = folder.substr(0, next);
    if (!part.empty() && !FolderExists(part)) {
      if (::mkdir(part.c_str(), 0777) != 0) {
        const int error = errno;
        if (error != EEXIST) return error;
        if (!FolderExists(part)) return ENOTDIR;
      } else {
        Adopt(part);
      }
    }
    pos = next + 1;
  }
  return 0;
}

int TLinuxFileSystem::RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0 ? 0 : errno; }

// ---- whole-file reads and writes --------------------------------------------------------------

int TLinuxFileSystem::ReadAll(const std::string& path, std::string& bytes) const {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return error;
    }
    if (n == 0) break;
    bytes.append(buffer, size_t(n));
  }
  ::close(fd);
  return 0;
}

// Writes a temporary file beside path, syncs it, gives it the old file's mode, owner and
// attributes, renames it over path and syncs the folder: a crash leaves the old content or
// the new, never a mix, and a replaced file keeps its permissions.
template <class TWriter>
int TLinuxFileSystem::Replace(const std::string& path, TWriter&& writeTo) {
  if (path.empty()) return ENOENT;
  if (const int refused = RefuseReadOnly(path)) return refused;
  std::string temp = path + ".tmp.XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  struct stat old{};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  if (!writeTo(fd)) error = ErrorOr(EIO);
  if (!error) {
    if (replacing) {
      (void)::fchmod(fd, old.st_mode & 07777);
      if (geteuid() == 0) (void)::fchown(fd, old.st_uid, old.st_gid);
      CopyStoredBits(path, fd);
    } else {
      (void)::fchmod(fd, 0666 & ~CurrentUmask());
    }
    if (::fsync(fd) != 0) error = ErrorOr(EIO);
  }
  if (::close(fd) != 0 && !error) error = ErrorOr(EIO);
  if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  if (!replacing) Adopt(path);
  const int dirFd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    (void)::fsync(dirFd);
    ::close(dirFd);
  }
  return 0;
}

int TLinuxFileSystem::WriteAtomic(const std::string& path, const std::string& bytes) {
  return Replace(path, [&](int fd) { return WriteAllFd(fd, bytes.data(), bytes.size()); });
}

int TLinuxFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  const int error = Replace(to, [&](int out) {
    char buffer[1 << 16];
    for (;;) {
      const ssize_t n = ::read(in, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      if (!WriteAllFd(out, buffer, size_t(n))) return false;
    }
  });
  ::close(in);
  return error;
}

int TLinuxFileSystem::Append(const std::string& path, const std::string& bytes) {
  if (const int refused = RefuseReadOnly(path)) return refused;
  const bool existed = FileExists(path);
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = WriteAllFd(fd, bytes.data(), bytes.size()) ? 0 : ErrorOr(EIO);
  if (::close(fd) != 0 && !error) error = ErrorOr(EIO);
  if (!existed) Adopt(path);
  return error;
}

int TLinuxFileSystem::DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int TLinuxFileSystem::RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::unique_ptr<TFile> TLinuxFileSystem::Open(const std::string& path, TOpenMode mode, int* error) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case TOpenMode::Read: flags |= O_RDONLY; break;
    case TOpenMode::ReadWrite: flags |= O_RDWR; break;
    case TOpenMode::OpenOrCreate: flags |= O_RDWR | O_CREAT; break;
    case TOpenMode::CreateAlways: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  int refused = mode == TOpenMode::Read ? 0 : RefuseReadOnly(path);
  if (refused) {
    if (error) *error = refused;
    return nullptr;
  }
  const bool existed = FileExists(path);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    if (error) *error = errno;
    return nullptr;
  }
  if (!existed) Adopt(path);
  if (error) *error = 0;
  return std::make_unique<TLinuxFile>(fd);
}

// ---- attributes -----------------------------------------------------------------------------

uint32_t TLinuxFileSystem::GetAttributes(const std::string& path) const {
  struct stat st{};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return faInvalid;
  const bool folder = S_ISDIR(st.st_mode);
  uint32_t bits = 0;
  if (!ReadStoredBits(path, bits)) bits = folder ? 0u : uint32_t(faArchive);
  bits &= ~uint32_t(faReadOnly | faDirectory | faNormal);
  if (folder) bits |= faDirectory;
  if ((st.st_mode & WriteBits) == 0) bits |= faReadOnly;
  return bits == 0 ? uint32_t(faNormal) : bits;
}

int TLinuxFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return errno;
  const bool readOnly = (attributes & faReadOnly) != 0;
  const mode_t writable = st.st_mode | S_IWUSR;
  // User attributes need write access to the file, so the write bit goes first and the
  // read-only state last.
  if ((st.st_mode & WriteBits) == 0 && ::chmod(path.c_str(), writable & 07777) != 0) return errno;
  const std::string text = std::to_string(attributes & ~uint32_t(faReadOnly | faDirectory | faNormal));
  if (::setxattr(path.c_str(), AttributeName, text.data(), text.size(), 0) != 0) {
    // NOTE: file systems without user attributes (tmpfs on older kernels) simply do not keep
    // these bits; only a real failure is reported.
    const int error = errno;
    if (error != ENOTSUP && error != EPERM) return error;
  }
  const mode_t target = readOnly ? (st.st_mode & ~WriteBits) : ((st.st_mode & WriteBits) ? st.st_mode : writable);
  if (::chmod(path.c_str(), target & 07777) != 0) return errno;
  return 0;
}

int TLinuxFileSystem::MakeExecutable(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return errno;
  mode_t mode = st.st_mode | S_IXUSR;
  if (st.st_mode & S_IRGRP) mode |= S_IXGRP;
  if (st.st_mode & S_IROTH) mode |= S_IXOTH;
  return ::chmod(path.c_str(), mode & 07777) == 0 ? 0 : errno;
}

// ---- listing --------------------------------------------------------------------------------

std::vector<TDirEntry> TLinuxFileSystem::List(const std::string& pattern) const {
  std::vector<TDirEntry> entries;
  const size_t slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : pattern.substr(0, slash));
  std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  if (mask == "*.*") mask = "*";  // the Windows form for "every name"
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return entries;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (::fnmatch(mask.c_str(), name.c_str(), 0) != 0) continue;
    const std::string full = (folder == "/" ? "" : folder) + "/" + name;
    const uint32_t attributes = GetAttributes(full);
    if (attributes == faInvalid) continue;  // removed meanwhile, or a dangling link
    const int64_t size = FileSize(full);
    entries.push_back({name, size < 0 ? 0 : size, attributes});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const TDirEntry& a, const TDirEntry& b) { return a.Name < b.Name; });
  return entries;
}

// ---- locks ----------------------------------------------------------------------------------

std::unique_ptr<TFileLock> TLinuxFileSystem::Lock(const std::string& lockPath, bool wait, int* error) {
  const bool existed = FileExists(lockPath);
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // A lock file created by another user may be writable only for that user; a read-only
  // descriptor locks just as well.
  if (fd < 0 && (errno == EACCES || errno == EPERM)) fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return nullptr;
  }
  if (!existed) {
    (void)::fchmod(fd, 0666);  // every user's process must be able to take the lock
    Adopt(lockPath);
  }
  int result;
  do {
    result = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    if (error) *error = errno;
    ::close(fd);
    return nullptr;
  }
  if (error) *error = 0;
  return std::make_unique<TLinuxFileLock>(fd);
}

std::unique_ptr<TFileLock> TLinuxFileSystem::LockExclusive(const std::string& lockPath, int* error) {
  return Lock(lockPath, true, error);
}

std::unique_ptr<TFileLock> TLinuxFileSystem::TryLockExclusive(const std::string& lockPath, int* error) {
  return Lock(lockPath, false, error);
}
