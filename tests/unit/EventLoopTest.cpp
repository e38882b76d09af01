#include "platform/EventLoop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace {

struct TLoopFixture : ::testing::Test {
  TManualClock Clock;
  TEventLoop Loop{&Clock};
  std::string Trace;
};

TEST_F(TLoopFixture, TimersFireInDueOrderThenCreationOrder) {
  Loop.SingleShot(30, [&] { Trace += "c"; });
  Loop.SingleShot(10, [&] { Trace += "a"; });
  Loop.SingleShot(10, [&] { Trace += "b"; });
  Loop.SingleShot(40, [&] { Loop.Quit(); });
  Loop.Exec();
  EXPECT_EQ(Trace, "abc");
  EXPECT_EQ(Clock.NowMs(), 1040);
}

TEST_F(TLoopFixture, RepeatingTimerCountsFromEndOfItsCallAndCanKillItself) {
  int ticks = 0;
  TEventLoop::TTimerId id = 0;
  id = Loop.SetTimer(500, [&] {
    if (++ticks == 3) Loop.KillTimer(id);
  });
  Loop.PumpFor(5000);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(Loop.TimerActive(id));
}

TEST_F(TLoopFixture, ThirtySecondWatchdogTakesNoRealTime) {
  bool fired = false;
  Loop.SingleShot(30000, [&] { fired = true; Loop.Quit(); });
  Loop.SingleShot(120000, [&] { Loop.Quit(1); });  // guard against a hang
  EXPECT_EQ(Loop.Exec(), 0);
  EXPECT_TRUE(fired);
}

TEST_F(TLoopFixture, PostedCallsRunBeforeTimersAndReentrantPostsWaitAround) {
  Loop.SingleShot(0, [&] { Trace += "T"; });
  Loop.Post([&] {
    Trace += "1";
    Loop.Post([&] { Trace += "3"; });
  });
  Loop.Post([&] { Trace += "2"; });
  Loop.ProcessPendingMessages();
  EXPECT_EQ(Trace, "12T");
  Loop.ProcessPendingMessages();
  EXPECT_EQ(Trace, "12T3");
}

TEST_F(TLoopFixture, NestedExecQuitsInnermostLevelOnly) {
  Loop.Post([&] {
    Trace += "outer>";
    Loop.SingleShot(10, [&] { Trace += "quit-inner>"; Loop.Quit(7); });
    int inner = Loop.Exec();
    Trace += "inner=" + std::to_string(inner) + ">";
    Loop.SingleShot(10, [&] { Loop.Quit(3); });
  });
  EXPECT_EQ(Loop.Exec(), 3);
  EXPECT_EQ(Trace, "outer>quit-inner>inner=7>");
  EXPECT_EQ(Loop.Depth(), 0);
}

TEST_F(TLoopFixture, TimersKeepFiringInsideANestedLoop) {
  int ticks = 0;
  Loop.SetTimer(100, [&] { ++ticks; });
  Loop.SingleShot(50, [&] {
    Loop.SingleShot(1000, [&] { Loop.Quit(); });
    Loop.Exec();  // a modal window's loop
    Loop.Quit();
  });
  Loop.Exec();
  EXPECT_GE(ticks, 9);
}

TEST_F(TLoopFixture, DeleteLaterReleasesAfterTheCurrentEvent) {
  struct TProbe {
    bool* Gone;
    ~TProbe() { *Gone = true; }
  };
  bool gone = false;
  auto probe = std::make_unique<TProbe>();
  probe->Gone = &gone;
  Loop.Post([&] {
    Loop.DeleteLater(std::move(probe));
    EXPECT_FALSE(gone);  // still alive for the rest of this callback
  });
  Loop.ProcessPendingMessages();
  EXPECT_FALSE(gone);
  Loop.ProcessPendingMessages();
  EXPECT_TRUE(gone);
}

TEST_F(TLoopFixture, KilledTimerInSameRoundDoesNotFire) {
  TEventLoop::TTimerId second = 0;
  Loop.SingleShot(10, [&] { Trace += "a"; Loop.KillTimer(second); });
  second = Loop.SingleShot(10, [&] { Trace += "b"; });
  Loop.PumpFor(100);
  EXPECT_EQ(Trace, "a");
}

TEST(EventLoop, FdWatchDeliversReadableDataAndCrossThreadPostWakes) {
  TEventLoop loop;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::string got;
  auto watch = loop.WatchFd(fds[0], TEventLoop::fdRead, [&](int fd, int events) {
    char buf[16];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) got.append(buf, size_t(n));
    if (got == "ping") loop.Quit();
  });
  loop.SingleShot(5000, [&] { loop.Quit(1); });
  std::thread writer([&] { ASSERT_EQ(write(fds[1], "ping", 4), 4); });
  EXPECT_EQ(loop.Exec(), 0);
  writer.join();
  loop.Unwatch(watch);

  bool posted = false;
  std::thread poster([&] { loop.Post([&] { posted = true; loop.Quit(); }); });
  EXPECT_EQ(loop.Exec(), 0);
  poster.join();
  EXPECT_TRUE(posted);
  close(fds[0]);
  close(fds[1]);
}

TEST(EventLoop, SteadyClockPumpForWaitsRoughlyThatLong) {
  TEventLoop loop;
  int64_t start = loop.NowMs();
  loop.PumpFor(60);
  EXPECT_GE(loop.NowMs() - start, 60);
}

}  // namespace
