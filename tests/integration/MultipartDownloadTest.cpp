// The download engine against real peers: nginx (ranges, TLS, a rate-limited path for pause and
// resume) and the fault-injecting fixture server. Every successful case compares the MD5 of the
// target with the source's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "Installer/Downloader/MultipartHttpDownloader.h"
#include "platform/EventLoop.h"
#include "platform/Platform.h"
#include "support/SafeIniFile.h"
#include "tests/integration/TestServers.h"

namespace {

const int64_t kBig = 3 * 1024 * 1024 + 17;

class MultipartDownloadTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Shared = new TShared;
    const std::string& dir = Shared->Files.Path();
    MakeTestFile(dir + "/big.bin", kBig, 1);
    MakeTestFile(dir + "/small1023.bin", 1023, 2);
    MakeTestFile(dir + "/small1024.bin", 1024, 3);
    MakeTestFile(dir + "/slow.bin", 2 * 1024 * 1024, 4);
    Shared->Certificate = MakeCertificate(dir);
    Shared->Nginx = std::make_unique<TNginxServer>(dir, &Shared->Certificate);
    Shared->Fixture = std::make_unique<TFaultServer>(dir, &Shared->Certificate, "user:secret");
  }
  static void TearDownTestSuite() {
    delete Shared;
    Shared = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(Shared->Nginx->Started()) << Shared->Nginx->ErrorText();
    ASSERT_TRUE(Shared->Fixture->Started());
    TargetPath = Work / "target.bin";
    StatePath = TargetPath + ".dat";
    NewEngine();
  }

  // A fresh engine on the target, opened as the package downloader opens it: kept when a
  // state file goes with it, created afresh otherwise.
  void NewEngine(bool keepTarget = false) {
    Engine.reset();
    Loop.PumpFor(10);
    Target.reset();
    TFileSystem& files = TPlatform::Current().Files();
    const bool resume = keepTarget || (files.FileExists(StatePath) && files.FileExists(TargetPath));
    Target = files.Open(TargetPath, resume ? TOpenMode::OpenOrCreate : TOpenMode::CreateAlways);
    ASSERT_TRUE(Target);
    Engine = std::make_unique<TMultipartHttpDownloader>(&Loop);
    Engine->SetFileStream(Target.get());
    Engine->SetStateFileName(StatePath);
    Engine->SetCaFile(Shared->Certificate.CertFile);
    Engine->SetPartCount(4);
    Engine->OnRequestDone = [this](int status, const std::string& text) {
      Done.emplace_back(status, text);
      Loop.Quit();
    };
    Engine->OnTimeOut = [this] { ++TimeOuts; };
    Done.clear();
    TimeOuts = 0;
  }

  // Runs the loop until the engine reports, failing the test after limitMs.
  void RunToEnd(int64_t limitMs = 20000) {
    bool hung = false;
    auto guard = Loop.SingleShot(limitMs, [&] {
      hung = true;
      Loop.Quit();
    });
    Loop.Exec();
    Loop.KillTimer(guard);
    ASSERT_FALSE(hung) << "the download did not end";
    Loop.PumpFor(20);  // late events must not report again
  }

  void Fetch(const std::string& url) {
    Engine->SetURL(url);
    Engine->Start();
    RunToEnd();
  }

  std::string SourceMd5(const std::string& name) const { return FileMd5(Shared->Files / name); }
  std::string TargetMd5() const { return FileMd5(TargetPath); }
  std::string State(const std::string& section, const std::string& key) const {
    TSafeIniFile ini;
    ini.LoadFromFile(StatePath);
    return ini.ReadString(section, key, "(missing)");
  }
  // The Range headers nginx logged for uri ("-" for none), sorted: the probe's close and the
  // ranges' ends reach the log in no fixed order.
  std::vector<std::string> SortedNginxRanges(const std::string& uri) const {
    auto ranges = Shared->Nginx->RangesOf(uri);
    std::sort(ranges.begin(), ranges.end());
    return ranges;  // compare with a list sorted alike
  }
  std::vector<std::string> FixtureRanges(const std::string& path) const {
    std::vector<std::string> ranges;
    for (const auto& range : Shared->Fixture->RangesOf(path))
      if (!range.empty()) ranges.push_back(range);
    return ranges;
  }

  struct TShared {
    TTempFolder Files;
    TCertificate Certificate;
    std::unique_ptr<TNginxServer> Nginx;
    std::unique_ptr<TFaultServer> Fixture;
  };
  static TShared* Shared;

  TTempFolder Work;
  std::string TargetPath, StatePath;
  TEventLoop Loop;
  std::unique_ptr<TFile> Target;
  std::unique_ptr<TMultipartHttpDownloader> Engine;
  std::vector<std::pair<int, std::string>> Done;
  int TimeOuts{0};
};
MultipartDownloadTest::TShared* MultipartDownloadTest::Shared = nullptr;

using TDone = std::vector<std::pair<int, std::string>>;
const TDone kOk{{200, "OK"}};

TEST_F(MultipartDownloadTest, FourRangesFromNginxWithTheirExactHeaders) {
  Fetch(Shared->Nginx->Url("big.bin"));
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
  EXPECT_EQ(FileSizeOf(TargetPath), kBig);
  std::vector<std::string> expected = {"-"};  // the probe asks for no range
  for (const auto& range : ExpectedRanges(kBig, 4)) expected.push_back(range);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(SortedNginxRanges("/big.bin"), expected);
  // The last tick leaves the state of a finished run.
  EXPECT_EQ(State("GLOBAL", "ContentLength"), std::to_string(kBig));
  EXPECT_EQ(State("GLOBAL", "PartCount"), "4");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(State("PART_" + std::to_string(i), "Done"), "1");

  // A later start over that state sends no range request.
  NewEngine();
  Fetch(Shared->Nginx->Url("big.bin"));
  EXPECT_EQ(Done, (TDone{{200, "Check the last time download finished"}}));
  expected.insert(expected.begin(), "-");  // the probe only
  EXPECT_EQ(SortedNginxRanges("/big.bin"), expected);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
}

TEST_F(MultipartDownloadTest, SmallResourcesAroundThe1024ByteRule) {
  struct TCase {
    std::string Name;
    std::vector<std::string> Ranges;
  };
  const TCase cases[] = {
      {"small1023.bin", {"-", "bytes=0-1023"}},
      {"small1024.bin", {"-", "bytes=0-256", "bytes=257-513", "bytes=514-770", "bytes=771-1024"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    NewEngine();
    Engine->SetNoStateFile(true);
    Fetch(Shared->Nginx->Url(c.Name));
    EXPECT_EQ(Done, kOk);
    EXPECT_EQ(TargetMd5(), SourceMd5(c.Name));
    EXPECT_EQ(SortedNginxRanges("/" + c.Name), c.Ranges);
  }
}

TEST_F(MultipartDownloadTest, HttpsAndTheRedirectToIt) {
  Fetch(Shared->Nginx->HttpsUrl("big.bin"));
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));

  std::remove(StatePath.c_str());
  NewEngine();
  Fetch(Shared->Fixture->Url("/redirect-https/big.bin?tag=redirect"));
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
  const std::string https = Shared->Fixture->HttpsUrl("/files/big.bin?tag=redirect");
  EXPECT_EQ(Engine->URL(), https);
  EXPECT_EQ(State("GLOBAL", "Url"), https);
  EXPECT_EQ(State("PART_2", "URL"), https);
  // The ranges went straight to the HTTPS listener.
  for (const auto& request : Shared->Fixture->Requests())
    if (request.Path == "/files/big.bin?tag=redirect") EXPECT_EQ(request.Port, Shared->Fixture->HttpsPort());
}

TEST_F(MultipartDownloadTest, FaultyAnswersStillGiveTheFile) {
  struct TCase {
    std::string Query;
    std::function<void(const std::vector<std::string>& ranges)> Check;
  };
  const auto layout = ExpectedRanges(kBig, 4);
  const TCase cases[] = {
      // A dropped range continues from its byte count.
      {"drop=100000",
       [&](const std::vector<std::string>& ranges) {
         ASSERT_EQ(ranges.size(), 8u);
         for (const auto& range : layout) {
           int64_t start = 0, end = 0;
           std::sscanf(range.c_str(), "bytes=%ld-%ld", &start, &end);
           const std::string again = "bytes=" + std::to_string(start + 100000) + "-" + std::to_string(end);
           EXPECT_NE(std::find(ranges.begin(), ranges.end(), range), ranges.end()) << range;
           EXPECT_NE(std::find(ranges.begin(), ranges.end(), again), ranges.end()) << again;
         }
       }},
      // 500 first, then 206: each range asked twice the same.
      {"fail500=1",
       [&](const std::vector<std::string>& ranges) {
         auto sorted = ranges;
         std::sort(sorted.begin(), sorted.end());
         std::vector<std::string> twice;
         for (const auto& range : layout) twice.insert(twice.end(), {range, range});
         std::sort(twice.begin(), twice.end());
         EXPECT_EQ(sorted, twice);
       }},
      {"ignore-range", [&](const std::vector<std::string>& ranges) { EXPECT_EQ(ranges.size(), 4u); }},
      {"overlong", [&](const std::vector<std::string>& ranges) { EXPECT_EQ(ranges.size(), 4u); }},
      {"no-accept-ranges",
       [&](const std::vector<std::string>& ranges) {
         EXPECT_EQ(ranges, std::vector<std::string>{"bytes=0-" + std::to_string(kBig)});
       }},
      // No size: one request from the start, without a Range header.
      {"no-length", [&](const std::vector<std::string>& ranges) { EXPECT_TRUE(ranges.empty()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Query);
    std::remove(StatePath.c_str());
    NewEngine();
    const std::string path = "/files/big.bin?" + c.Query;
    Fetch(Shared->Fixture->Url(path));
    EXPECT_EQ(Done, kOk);
    EXPECT_EQ(FileSizeOf(TargetPath), kBig);
    EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
    c.Check(FixtureRanges(path));
  }
}

TEST_F(MultipartDownloadTest, ProxyAsking407GetsBasicCredentials) {
  Engine->SetProxy("127.0.0.1");
  Engine->SetProxyPort(std::to_string(Shared->Fixture->HttpPort()));
  Engine->SetProxyUsername("user");
  Engine->SetProxyPassword("secret");
  Fetch("http://files.test/files/big.bin?tag=proxy");
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
  EXPECT_EQ(Engine->ProxyAuth(), httpAuthBasic);
  int withCredentials = 0, without = 0;
  for (const auto& request : Shared->Fixture->Requests()) {
    if (request.Path != "/files/big.bin?tag=proxy") continue;
    (request.ProxyAuth.empty() ? without : withCredentials)++;
  }
  EXPECT_EQ(without, 1);          // the probe's first try
  EXPECT_EQ(withCredentials, 5);  // its second try and the four ranges
}

TEST_F(MultipartDownloadTest, StallAbortsSavesTheStateAndRaisesTimeOut) {
  Engine->SetTimeOut(1);
  Fetch(Shared->Fixture->Url("/files/big.bin?stall=70000"));
  EXPECT_EQ(Done, (TDone{{503, "Transfert aborted"}}));
  EXPECT_EQ(TimeOuts, 1);
  EXPECT_TRUE(Engine->AbortFlag());
  EXPECT_EQ(State("GLOBAL", "DownloadedSize"), std::to_string(4 * 70000));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(State("PART_" + std::to_string(i), "DataCount"), "70000");

  // The next start (from another server of the same file) continues from there.
  NewEngine();
  Fetch(Shared->Nginx->Url("big.bin?after-stall"));
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
  std::vector<std::string> expected = {"-"};
  for (const auto& range : ExpectedRanges(kBig, 4)) {
    int64_t start = 0, end = 0;
    std::sscanf(range.c_str(), "bytes=%ld-%ld", &start, &end);
    expected.push_back("bytes=" + std::to_string(start + 70000) + "-" + std::to_string(end));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(SortedNginxRanges("/big.bin?after-stall"), expected);
}

TEST_F(MultipartDownloadTest, PauseThenResumeCompletes) {
  Engine->SetURL(Shared->Nginx->Url("slow/slow.bin"));
  Engine->Start();
  Loop.SingleShot(700, [this] { Engine->Pause(); });
  RunToEnd();
  ASSERT_EQ(Done, (TDone{{204, "Transfert paused"}}));
  const int64_t kept = Engine->TotalCount();
  EXPECT_GT(kept, 0);
  EXPECT_EQ(State("GLOBAL", "DownloadedSize"), std::to_string(kept));
  Done.clear();
  Engine->Resume();
  RunToEnd();
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(TargetMd5(), SourceMd5("slow.bin"));
  // Each range was asked twice: the second time from where the first one stopped.
  std::map<int64_t, std::vector<int64_t>> startsByEnd;
  for (const auto& range : Shared->Nginx->RangesOf("/slow/slow.bin")) {
    int64_t start = 0, end = 0;
    if (std::sscanf(range.c_str(), "bytes=%ld-%ld", &start, &end) == 2) startsByEnd[end].push_back(start);
  }
  ASSERT_EQ(startsByEnd.size(), 4u);
  int64_t counted = 0;
  for (auto& [end, starts] : startsByEnd) {
    ASSERT_EQ(starts.size(), 2u) << end;
    counted += std::max(starts[0], starts[1]) - std::min(starts[0], starts[1]);
  }
  EXPECT_EQ(counted, kept);
}

TEST_F(MultipartDownloadTest, StateOfAnotherSizeStartsOver) {
  {
    TSafeIniFile ini;
    ini.WriteString("GLOBAL", "ContentLength", "999999");
    ini.WriteString("PART_0", "StartOffset", "0");
    ini.WriteString("PART_0", "EndOffset", "999999");
    ini.WriteString("PART_0", "DataCount", "5000");
    ini.SaveToFile(StatePath);
  }
  MakeTestFile(TargetPath, kBig + 5000, 9);  // longer than the resource, and other bytes
  NewEngine();
  Fetch(Shared->Nginx->Url("big.bin"));
  EXPECT_EQ(Done, kOk);
  EXPECT_EQ(FileSizeOf(TargetPath), kBig);
  EXPECT_EQ(TargetMd5(), SourceMd5("big.bin"));
}

TEST_F(MultipartDownloadTest, RefusalsEndTheRunOnce) {
  struct TCase {
    std::string Url;
    TDone Expected;
  };
  const TCase cases[] = {
      {Shared->Fixture->Url("/files/big.bin?status416"), {{416, "Requested Range Not Satisfiable"}}},
      {Shared->Fixture->Url("/redirect-loop"), {{47, "Download failed"}}},
      {Shared->Fixture->Url("/files/missing.bin"), {{404, "Not Found"}}},
      {"http://127.0.0.1:" + std::to_string(FreePort()) + "/x", {{7, "Download failed"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Url);
    std::remove(StatePath.c_str());
    NewEngine();
    Fetch(c.Url);
    EXPECT_EQ(Done, c.Expected);
    EXPECT_EQ(FileSizeOf(StatePath), -1);
  }
}

}  // namespace
