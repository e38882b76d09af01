#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Clock.h"

// The one message loop of the GUI thread. Everything that happens later goes through it:
// posted calls, timers, file-descriptor watches (the X connection, libcurl's sockets), the
// waits that pump messages themselves (ProcessPendingMessages) and nested loops for modal
// windows (Exec/Quit). Posted calls run before timers, as window messages run before
// WM_TIMER. Post may be called from any thread; everything else belongs to the loop's thread.
class TEventLoop {
public:
  using TTimerId = uint64_t;
  using TWatchId = uint64_t;
  enum : int { fdRead = 1, fdWrite = 2, fdError = 4 };

  // clock: null means a steady clock owned by the loop.
  explicit TEventLoop(TClock* clock = nullptr);
  ~TEventLoop();
  TEventLoop(const TEventLoop&) = delete;
  TEventLoop& operator=(const TEventLoop&) = delete;

  // The process-wide GUI loop. SetMain installs another one (tests) and returns the previous.
  static TEventLoop& Main();
  static TEventLoop* SetMain(TEventLoop* loop);

  TClock& Clock() const { return *FClock; }
  int64_t NowMs() const { return FClock->NowMs(); }

  void Post(std::function<void()> call);
  // Releases the object after the current event has returned: the way a callback frees
  // the object that raised it.
  template <class T>
  void DeleteLater(std::unique_ptr<T> object) {
    std::shared_ptr<T> holder(std::move(object));
    Post([holder]() mutable { holder.reset(); });
  }

  // A timer fires first after intervalMs, then (when repeating) every intervalMs counted
  // from the end of its previous call. Timers due at the same moment fire in creation order.
  TTimerId SetTimer(int64_t intervalMs, std::function<void()> onTimer, bool repeat = true);
  TTimerId SingleShot(int64_t delayMs, std::function<void()> onTimer) {
    return SetTimer(delayMs, std::move(onTimer), false);
  }
  void KillTimer(TTimerId id);
  bool TimerActive(TTimerId id) const { return FTimers.count(id) != 0; }

  // onReady(fd, events) receives fdRead/fdWrite/fdError.
  TWatchId WatchFd(int fd, int events, std::function<void(int, int)> onReady);
  void ModifyWatch(TWatchId id, int events);
  void Unwatch(TWatchId id);

  // Runs what is ready now (posted calls, due timers, ready descriptors) without blocking.
  // Returns true when anything ran.
  bool ProcessPendingMessages();
  // Runs until Quit is called for this level; levels nest. Returns Quit's code.
  int Exec();
  void Quit(int code = 0);
  int Depth() const { return int(FLevels.size()); }
  // One round: waits at most maxWaitMs (-1: until something happens) and runs what is ready.
  bool RunOnce(int64_t maxWaitMs);
  // Pumps the loop for the given time (the pumped sleeps of the installer's waits).
  void PumpFor(int64_t ms);

private:
  struct TTimer {
    int64_t Due;
    int64_t Interval;
    bool Repeat;
    std::function<void()> OnTimer;
  };
  struct TWatch {
    int Fd;
    int Events;
    std::function<void(int, int)> OnReady;
  };
  struct TLevel {
    bool QuitAsked{false};
    int Code{0};
  };

  bool RunPosted();
  bool RunDueTimers();
  bool PollFds(int64_t timeoutMs);
  int64_t NextTimerDue() const;
  void Wake();

  std::unique_ptr<TClock> FOwnClock;
  TClock* FClock{nullptr};
  std::mutex FPostMutex;
  std::deque<std::function<void()>> FPosted;
  std::map<TTimerId, TTimer> FTimers;
  std::map<TWatchId, TWatch> FWatches;
  std::vector<TLevel> FLevels;
  uint64_t FNextId{1};
  int FWakeFd{-1};
};
