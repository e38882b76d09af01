#pragma once
#include <memory>
#include <sys/types.h>
#include <vector>

#include "platform/Processes.h"

// Children this process no longer watches; they are reaped on later calls so that none
// stays a zombie for long.
class TChildReaper {
public:
  void Adopt(pid_t pid) { FPids.push_back(pid); }
  void Reap();

private:
  std::vector<pid_t> FPids;
};

class TLinuxProcess : public TProcess {
public:
  TLinuxProcess(pid_t pid, std::shared_ptr<TChildReaper> reaper) : FPid(pid), FReaper(std::move(reaper)) {}
  ~TLinuxProcess() override;
  bool IsRunning() override;
  // 259 (the Windows "still active" code) while running; 128 + signal for a killed child.
  int ExitCode() override;
  int Pid() const override { return int(FPid); }

private:
  pid_t FPid;
  bool FDone{false};
  int FExitCode{259};
  std::shared_ptr<TChildReaper> FReaper;
};

// Programs started with posix_spawn, the parameter string split by the Windows rules;
// documents and URLs opened with xdg-open.
class TLinuxProcesses : public TProcesses {
public:
  std::unique_ptr<TProcess> Start(const TStartRequest& request, int* error = nullptr) override;
  // 42 once xdg-open runs, 31 when it cannot be started, 2 when a local file is missing.
  int ShellOpen(const TStartRequest& request) override;
  [[noreturn]] void ExitNow() override;
  int CurrentPid() const override;

private:
  std::shared_ptr<TChildReaper> FReaper{std::make_shared<TChildReaper>()};
};
