#pragma once
#include "platform/Platform.h"

class TFakeFileSystem;
class TFakeDrives;
class TFakeSpecialFolders;
class TFakeEnvironment;
class TFakeProcesses;
class TFakeSystemInfo;
class TFakeDebugOutput;
class TFakeInstanceLocks;

// The in-memory platform for unit tests: Windows paths and drives, a manual clock, recorded
// process starts, collected debug lines. The concrete fakes are reachable to arrange a test
// (FakeFiles().AddDrive("D:"), FakeDrives().SetFreeSpace("C:", 100 << 20), ...). The registry
// store keeps its hives in the fake file system.
class TFakePlatform : public TPlatform {
public:
  TFakePlatform();
  ~TFakePlatform() override;

  TFakeFileSystem& FakeFiles() const;
  TFakeDrives& FakeDrives() const;
  TFakeSpecialFolders& FakeFolders() const;
  TFakeEnvironment& FakeEnv() const;
  TFakeProcesses& FakeProcesses() const;
  TFakeSystemInfo& FakeSystem() const;
  TManualClock& ManualClock() const;
  TFakeDebugOutput& FakeDebug() const;
  TFakeInstanceLocks& FakeLocks() const;
};
