#include "public/rdcontrol/TaskbarProgress.h"

#include <fmt/format.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/EventLoop.h"
#include "platform/Platform.h"

namespace {

struct TTaskbarState {
  std::string DesktopId{"qvb-installer.desktop"};
  std::unique_ptr<TProcess> InFlight;
  std::optional<double> Pending;
  std::optional<double> LastSent;
  bool FlushScheduled{false};
};

TTaskbarState& State() {
  static auto* state = new TTaskbarState;  // outlives every caller at exit
  return *state;
}

bool SessionBusExists() {
  TEnvironment& env = TPlatform::Current().Env();
  return !env.Get("DBUS_SESSION_BUS_ADDRESS").empty();
}

void Send(TTaskbarState& s, double fraction) {
  TStartRequest request;
  request.Executable = "gdbus";
  request.Parameters = TaskbarSignalParameters(s.DesktopId, fraction);
  int error = 0;
  s.InFlight = TPlatform::Current().Processes().Start(request, &error);
  s.LastSent = fraction;
}

}  // namespace

std::string TaskbarSignalParameters(const std::string& desktopId, double fraction) {
  return fmt::format(
      "emit --session --object-path / --signal com.canonical.Unity.LauncherEntry.Update "
      "'application://{}' \"{{'progress': <{:.4f}>, 'progress-visible': <true>}}\"",
      desktopId, fraction);
}

void SetTaskbarDesktopId(const std::string& id) {
  State().DesktopId = id;
}

namespace {

constexpr int64_t FlushRetryMs = 50;

// Sends the value that waited for the previous process, once that one has ended.
void Flush() {
  TTaskbarState& s = State();
  s.FlushScheduled = false;
  if (!s.Pending) return;
  if (s.InFlight && s.InFlight->IsRunning()) {
    s.FlushScheduled = true;
    TEventLoop::Main().SingleShot(FlushRetryMs, Flush);
    return;
  }
  double fraction = *s.Pending;
  s.Pending.reset();
  Send(s, fraction);
}

}  // namespace

void SetTaskbarProgress(int64_t completed, int64_t total) {
  try {
    if (total <= 0 || !SessionBusExists()) return;
    double fraction = double(std::clamp<int64_t>(completed, 0, total)) / double(total);
    TTaskbarState& s = State();
    if (s.InFlight && s.InFlight->IsRunning()) {
      s.Pending = fraction;
      if (!s.FlushScheduled) {
        s.FlushScheduled = true;
        TEventLoop::Main().SingleShot(FlushRetryMs, Flush);
      }
      return;
    }
    s.Pending.reset();
    if (s.LastSent && *s.LastSent == fraction) return;
    Send(s, fraction);
  } catch (...) {
    // The taskbar mirror is decoration: nothing of it may reach the caller.
  }
}
