#include "platform/WindowSystem.h"

#include <cstdlib>

#include "platform/EventLoop.h"
#include "platform/HeadlessWindowSystem.h"

namespace {

std::unique_ptr<TWindowSystem>& Slot() {
  static std::unique_ptr<TWindowSystem> system;
  return system;
}

std::string EnvValue(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

TMonitorInfo TWindowSystem::PrimaryMonitor() const {
  const std::vector<TMonitorInfo> monitors = Monitors();
  for (const TMonitorInfo& m : monitors)
    if (m.Primary) return m;
  return monitors.empty() ? TMonitorInfo{} : monitors.front();
}

TWindowSystem& TWindowSystem::Current() {
  if (!Slot()) Slot() = CreateWindowSystem(TEventLoop::Main());
  return *Slot();
}

std::unique_ptr<TWindowSystem> TWindowSystem::Install(std::unique_ptr<TWindowSystem> system) {
  std::unique_ptr<TWindowSystem> previous = std::move(Slot());
  Slot() = std::move(system);
  return previous;
}

bool UseHeadlessWindows(const std::string& display, const std::string& headlessFlag) {
  return display.empty() || headlessFlag == "1";
}

std::unique_ptr<TWindowSystem> CreateWindowSystem(TEventLoop& loop) {
  // NOTE: the X11 backend is not built yet; every process gets the headless backend until it
  // joins here, chosen by the same rule.
  (void)UseHeadlessWindows(EnvValue("DISPLAY"), EnvValue("QVB_HEADLESS"));
  return std::make_unique<THeadlessWindowSystem>(loop);
}
