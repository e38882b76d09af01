#include <gtest/gtest.h>

#include "platform/EventLoop.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeProcesses.h"
#include "public/rdcontrol/TaskbarProgress.h"

namespace {

TEST(TaskbarProgressTest, SignalGoesOutOnlyWithASessionBusAndNeverPilesUp) {
  TFakePlatformScope fake;
  TManualClock clock;
  TEventLoop loop(&clock);
  TEventLoop* previous = TEventLoop::SetMain(&loop);
  TFakeProcesses& processes = fake->FakeProcesses();

  fake->FakeEnv().Unset("DBUS_SESSION_BUS_ADDRESS");
  SetTaskbarProgress(5000, 10000);
  EXPECT_TRUE(processes.Started().empty()) << "no session bus: nothing happens";

  fake->FakeEnv().Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus");
  SetTaskbarProgress(5000, 10000);
  ASSERT_EQ(processes.Started().size(), 1u);
  EXPECT_EQ(processes.Started()[0].Executable, "gdbus");
  EXPECT_EQ(processes.Started()[0].Parameters, TaskbarSignalParameters("qvb-installer.desktop", 0.5));
  EXPECT_NE(processes.Started()[0].Parameters.find("com.canonical.Unity.LauncherEntry.Update"),
            std::string::npos);

  // While one signal is on its way, newer values wait; only the newest goes out after it.
  SetTaskbarProgress(6000, 10000);
  SetTaskbarProgress(7000, 10000);
  EXPECT_EQ(processes.Started().size(), 1u);
  processes.LastProcess().Finish(0);
  loop.PumpFor(200);
  ASSERT_EQ(processes.Started().size(), 2u);
  EXPECT_EQ(processes.Started()[1].Parameters, TaskbarSignalParameters("qvb-installer.desktop", 0.7));

  processes.LastProcess().Finish(0);
  SetTaskbarProgress(7000, 10000);
  EXPECT_EQ(processes.Started().size(), 2u) << "an unchanged value is not sent again";
  SetTaskbarProgress(1, 0);
  EXPECT_EQ(processes.Started().size(), 2u) << "no total, no progress";
  SetTaskbarProgress(20000, 10000);
  EXPECT_EQ(processes.Started().back().Parameters, TaskbarSignalParameters("qvb-installer.desktop", 1.0));

  processes.LastProcess().Finish(0);
  processes.FailStarts(2);
  EXPECT_NO_THROW(SetTaskbarProgress(100, 10000)) << "a missing gdbus never reaches the caller";
  TEventLoop::SetMain(previous);
}

TEST(TaskbarProgressTest, ParametersFormTheLauncherEntrySignal) {
  EXPECT_EQ(TaskbarSignalParameters("x.desktop", 0.25),
            "emit --session --object-path / --signal com.canonical.Unity.LauncherEntry.Update "
            "'application://x.desktop' \"{'progress': <0.2500>, 'progress-visible': <true>}\"");
}

}  // namespace
