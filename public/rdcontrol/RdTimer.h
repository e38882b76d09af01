#pragma once
#include "platform/EventLoop.h"
#include "public/rdcontrol/Component.h"

// The library's windowless timer. Every change of Enabled, Interval or OnTimer kills the running
// timer and starts a new one when Enabled, Interval > 0 and OnTimer is set, so the next tick
// comes a full interval after the change. Ticks arrive through the event loop that was the main
// loop when the timer was created. An exception from OnTimer goes to the application's exception
// handling (ticks that arrive meanwhile are skipped) and the timer keeps running.
class TRdTimer : public TComponent {
  QVB_PERSISTENT(TRdTimer)

 public:
  explicit TRdTimer(TComponent* owner = nullptr);
  ~TRdTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool on);
  int Interval() const { return FInterval; }
  void SetInterval(int ms);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  // NOTE: an event with a setter, not a plain member, because assigning it re-creates the timer.
  void SetOnTimer(TNotifyEvent handler);

  // A platform timer is running now.
  bool Running() const { return FTimerId != 0; }
  // Library timers alive in the process.
  static int LiveTimers();

  void Loaded() override;

 private:
  void UpdateTimer();
  void Tick();

  TEventLoop* FLoop;
  TEventLoop::TTimerId FTimerId{0};
  bool FEnabled{true};
  int FInterval{1000};
  TNotifyEvent FOnTimer;
  bool FHandlingException{false};
};
