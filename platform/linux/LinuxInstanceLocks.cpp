#include "platform/linux/LinuxInstanceLocks.h"

#include "platform/FileSystem.h"
#include "platform/SpecialFolders.h"

namespace {

class TLinuxNamedLock : public TNamedLock {
public:
  explicit TLinuxNamedLock(std::unique_ptr<TFileLock> lock) : FLock(std::move(lock)) {}

private:
  std::unique_ptr<TFileLock> FLock;
};

}  // namespace

std::string TLinuxInstanceLocks::LockFileOf(const std::string& name) const {
  // Windows names may carry a namespace ("Global\Name"); a file name takes no separators.
  std::string file = name;
  for (char& c : file)
    if (c == '/' || c == '\\') c = '_';
  return FFolders.Folder(TFolderKind::Runtime) + "/" + file + ".lock";
}

std::unique_ptr<TNamedLock> TLinuxInstanceLocks::Acquire(const std::string& name) {
  FFiles.ForceFolders(FFolders.Folder(TFolderKind::Runtime));
  auto lock = FFiles.TryLockExclusive(LockFileOf(name));
  if (!lock) return nullptr;
  return std::make_unique<TLinuxNamedLock>(std::move(lock));
}
