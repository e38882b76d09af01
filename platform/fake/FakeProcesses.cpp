#include "platform/fake/FakeProcesses.h"

namespace {

class TFakeProcess : public TProcess {
public:
  explicit TFakeProcess(std::shared_ptr<TFakeProcessState> state) : FState(std::move(state)) {}
  bool IsRunning() override {
    if (FState->Running && FState->PollsLeft >= 0 && FState->PollsLeft-- == 0) FState->Running = false;
    return FState->Running;
  }
  int ExitCode() override { return FState->Running ? 259 : FState->ExitCode; }
  int Pid() const override { return FState->Pid; }

private:
  std::shared_ptr<TFakeProcessState> FState;
};

}  // namespace

std::unique_ptr<TProcess> TFakeProcesses::Start(const TStartRequest& request, int* error) {
  FStarted.push_back(request);
  if (error) *error = FStartError;
  if (FStartError) return nullptr;
  auto state = std::make_shared<TFakeProcessState>();
  state->Pid = FNextPid++;
  state->PollsLeft = FNextPolls;
  state->ExitCode = FNextExitCode;
  FProcesses.push_back(state);
  return std::make_unique<TFakeProcess>(state);
}

int TFakeProcesses::ShellOpen(const TStartRequest& request) {
  FShellOpens.push_back(request);
  if (FShellResults.empty()) return FDefaultShellResult;
  const int result = FShellResults.front();
  FShellResults.erase(FShellResults.begin());
  return result;
}

void TFakeProcesses::ExitNow() {
  ++FExitCalls;
  throw TFakeExitNow{};
}
