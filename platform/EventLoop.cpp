#include "platform/EventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace {
TEventLoop* GMain = nullptr;
}

TEventLoop::TEventLoop(TClock* clock) {
  if (!clock) {
    FOwnClock = std::make_unique<TSteadyClock>();
    clock = FOwnClock.get();
  }
  FClock = clock;
  FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

TEventLoop::~TEventLoop() {
  if (GMain == this) GMain = nullptr;
  if (FWakeFd >= 0) close(FWakeFd);
}

TEventLoop& TEventLoop::Main() {
  if (!GMain) {
    static TEventLoop processLoop;
    GMain = &processLoop;
  }
  return *GMain;
}

TEventLoop* TEventLoop::SetMain(TEventLoop* loop) {
  TEventLoop* previous = GMain;
  GMain = loop;
  return previous;
}

void TEventLoop::Post(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> lock(FPostMutex);
    FPosted.push_back(std::move(call));
  }
  Wake();
}

void TEventLoop::Wake() {
  if (FWakeFd >= 0) {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(FWakeFd, &one, sizeof one);
  }
}

TEventLoop::TTimerId TEventLoop::SetTimer(int64_t intervalMs, std::function<void()> onTimer,
                                          bool repeat) {
  intervalMs = std::max<int64_t>(intervalMs, 0);
  TTimerId id = FNextId++;
  FTimers[id] = TTimer{NowMs() + intervalMs, intervalMs, repeat, std::move(onTimer)};
  return id;
}

void TEventLoop::KillTimer(TTimerId id) { FTimers.erase(id); }

TEventLoop::TWatchId TEventLoop::WatchFd(int fd, int events, std::function<void(int, int)> onReady) {
  TWatchId id = FNextId++;
  FWatches[id] = TWatch{fd, events, std::move(onReady)};
  return id;
}

void TEventLoop::ModifyWatch(TWatchId id, int events) {
  auto it = FWatches.find(id);
  if (it != FWatches.end()) it->second.Events = events;
}

void TEventLoop::Unwatch(TWatchId id) { FWatches.erase(id); }

bool TEventLoop::RunPosted() {
  // Only the calls posted before this round run now; calls they post wait for the next one,
  // so a call that re-posts itself cannot starve timers and descriptors.
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard<std::mutex> lock(FPostMutex);
    batch.swap(FPosted);
  }
  for (auto& call : batch) call();
  return !batch.empty();
}

int64_t TEventLoop::NextTimerDue() const {
  int64_t due = INT64_MAX;
  for (const auto& [id, timer] : FTimers) due = std::min(due, timer.Due);
  return due;
}

bool TEventLoop::RunDueTimers() {
  const int64_t now = NowMs();
  std::vector<std::pair<int64_t, TTimerId>> due;
  for (const auto& [id, timer] : FTimers)
    if (timer.Due <= now) due.emplace_back(timer.Due, id);
  std::sort(due.begin(), due.end());
  for (const auto& [when, id] : due) {
    auto it = FTimers.find(id);
    if (it == FTimers.end()) continue;  // killed by an earlier callback of this round
    // The callback may kill or re-create timers, so run a copy and re-find the entry after.
    auto onTimer = it->second.OnTimer;
    if (it->second.Repeat)
      it->second.Due = INT64_MAX;  // not due again inside its own callback
    else
      FTimers.erase(it);
    onTimer();
    auto again = FTimers.find(id);
    if (again != FTimers.end() && again->second.Due == INT64_MAX)
      again->second.Due = NowMs() + std::max<int64_t>(again->second.Interval, 1);
  }
  return !due.empty();
}

bool TEventLoop::PollFds(int64_t timeoutMs) {
  std::vector<pollfd> fds;
  std::vector<TWatchId> ids;
  fds.push_back(pollfd{FWakeFd, POLLIN, 0});
  ids.push_back(0);
  for (const auto& [id, watch] : FWatches) {
    short events = 0;
    if (watch.Events & fdRead) events |= POLLIN;
    if (watch.Events & fdWrite) events |= POLLOUT;
    fds.push_back(pollfd{watch.Fd, events, 0});
    ids.push_back(id);
  }
  int timeout = timeoutMs < 0 ? -1 : int(std::min<int64_t>(timeoutMs, INT_MAX));
  int n = poll(fds.data(), fds.size(), timeout);
  if (n <= 0) return false;
  bool ran = false;
  if (fds[0].revents & POLLIN) {
    uint64_t count;
    [[maybe_unused]] ssize_t r = read(FWakeFd, &count, sizeof count);
  }
  for (size_t i = 1; i < fds.size(); ++i) {
    if (!fds[i].revents) continue;
    auto it = FWatches.find(ids[i]);
    if (it == FWatches.end()) continue;  // removed by an earlier callback of this round
    int events = 0;
    if (fds[i].revents & (POLLIN | POLLHUP)) events |= fdRead;
    if (fds[i].revents & POLLOUT) events |= fdWrite;
    if (fds[i].revents & (POLLERR | POLLNVAL)) events |= fdError;
    auto onReady = it->second.OnReady;
    onReady(fds[i].fd, events);
    ran = true;
  }
  return ran;
}

bool TEventLoop::ProcessPendingMessages() {
  bool ran = RunPosted();
  ran = PollFds(0) || ran;
  ran = RunDueTimers() || ran;
  return ran;
}

bool TEventLoop::RunOnce(int64_t maxWaitMs) {
  if (ProcessPendingMessages()) return true;
  {
    std::lock_guard<std::mutex> lock(FPostMutex);
    if (!FPosted.empty()) return false;
  }
  int64_t wait = maxWaitMs;
  const int64_t due = NextTimerDue();
  if (FClock->IsManual()) {
    // Virtual time: when nothing else is ready, jump to the next timer (bounded by maxWaitMs).
    // Descriptors still get a short real wait so loopback peers can answer first.
    int64_t realWait = FWatches.empty() ? 0 : 5;
    if (PollFds(realWait)) return true;
    if (due == INT64_MAX) {
      if (maxWaitMs != 0 && FWatches.empty()) return PollFds(maxWaitMs < 0 ? 50 : std::min<int64_t>(maxWaitMs, 50));
      return false;
    }
    int64_t target = due;
    if (maxWaitMs >= 0) target = std::min(target, NowMs() + maxWaitMs);
    FClock->AdvanceTo(target);
    return RunDueTimers();
  }
  if (due != INT64_MAX) {
    int64_t untilDue = std::max<int64_t>(due - NowMs(), 0);
    wait = wait < 0 ? untilDue : std::min(wait, untilDue);
  }
  bool ran = PollFds(wait);
  ran = RunPosted() || ran;
  ran = RunDueTimers() || ran;
  return ran;
}

int TEventLoop::Exec() {
  FLevels.push_back(TLevel{});
  const size_t level = FLevels.size() - 1;
  while (!FLevels[level].QuitAsked) RunOnce(-1);
  int code = FLevels[level].Code;
  FLevels.pop_back();
  return code;
}

void TEventLoop::Quit(int code) {
  if (FLevels.empty()) return;
  FLevels.back().QuitAsked = true;
  FLevels.back().Code = code;
  Wake();
}

void TEventLoop::PumpFor(int64_t ms) {
  const int64_t end = NowMs() + ms;
  if (FClock->IsManual()) {
    // Advance virtual time in steps so that timers due inside the wait fire in order.
    while (NowMs() < end) {
      ProcessPendingMessages();
      int64_t due = std::min(NextTimerDue(), end);
      FClock->AdvanceTo(due);
    }
    ProcessPendingMessages();
    return;
  }
  for (int64_t left = ms; left > 0; left = end - NowMs()) RunOnce(left);
  ProcessPendingMessages();
}
