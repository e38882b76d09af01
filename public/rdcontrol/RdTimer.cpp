#include "public/rdcontrol/RdTimer.h"

#include <atomic>

#include "public/rdcontrol/ApplicationException.h"
#include "public/rdcontrol/PropertyTable.h"

namespace {
std::atomic<int> GLiveTimers{0};
}

const TClassInfo& TRdTimer::StaticClass() {
  using C = TRdTimer;
  static const TClassInfo info = TPropertyTable<C>("TRdTimer", &TComponent::StaticClass())
                                     .Creatable()
                                     .Boolean("Enabled", &C::Enabled, &C::SetEnabled, true)
                                     .Integer("Interval", &C::Interval, &C::SetInterval, 1000)
                                     .Event("OnTimer")
                                     .Build();
  return info;
}

TRdTimer::TRdTimer(TComponent* owner) : TComponent(owner), FLoop(&TEventLoop::Main()) {}

TRdTimer::~TRdTimer() {
  if (FTimerId) {
    FLoop->KillTimer(FTimerId);
    --GLiveTimers;
  }
}

int TRdTimer::LiveTimers() {
  return GLiveTimers;
}

void TRdTimer::SetEnabled(bool on) {
  FEnabled = on;
  UpdateTimer();
}

void TRdTimer::SetInterval(int ms) {
  FInterval = ms;
  UpdateTimer();
}

void TRdTimer::SetOnTimer(TNotifyEvent handler) {
  FOnTimer = std::move(handler);
  UpdateTimer();
}

void TRdTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TRdTimer::UpdateTimer() {
  if (FTimerId) {
    FLoop->KillTimer(FTimerId);
    FTimerId = 0;
    --GLiveTimers;
  }
  if (!FEnabled || FInterval <= 0 || !FOnTimer || IsLoading() || IsDestroying()) return;
  FTimerId = FLoop->SetTimer(
      FInterval, [this] { Tick(); }, true);
  ++GLiveTimers;
}

void TRdTimer::Tick() {
  if (FHandlingException || !FOnTimer) return;
  // A copy: the handler may assign a new OnTimer (which re-creates the timer) while it runs.
  TNotifyEvent handler = FOnTimer;
  try {
    handler(this);
  } catch (...) {
    FHandlingException = true;
    HandleApplicationException(std::current_exception());
    FHandlingException = false;
  }
}
