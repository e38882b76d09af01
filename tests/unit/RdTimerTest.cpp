#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/EventLoop.h"
#include "public/rdcontrol/ApplicationException.h"
#include "public/rdcontrol/RdTimer.h"

namespace {

class RdTimerTest : public ::testing::Test {
 protected:
  void SetUp() override { Previous = TEventLoop::SetMain(&Loop); }
  void TearDown() override {
    SetApplicationExceptionHandler(nullptr);
    TEventLoop::SetMain(Previous);
  }
  int64_t Now() const { return Clock.NowMs(); }

  TManualClock Clock{0};
  TEventLoop Loop{&Clock};
  TEventLoop* Previous{};
};

TEST_F(RdTimerTest, RunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
  TRdTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000);
  EXPECT_FALSE(timer.Running()) << "no handler yet";
  int ticks = 0;
  timer.SetOnTimer([&](TComponent*) { ++ticks; });
  EXPECT_TRUE(timer.Running());
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  timer.SetInterval(100);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  Loop.PumpFor(1000);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  Loop.PumpFor(1000);
  EXPECT_EQ(ticks, 10);
}

TEST_F(RdTimerTest, EveryChangeRecreatesTheTimer) {
  TRdTimer timer(nullptr);
  std::vector<int64_t> at;
  timer.SetInterval(100);
  timer.SetOnTimer([&](TComponent*) { at.push_back(Now()); });
  Loop.PumpFor(60);
  timer.SetInterval(100);  // the same value still starts the interval afresh
  Loop.PumpFor(200);
  EXPECT_EQ(at, (std::vector<int64_t>{160, 260}));
  timer.SetOnTimer([&](TComponent*) { at.push_back(-Now()); });
  Loop.PumpFor(150);
  EXPECT_EQ(at.back(), -360);
}

TEST_F(RdTimerTest, AnExceptionInOnTimerDoesNotStopIt) {
  std::vector<std::string> handled;
  SetApplicationExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      handled.push_back(x.what());
    }
  });
  TRdTimer timer(nullptr);
  timer.SetInterval(50);
  int ticks = 0;
  timer.SetOnTimer([&](TComponent*) {
    if (++ticks == 1) throw std::runtime_error("first tick fails");
  });
  Loop.PumpFor(200);
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(handled, (std::vector<std::string>{"first tick fails"}));
}

TEST_F(RdTimerTest, FreeingTheTimerKillsIt) {
  const int before = TRdTimer::LiveTimers();
  int ticks = 0;
  {
    TComponent owner;
    auto* timer = new TRdTimer(&owner);
    timer->SetInterval(10);
    timer->SetOnTimer([&](TComponent*) { ++ticks; });
    EXPECT_EQ(TRdTimer::LiveTimers(), before + 1);
    Loop.PumpFor(25);
  }
  EXPECT_EQ(TRdTimer::LiveTimers(), before);
  Loop.PumpFor(100);
  EXPECT_EQ(ticks, 2);
}

// A timer read from a description starts once loading is over, not on each property.
TEST_F(RdTimerTest, StartsAfterLoading) {
  TRdTimer timer(nullptr);
  timer.BeginLoading();
  timer.SetInterval(100);
  timer.SetOnTimer([](TComponent*) {});
  EXPECT_FALSE(timer.Running());
  timer.Loaded();
  EXPECT_TRUE(timer.Running());
}

}  // namespace
