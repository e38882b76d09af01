#include "platform/fake/FakePlatform.h"

#include "platform/RegistryStore.h"
#include "platform/fake/FakeDebugOutput.h"
#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeInstanceLocks.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeSpecialFolders.h"
#include "platform/fake/FakeSystemInfo.h"

TFakePlatform::TFakePlatform() {
  auto files = std::make_unique<TFakeFileSystem>();
  auto folders = std::make_unique<TFakeSpecialFolders>();
  FDrives = std::make_unique<TFakeDrives>(*files);
  FRegistry = std::make_unique<TRegistryStore>(*files, folders->Folder(TFolderKind::CommonAppData) + "\\Registry\\HKLM.reg",
                                               folders->Folder(TFolderKind::AppData) + "\\Registry\\HKCU.reg");
  FFiles = std::move(files);
  FFolders = std::move(folders);
  FEnv = std::make_unique<TFakeEnvironment>();
  FProcesses = std::make_unique<TFakeProcesses>();
  FSystem = std::make_unique<TFakeSystemInfo>();
  FClock = std::make_unique<TManualClock>();
  FDebug = std::make_unique<TFakeDebugOutput>();
  FLocks = std::make_unique<TFakeInstanceLocks>();
}

TFakePlatform::~TFakePlatform() = default;

// The members are created as these types above, so the downcasts hold.
TFakeFileSystem& TFakePlatform::FakeFiles() const { return static_cast<TFakeFileSystem&>(Files()); }
TFakeDrives& TFakePlatform::FakeDrives() const { return static_cast<TFakeDrives&>(Drives()); }
TFakeSpecialFolders& TFakePlatform::FakeFolders() const { return static_cast<TFakeSpecialFolders&>(Folders()); }
TFakeEnvironment& TFakePlatform::FakeEnv() const { return static_cast<TFakeEnvironment&>(Env()); }
TFakeProcesses& TFakePlatform::FakeProcesses() const { return static_cast<TFakeProcesses&>(Processes()); }
TFakeSystemInfo& TFakePlatform::FakeSystem() const { return static_cast<TFakeSystemInfo&>(System()); }
TManualClock& TFakePlatform::ManualClock() const { return static_cast<TManualClock&>(Clock()); }
TFakeDebugOutput& TFakePlatform::FakeDebug() const { return static_cast<TFakeDebugOutput&>(Debug()); }
TFakeInstanceLocks& TFakePlatform::FakeLocks() const { return static_cast<TFakeInstanceLocks&>(Locks()); }
