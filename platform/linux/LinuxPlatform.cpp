#include "platform/linux/LinuxPlatform.h"

#include "platform/RegistryStore.h"
#include "platform/linux/LinuxDebugOutput.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxEnvironment.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxInstanceLocks.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxSpecialFolders.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/LinuxUser.h"

TLinuxPlatform::TLinuxPlatform() {
  auto env = std::make_unique<TLinuxEnvironment>();
  auto files = std::make_unique<TLinuxFileSystem>();
  auto folders = std::make_unique<TLinuxSpecialFolders>(*env);
  const TLinuxUser user = FindLinuxUser(*env);
  if (user.Invoking) files->SetUserFilesOwner(user.Uid, user.Gid, LinuxUserHome(*env));

  FSystem = std::make_unique<TLinuxSystemInfo>(*env, *folders);
  FLocks = std::make_unique<TLinuxInstanceLocks>(*files, *folders);
  FRegistry = std::make_unique<TRegistryStore>(*files, folders->Folder(TFolderKind::CommonAppData) + "/Registry/HKLM.reg",
                                               folders->Folder(TFolderKind::AppData) + "/Registry/HKCU.reg");
  FDrives = std::make_unique<TLinuxDrives>();
  FProcesses = std::make_unique<TLinuxProcesses>();
  FClock = std::make_unique<TSteadyClock>();
  FDebug = std::make_unique<TLinuxDebugOutput>();
  FEnv = std::move(env);
  FFiles = std::move(files);
  FFolders = std::move(folders);
}

TLinuxPlatform::~TLinuxPlatform() = default;
