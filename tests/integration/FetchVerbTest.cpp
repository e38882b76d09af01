// `qvbtool fetch` as an administrator runs it: against nginx, killed with SIGKILL mid-transfer
// and started again.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <thread>

#include "support/SafeIniFile.h"
#include "tests/integration/TestServers.h"

namespace {

struct TRun {
  int ExitCode{-1};
  std::string Out;
  std::string LastLine() const {
    std::string text = Out;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
  }
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
  return text;
}

TRun RunQvbtool(const std::vector<std::string>& args, const std::string& stderrFile) {
  std::vector<std::string> argv = {QVBTOOL_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  TChildProcess child;
  TRun run;
  if (!child.Start(argv, true, stderrFile)) return run;
  run.Out = ReadAll(child.StdoutFd());
  const int status = child.Wait();
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string StateValue(const std::string& path, const std::string& section, const std::string& key) {
  TSafeIniFile ini;
  ini.LoadFromFile(path);
  return ini.ReadString(section, key, "(missing)");
}

class FetchVerbTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeTestFile(Files / "big.bin", 3 * 1024 * 1024 + 5, 11);
    MakeTestFile(Files / "slow.bin", 2 * 1024 * 1024, 12);
    Nginx = std::make_unique<TNginxServer>(Files.Path());
    ASSERT_TRUE(Nginx->Started()) << Nginx->ErrorText();
  }
  TTempFolder Files, Work;
  std::unique_ptr<TNginxServer> Nginx;
};

TEST_F(FetchVerbTest, FourRangesWithAStateFile) {
  const std::string target = Work / "big.bin";
  TRun run = RunQvbtool({"fetch", Nginx->Url("big.bin"), target, "--parts", "4"}, Work / "stderr.txt");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.LastLine(), "200 OK");
  EXPECT_EQ(FileMd5(target), FileMd5(Files / "big.bin"));
  EXPECT_EQ(StateValue(target + ".dat", "GLOBAL", "PartCount"), "4");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(StateValue(target + ".dat", "PART_" + std::to_string(i), "Done"), "1");
  EXPECT_EQ(Nginx->RangesOf("/big.bin").size(), 5u);
  EXPECT_EQ(ReadFileText(Work / "stderr.txt"), "");  // no progress bar off a terminal

  TRun missing = RunQvbtool({"fetch", Nginx->Url("missing.bin"), Work / "missing.bin"}, Work / "stderr.txt");
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_EQ(missing.LastLine(), "404 Not Found");
  EXPECT_EQ(RunQvbtool({"fetch", Nginx->Url("big.bin")}, Work / "stderr.txt").ExitCode, 2);
}

TEST_F(FetchVerbTest, ResumesAfterSigkill) {
  const std::string target = Work / "slow.bin";
  const std::string state = target + ".dat";
  const std::vector<std::string> args = {"fetch", Nginx->Url("slow/slow.bin"), target, "--parts", "4"};
  {
    std::vector<std::string> argv = {QVBTOOL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    TChildProcess child;
    ASSERT_TRUE(child.Start(argv, false, Work / "stderr1.txt"));
    // Killed once it has saved progress.
    for (int i = 0; i < 300 && child.Running(); ++i) {
      if (FileSizeOf(state) > 0 && StateValue(state, "GLOBAL", "DownloadedSize") != "0") break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(child.Running()) << "the transfer ended before it could be killed";
    child.Stop(SIGKILL);
  }
  std::map<int64_t, int64_t> stored;  // range end -> its byte count at the kill
  for (int i = 0; i < 4; ++i) {
    const std::string section = "PART_" + std::to_string(i);
    stored[std::stoll(StateValue(state, section, "EndOffset"))] = std::stoll(StateValue(state, section, "DataCount"));
  }
  TRun run = RunQvbtool(args, Work / "stderr2.txt");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.LastLine(), "200 OK");
  EXPECT_EQ(FileMd5(target), FileMd5(Files / "slow.bin"));
  // The second run asked each unfinished range from its stored count on.
  std::map<int64_t, std::vector<int64_t>> startsByEnd;
  for (const auto& range : Nginx->RangesOf("/slow/slow.bin")) {
    long long start = 0, end = 0;
    if (std::sscanf(range.c_str(), "bytes=%lld-%lld", &start, &end) == 2) startsByEnd[end].push_back(start);
  }
  int64_t total = 0;
  for (const auto& [end, count] : stored) {
    const auto& starts = startsByEnd[end];
    ASSERT_FALSE(starts.empty());
    total += count;
    if (starts.size() == 2) EXPECT_EQ(starts[1] - starts[0], count) << end;
  }
  EXPECT_GT(total, 0);
}

}  // namespace
