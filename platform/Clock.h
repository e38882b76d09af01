#pragma once
#include <cstdint>

// Local calendar time with milliseconds, as the log and the time stamps need it.
struct TLocalTime {
  int Year{0}, Month{0}, Day{0}, Hour{0}, Minute{0}, Second{0}, Millisecond{0};
};

// The source of time for the event loop and the platform: a monotonic millisecond count
// (the tick count) and the local time. Tests swap in TManualClock so that long waits
// (a 30 s watchdog) take no real time.
class TClock {
public:
  virtual ~TClock() = default;
  virtual int64_t NowMs() const = 0;
  virtual TLocalTime LocalTime() const = 0;
  // A manual clock lets an idle event loop jump to its next timer instead of sleeping.
  virtual bool IsManual() const { return false; }
  virtual void AdvanceTo(int64_t ms) {}
};

class TSteadyClock : public TClock {
public:
  int64_t NowMs() const override;
  TLocalTime LocalTime() const override;
};

class TManualClock : public TClock {
public:
  explicit TManualClock(int64_t startMs = 1000) : FNow(startMs) {}
  int64_t NowMs() const override { return FNow; }
  TLocalTime LocalTime() const override { return FLocal; }
  bool IsManual() const override { return true; }
  void AdvanceTo(int64_t ms) override {
    if (ms > FNow) FNow = ms;
  }
  void Advance(int64_t ms) { FNow += ms; }
  void SetLocalTime(const TLocalTime& t) { FLocal = t; }

private:
  int64_t FNow;
  TLocalTime FLocal{2021, 12, 23, 9, 5, 7, 42};
};
