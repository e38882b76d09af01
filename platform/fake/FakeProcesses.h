#pragma once
#include <vector>

#include "platform/Processes.h"

// What a fake process does, set by the test: it runs until Finish() or, when PollsLeft is
// not negative, for that many more IsRunning() calls, then ends with ExitCode.
struct TFakeProcessState {
  int Pid{0};
  bool Running{true};
  int ExitCode{0};
  int PollsLeft{-1};
  void Finish(int exitCode) {
    Running = false;
    ExitCode = exitCode;
  }
};

// Thrown by ExitNow(): the fake cannot end the test process, so the test catches this.
struct TFakeExitNow {};

// Records every Start and ShellOpen request; started processes follow a script.
class TFakeProcesses : public TProcesses {
public:
  std::unique_ptr<TProcess> Start(const TStartRequest& request, int* error = nullptr) override;
  int ShellOpen(const TStartRequest& request) override;
  [[noreturn]] void ExitNow() override;
  int CurrentPid() const override { return 4242; }

  // ---- the script
  void FailStarts(int error) { FStartError = error; }  // 0: starts succeed again
  // The result of the following shell opens, in order; when none is left, DefaultShellResult.
  void QueueShellResults(std::vector<int> results) { FShellResults = std::move(results); }
  void SetDefaultShellResult(int result) { FDefaultShellResult = result; }
  // Processes started from now on end after polls IsRunning() calls (-1: at Finish()).
  void SetNextRunPolls(int polls, int exitCode = 0) {
    FNextPolls = polls;
    FNextExitCode = exitCode;
  }

  // ---- what happened
  const std::vector<TStartRequest>& Started() const { return FStarted; }
  const std::vector<TStartRequest>& ShellOpens() const { return FShellOpens; }
  const std::vector<std::shared_ptr<TFakeProcessState>>& Processes() const { return FProcesses; }
  TFakeProcessState& LastProcess() const { return *FProcesses.back(); }
  int ExitCalls() const { return FExitCalls; }

private:
  std::vector<TStartRequest> FStarted;
  std::vector<TStartRequest> FShellOpens;
  std::vector<std::shared_ptr<TFakeProcessState>> FProcesses;
  std::vector<int> FShellResults;
  int FDefaultShellResult{42};
  int FStartError{0};
  int FNextPolls{-1};
  int FNextExitCode{0};
  int FNextPid{1000};
  int FExitCalls{0};
};
