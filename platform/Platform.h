#pragma once
#include <memory>

#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/Drives.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/Processes.h"
#include "platform/SpecialFolders.h"
#include "platform/SystemInfo.h"

class TRegistryStore;

// Everything the core asks of the operating system, one interface per facility. The process
// uses the Linux platform unless a test installs another one (the in-memory fake).
class TPlatform {
public:
  virtual ~TPlatform();

  static TPlatform& Current();
  // Installs platform as the current one and returns the previous owner-held instance
  // (null when the previous one was the built-in Linux platform).
  static std::unique_ptr<TPlatform> Install(std::unique_ptr<TPlatform> platform);

  TFileSystem& Files() const { return *FFiles; }
  TDrives& Drives() const { return *FDrives; }
  TSpecialFolders& Folders() const { return *FFolders; }
  TEnvironment& Env() const { return *FEnv; }
  TProcesses& Processes() const { return *FProcesses; }
  TSystemInfo& System() const { return *FSystem; }
  TClock& Clock() const { return *FClock; }
  TDebugOutput& Debug() const { return *FDebug; }
  TInstanceLocks& Locks() const { return *FLocks; }
  TRegistryStore& Registry() const { return *FRegistry; }

protected:
  TPlatform();
  std::unique_ptr<TFileSystem> FFiles;
  std::unique_ptr<TDrives> FDrives;
  std::unique_ptr<TSpecialFolders> FFolders;
  std::unique_ptr<TEnvironment> FEnv;
  std::unique_ptr<TProcesses> FProcesses;
  std::unique_ptr<TSystemInfo> FSystem;
  std::unique_ptr<TClock> FClock;
  std::unique_ptr<TDebugOutput> FDebug;
  std::unique_ptr<TInstanceLocks> FLocks;
  std::unique_ptr<TRegistryStore> FRegistry;
};

// Debug output through the current platform.
void DebugOut(const std::string& line);
