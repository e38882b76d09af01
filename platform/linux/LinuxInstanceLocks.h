#pragma once
#include "platform/InstanceLock.h"

class TFileSystem;
class TSpecialFolders;

// A named lock is flock on "<runtime folder>/<name>.lock"; the kernel drops it when the
// holder dies, so a crashed installer never blocks the next start.
class TLinuxInstanceLocks : public TInstanceLocks {
public:
  TLinuxInstanceLocks(TFileSystem& files, const TSpecialFolders& folders) : FFiles(files), FFolders(folders) {}
  std::unique_ptr<TNamedLock> Acquire(const std::string& name) override;

  std::string LockFileOf(const std::string& name) const;

private:
  TFileSystem& FFiles;
  const TSpecialFolders& FFolders;
};
