// The download engine against scripted HTTP clients, on the manual clock (a 30 s watchdog takes
// no real time) and the fake platform (the state file lives in its file system).
#include "Installer/Downloader/MultipartHttpDownloader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "Installer/Downloader/DownloadState.h"
#include "platform/fake/FakePlatform.h"
#include "support/SafeIniFile.h"

namespace {

// ---- fixtures: scripted clients, a target in memory, a file system that can refuse writes

class TFakeHttpClient;
struct TFakeNet {
  std::vector<TFakeHttpClient*> Clients;  // live clients in creation order
};

// A client whose answers the test scripts. Like the real one it reports an Abort from the loop.
class TFakeHttpClient : public THttpClient {
public:
  TFakeHttpClient(TEventLoop* loop, TFakeNet& net) : THttpClient(loop), FNet(net) { net.Clients.push_back(this); }
  ~TFakeHttpClient() override {
    *FAlive = false;
    FNet.Clients.erase(std::find(FNet.Clients.begin(), FNet.Clients.end(), this));
  }

  void Get() override {
    FRunning = true;
    FResponse = {};
    Requests.push_back(RangeText());
    Headers = FSettings.ExtraHeaders;
    if (OnBeforeHeaderSend) OnBeforeHeaderSend(*this, Headers);
  }
  void Post(const std::string&, const std::string&) override {}
  void Abort() override {
    if (!FRunning) return;
    FRunning = false;
    ++Aborts;
    std::weak_ptr<bool> alive = FAlive;
    FLoop->Post([this, alive] {
      if (!alive.expired() && OnRequestDone) OnRequestDone(*this, httperrAborted);
    });
  }
  bool Busy() const override { return FRunning; }

  std::string RangeText() const {
    if (FSettings.RangeBegin < 0) return "";
    return "bytes=" + std::to_string(FSettings.RangeBegin) + "-" +
           (FSettings.RangeEnd >= 0 ? std::to_string(FSettings.RangeEnd) : "");
  }

  // ---- the script
  void Head(int status, int64_t length, const std::string& acceptRanges = "bytes", const std::string& contentRange = "",
            const std::string& location = "", const std::string& reason = "") {
    FResponse.StatusCode = status;
    FResponse.ReasonPhrase = reason.empty() ? (status == 200 ? "OK" : status == 206 ? "Partial Content" : "Error") : reason;
    FResponse.ContentLength = length;
    FResponse.AcceptRanges = acceptRanges;
    FResponse.ContentRange = contentRange;
    FResponse.Location = location.empty() ? FSettings.URL : location;
    if (OnHeaderEnd) OnHeaderEnd(*this);
  }
  void Body(const std::string& bytes, size_t block = 300) {
    for (size_t at = 0; at < bytes.size() && FRunning; at += block) {
      std::string part = bytes.substr(at, block);
      if (OnDocumentData) OnDocumentData(*this, part.data(), part.size());
    }
  }
  void Finish(int error = httperrNone) {
    if (!FRunning) return;
    FRunning = false;
    if (OnRequestDone) OnRequestDone(*this, error);
  }
  // A correct 206 answer to the running request, cut after count bytes when count >= 0.
  void Serve(const std::string& resource, int64_t count = -1) {
    const int64_t size = int64_t(resource.size());
    const int64_t first = std::max<int64_t>(FSettings.RangeBegin, 0);
    const int64_t last = FSettings.RangeEnd >= 0 ? std::min(FSettings.RangeEnd, size - 1) : size - 1;
    Head(206, last - first + 1, "bytes",
         "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(size));
    std::string body = resource.substr(size_t(first), size_t(last - first + 1));
    if (count >= 0) body.resize(size_t(count));
    Body(body);
    Finish(count >= 0 && count < last - first + 1 ? 56 : httperrNone);
  }

  std::vector<std::string> Requests;  // the Range header of every Get ("" for none)
  std::vector<std::string> Headers;   // the extra headers of the last Get
  int Aborts{0};

private:
  TFakeNet& FNet;
  bool FRunning{false};
  std::shared_ptr<bool> FAlive{std::make_shared<bool>(true)};
};

class TMemFile : public TFile {
public:
  int64_t ReadAt(int64_t offset, void* buffer, int64_t count) override {
    if (offset >= int64_t(Data.size())) return 0;
    count = std::min<int64_t>(count, int64_t(Data.size()) - offset);
    std::copy_n(Data.data() + offset, count, static_cast<char*>(buffer));
    return count;
  }
  int64_t WriteAt(int64_t offset, const void* data, int64_t count) override {
    if (FailWrites) return -1;
    if (int64_t(Data.size()) < offset + count) Data.resize(size_t(offset + count));
    std::copy_n(static_cast<const char*>(data), count, Data.data() + offset);
    return count;
  }
  int64_t Size() override { return int64_t(Data.size()); }
  bool SetSize(int64_t size) override {
    Data.resize(size_t(size));
    ++SetSizes;
    return true;
  }
  bool Sync() override {
    if (Trace) Trace->push_back("sync");
    return true;
  }
  int LastError() const override { return FailWrites ? 28 : 0; }

  std::string Data;
  bool FailWrites{false};
  int SetSizes{0};
  std::vector<std::string>* Trace{nullptr};
};

// The fake file system with a switch that makes every whole-file write fail.
class TFlakyFiles : public TFileSystem {
public:
  explicit TFlakyFiles(std::unique_ptr<TFileSystem> inner) : FInner(std::move(inner)) {}
  char Separator() const override { return FInner->Separator(); }
  bool CaseSensitive() const override { return FInner->CaseSensitive(); }
  std::string CurrentFolder() const override { return FInner->CurrentFolder(); }
  bool FileExists(const std::string& p) const override { return FInner->FileExists(p); }
  bool FolderExists(const std::string& p) const override { return FInner->FolderExists(p); }
  int CreateFolder(const std::string& p) override { return FInner->CreateFolder(p); }
  int ForceFolders(const std::string& p) override { return FInner->ForceFolders(p); }
  int RemoveFolder(const std::string& p) override { return FInner->RemoveFolder(p); }
  int ReadAll(const std::string& p, std::string& b) const override { return FInner->ReadAll(p, b); }
  int WriteAtomic(const std::string& p, const std::string& b) override {
    if (Trace) Trace->push_back("state");
    return FailWrites ? 28 : FInner->WriteAtomic(p, b);
  }
  int Append(const std::string& p, const std::string& b) override { return FInner->Append(p, b); }
  int DeleteFile(const std::string& p) override { return FInner->DeleteFile(p); }
  int RenameFile(const std::string& f, const std::string& t) override { return FInner->RenameFile(f, t); }
  int CopyFile(const std::string& f, const std::string& t) override { return FInner->CopyFile(f, t); }
  std::unique_ptr<TFile> Open(const std::string& p, TOpenMode m, int* e) override { return FInner->Open(p, m, e); }
  int64_t FileSize(const std::string& p) const override { return FInner->FileSize(p); }
  uint32_t GetAttributes(const std::string& p) const override { return FInner->GetAttributes(p); }
  int SetAttributes(const std::string& p, uint32_t a) override { return FInner->SetAttributes(p, a); }
  std::vector<TDirEntry> List(const std::string& p) const override { return FInner->List(p); }
  std::unique_ptr<TFileLock> LockExclusive(const std::string& p, int* e) override { return FInner->LockExclusive(p, e); }
  std::unique_ptr<TFileLock> TryLockExclusive(const std::string& p, int* e) override {
    return FInner->TryLockExclusive(p, e);
  }

  bool FailWrites{false};
  std::vector<std::string>* Trace{nullptr};

private:
  std::unique_ptr<TFileSystem> FInner;
};

class TFlakyPlatform : public TFakePlatform {
public:
  TFlakyPlatform() {
    auto flaky = std::make_unique<TFlakyFiles>(std::move(FFiles));
    Files = flaky.get();
    FFiles = std::move(flaky);
  }
  TFlakyFiles* Files{nullptr};
};

std::string MakeResource(int64_t size) {
  std::string bytes(size_t(size), '\0');
  for (int64_t i = 0; i < size; ++i) bytes[size_t(i)] = char((i * 7 + i / 251) & 0xFF);
  return bytes;
}

const char* const kStateFile = "C:\\dl\\file.bin.dat";

class MultipartHttpDownloaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto platform = std::make_unique<TFlakyPlatform>();
    Platform = platform.get();
    FPrevious = TPlatform::Install(std::move(platform));
    MakeEngine();
  }
  void TearDown() override {
    Engine.reset();
    Settle();
    TPlatform::Install(std::move(FPrevious));
  }
  // A new engine on a clean slate, for the next case of a table.
  void Fresh() {
    Engine.reset();
    Settle();
    Done.clear();
    Trace.clear();
    Target = TMemFile();
    Platform->Files->DeleteFile(kStateFile);
    MakeEngine();
  }
  void MakeEngine() {
    Engine = std::make_unique<TMultipartHttpDownloader>(&Loop);
    Engine->SetClientFactory([this] { return std::make_unique<TFakeHttpClient>(&Loop, Net); });
    Engine->SetURL("http://dl.test/file.bin");
    Engine->SetPartCount(4);
    Engine->SetFileStream(&Target);
    Engine->SetStateFileName(kStateFile);
    Engine->OnRequestDone = [this](int status, const std::string& text) {
      Done.emplace_back(status, text);
      Trace.push_back("done");
    };
    Engine->OnTimeOut = [this] { Trace.push_back("timeout"); };
    Engine->OnShowStats = [this] { ++Stats; };
  }

  void Settle() {
    while (Loop.ProcessPendingMessages()) {
    }
  }
  // Starts the run and answers the probe with 200.
  void StartAndProbe(int64_t size, const std::string& acceptRanges = "bytes") {
    Resource = MakeResource(std::max<int64_t>(size, 0));
    Engine->Start();
    Probe()->Head(200, size, acceptRanges);
    Settle();
  }
  TFakeHttpClient* Probe() { return Net.Clients.back(); }
  TFakeHttpClient* Range(int i) { return Net.Clients.at(size_t(i)); }
  std::vector<std::string> CurrentRequests() {
    std::vector<std::string> ranges;
    for (auto* client : Net.Clients) ranges.push_back(client->Requests.empty() ? "(none)" : client->Requests.back());
    return ranges;
  }
  void ServeAll() {
    for (auto* client : std::vector<TFakeHttpClient*>(Net.Clients))
      if (client->Busy()) client->Serve(Resource);
    Settle();
  }
  void WriteStateText(const std::string& text) {
    Platform->Files->ForceFolders("C:\\dl");
    ASSERT_EQ(Platform->Files->WriteAtomic(kStateFile, text), 0);
  }
  std::string StateValue(const std::string& section, const std::string& key) {
    TSafeIniFile ini;
    ini.LoadFromFile(kStateFile);
    return ini.ReadString(section, key, "(missing)");
  }
  bool StateExists() { return TPlatform::Current().Files().FileExists(kStateFile); }
  // The state a finished or partial run of 4000 bytes in 4 parts leaves, with these counts.
  std::string StateFor(const std::vector<int64_t>& counts, int64_t size = 4000) {
    std::string text = "[GLOBAL]\nUrl=http://dl.test/file.bin\nContentLength=" + std::to_string(size) +
                       "\nPartCount=" + std::to_string(counts.size()) + "\n";
    const int64_t partSize = size / int64_t(counts.size());
    for (size_t i = 0; i < counts.size(); ++i) {
      const int64_t start = int64_t(i) * (partSize + 1);
      const int64_t end = i + 1 == counts.size() ? size : start + partSize;
      text += "[PART_" + std::to_string(i) + "]\nStartOffset=" + std::to_string(start) +
              "\nEndOffset=" + std::to_string(end) + "\nDataCount=" + std::to_string(counts[i]) + "\n";
    }
    return text;
  }

  TFlakyPlatform* Platform{nullptr};
  std::unique_ptr<TPlatform> FPrevious;
  TManualClock Clock;
  TEventLoop Loop{&Clock};
  TFakeNet Net;
  TMemFile Target;
  std::unique_ptr<TMultipartHttpDownloader> Engine;
  std::string Resource;
  std::vector<std::pair<int, std::string>> Done;
  std::vector<std::string> Trace;
  int Stats{0};
};

using TDone = std::vector<std::pair<int, std::string>>;
const TDone kOk{{200, "OK"}};

// ---- layout and the complete run

TEST_F(MultipartHttpDownloaderTest, RangeLayoutOfTheProbedSize) {
  struct TCase {
    int64_t Size;
    int Parts;
    std::string AcceptRanges;
    std::vector<std::string> Ranges;
  };
  const TCase cases[] = {
      {4000, 4, "bytes", {"bytes=0-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {1024, 4, "bytes", {"bytes=0-256", "bytes=257-513", "bytes=514-770", "bytes=771-1024"}},
      {4000, 3, " Bytes ", {"bytes=0-1333", "bytes=1334-2667", "bytes=2668-4000"}},
      {1023, 4, "bytes", {"bytes=0-1023"}},        // under 1024 bytes: one range
      {4000, 4, "", {"bytes=0-4000"}},             // no range support announced
      {4000, 4, "none", {"bytes=0-4000"}},
      {-1, 4, "bytes", {""}},                      // no size: one open request from the start
      {2000, 1500, "bytes", {}},                   // more parts than the size allows shrink
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Size) + " in " + std::to_string(c.Parts) + " '" + c.AcceptRanges + "'");
    Fresh();
    Target.Data = std::string(5000, 'x');  // an older, longer file: cut to size at the end
    Engine->SetPartCount(c.Parts);
    StartAndProbe(c.Size, c.AcceptRanges);
    if (c.Parts == 1500) {  // as many ranges of 3 bytes as fit in the resource
      ASSERT_EQ(Engine->PartCount(), 667);
      EXPECT_EQ(CurrentRequests().back(), "bytes=1998-2000");
      EXPECT_EQ(CurrentRequests().front(), "bytes=0-2");
    } else {
      EXPECT_EQ(CurrentRequests(), c.Ranges);
      EXPECT_EQ(Engine->PartCount(), int(c.Ranges.size()));
    }
    if (c.Size < 0) Resource = MakeResource(2500);
    ServeAll();
    EXPECT_EQ(Done, kOk);
    EXPECT_TRUE(Target.Data == Resource) << "target of " << Target.Data.size() << " bytes";
    EXPECT_EQ(Engine->TotalCount(), int64_t(Resource.size()));
  }
}

TEST_F(MultipartHttpDownloaderTest, ProbeSendsNoRangeAndCarriesBeforeHeadersStr) {
  Engine->SetBeforeHeadersStr("X-One: 1\r\nX-Two: 2");
  Engine->SetFromEmail("qa@example.test");
  Engine->Start();
  TFakeHttpClient* probe = Probe();
  EXPECT_EQ(probe->Requests, std::vector<std::string>{""});
  EXPECT_EQ(probe->Headers, (std::vector<std::string>{"X-One: 1", "X-Two: 2"}));
  EXPECT_EQ(probe->Settings().FromEmail, "qa@example.test");
  probe->Head(200, 4000);
  EXPECT_EQ(probe->Aborts, 1);  // its body is not read
  Settle();
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Range(i)->Headers.empty());
    EXPECT_EQ(Range(i)->Settings().FromEmail, "qa@example.test");
  }
}

// A range other than the last holds partSize + 1 bytes and is not complete one byte short.
TEST_F(MultipartHttpDownloaderTest, RangeOneByteShortIsContinued) {
  StartAndProbe(4000);
  Range(0)->Head(206, 1000, "bytes", "bytes 0-999/4000");  // a server that sends a byte less
  Range(0)->Body(Resource.substr(0, 1000));
  const int64_t before = Clock.NowMs();
  Range(0)->Finish();
  EXPECT_EQ(Range(0)->Requests.back(), "bytes=1000-1000");
  EXPECT_EQ(Clock.NowMs() - before, 200);
  EXPECT_TRUE(Done.empty());
  ServeAll();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
}

// ---- the probe

TEST_F(MultipartHttpDownloaderTest, ProbeFailuresAreReportedOnce) {
  struct TCase {
    const char* Name;
    int Status;
    int Error;
    TDone Expected;
  };
  const TCase cases[] = {
      {"status", 404, httperrNone, {{404, "Not Found"}}},
      {"error before any head", 0, 7, {{7, "Download failed"}}},
      {"error after a head", 500, 56, {{56, "Download failed"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Done.clear();
    Engine->Start();
    if (c.Status) Probe()->Head(c.Status, 10, "bytes", "", "", c.Status == 404 ? "Not Found" : "");
    Probe()->Finish(c.Error);
    Settle();
    EXPECT_EQ(Done, c.Expected);
    EXPECT_EQ(Net.Clients.size(), 1u);  // no range was started
  }
}

TEST_F(MultipartHttpDownloaderTest, RedirectAndProxyAuthenticationOfTheProbeReachTheRanges) {
  Engine->SetProxy("proxy.test");
  Engine->SetProxyUsername("user");
  Engine->Start();
  Probe()->Head(407, 0);  // the client asks again with the scheme chosen here
  EXPECT_EQ(Engine->ProxyAuth(), httpAuthBasic);
  EXPECT_EQ(Probe()->Settings().ProxyAuth, httpAuthBasic);
  Probe()->Head(200, 4000, "bytes", "", "https://mirror.test/file.bin");
  Settle();
  EXPECT_EQ(Engine->URL(), "https://mirror.test/file.bin");
  ASSERT_EQ(Net.Clients.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Range(i)->Settings().URL, "https://mirror.test/file.bin");
    EXPECT_EQ(Range(i)->Settings().ProxyAuth, httpAuthBasic);
    EXPECT_EQ(Range(i)->Settings().Proxy, "proxy.test");
  }
  Engine->Abort();
  Settle();
  EXPECT_EQ(StateValue("GLOBAL", "Url"), "https://mirror.test/file.bin");
  EXPECT_EQ(StateValue("PART_3", "URL"), "https://mirror.test/file.bin");
}

TEST_F(MultipartHttpDownloaderTest, EmptyResourceEndsWithAnEmptyTarget) {
  Target.Data = "old content";
  StartAndProbe(0);
  Engine->Abort();  // no effect on a reported run
  Settle();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data.empty());
}

// ---- statistics and the watchdog

TEST_F(MultipartHttpDownloaderTest, StatisticsEveryHalfSecond) {
  StartAndProbe(4000);
  const int64_t start = Clock.NowMs();
  Range(1)->Head(206, 1001, "bytes", "bytes 1001-2001/4000");
  Range(1)->Body(Resource.substr(1001, 1000));
  const int before = Stats;
  Loop.PumpFor(500);
  EXPECT_EQ(Stats, before + 1);
  EXPECT_DOUBLE_EQ(Engine->CurSpeed(), 1000 * 8.0 / 500);  // kilobits per second
  EXPECT_DOUBLE_EQ(Engine->PercentDone(), 25.0);
  EXPECT_EQ(Engine->ElapsedTime(), Clock.NowMs() - start);
  Loop.PumpFor(500);
  EXPECT_DOUBLE_EQ(Engine->CurSpeed(), 0.0);
  ServeAll();
  EXPECT_DOUBLE_EQ(Engine->PercentDone(), 100.0);
  EXPECT_DOUBLE_EQ(Engine->CurSpeed(), 4000 * 8.0 / double(Engine->ElapsedTime()));  // the run's average
}

TEST_F(MultipartHttpDownloaderTest, WatchdogAbortsAStalledRunAndSavesItsState) {
  Engine->SetTimeOut(30);
  StartAndProbe(4000);
  Range(0)->Head(206, 1001, "bytes", "bytes 0-1000/4000");
  Range(0)->Body(Resource.substr(0, 100));
  Loop.PumpFor(20000);
  Range(2)->Head(206, 1001, "bytes", "bytes 2002-3002/4000");
  Range(2)->Body(Resource.substr(2002, 50));  // progress restarts the count
  Loop.PumpFor(30000);
  EXPECT_TRUE(Trace.empty());
  Loop.PumpFor(1000);
  EXPECT_TRUE(Engine->AbortFlag());
  EXPECT_EQ(Trace.front(), "timeout");
  Settle();
  EXPECT_EQ(Trace, (std::vector<std::string>{"timeout", "done"}));
  EXPECT_EQ(Done, (TDone{{503, "Transfert aborted"}}));
  EXPECT_EQ(StateValue("PART_0", "DataCount"), "100");
  EXPECT_EQ(StateValue("PART_2", "DataCount"), "50");
  EXPECT_EQ(StateValue("GLOBAL", "DownloadedSize"), "150");
}

TEST_F(MultipartHttpDownloaderTest, WatchdogCoversAProbeThatNeverAnswers) {
  Engine->SetTimeOut(5);
  Engine->Start();
  Loop.PumpFor(5600);
  Settle();
  EXPECT_EQ(Trace, (std::vector<std::string>{"timeout", "done"}));
  EXPECT_EQ(Done, (TDone{{503, "Transfert aborted"}}));
  EXPECT_FALSE(StateExists());  // nothing to continue yet
}

// ---- ranges that fail

TEST_F(MultipartHttpDownloaderTest, FailedRangeRestartsWhereItStopped) {
  struct TCase {
    const char* Name;
    int Status;      // of the second answer; 0: none
    int Error;       // its end
    char Filler;     // its body: 0 for the resource's own bytes
    std::string Next;  // the third request
  };
  const TCase cases[] = {
      {"dropped again", 206, 56, 0, "bytes=1901-2001"},
      {"server error page", 500, httperrNone, 'E', "bytes=1301-2001"},  // its body is not the file
      {"no answer", 0, 7, 0, "bytes=1301-2001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fresh();
    StartAndProbe(4000);
    Range(1)->Head(206, 1001, "bytes", "bytes 1001-2001/4000");
    Range(1)->Body(Resource.substr(1001, 300));
    const int64_t before = Clock.NowMs();
    Range(1)->Finish(56);
    EXPECT_EQ(Clock.NowMs() - before, 200);  // the pause before a restart
    EXPECT_EQ(Range(1)->Requests.back(), "bytes=1301-2001");
    if (c.Status) Range(1)->Head(c.Status, 600, "bytes", c.Status == 206 ? "bytes 1301-2001/4000" : "");
    if (c.Status) Range(1)->Body(c.Filler ? std::string(600, c.Filler) : Resource.substr(1301, 600));
    Range(1)->Finish(c.Error);
    EXPECT_EQ(Range(1)->Requests.back(), c.Next);
    ServeAll();
    EXPECT_EQ(Done, kOk);
    EXPECT_TRUE(Target.Data == Resource);
  }
}

TEST_F(MultipartHttpDownloaderTest, AbortDuringARestartWaitEndsTheRun) {
  StartAndProbe(4000);
  for (int i = 1; i < 4; ++i) Range(i)->Serve(Resource);
  Loop.SingleShot(100, [this] { Engine->Abort(); });  // fires inside the 200 ms wait
  Range(0)->Finish(7);
  Settle();
  EXPECT_EQ(Range(0)->Requests.size(), 1u);  // not started again
  EXPECT_EQ(Done, (TDone{{503, "Transfert aborted"}}));
}

TEST_F(MultipartHttpDownloaderTest, Answer416EndsTheRunAndDropsTheState) {
  StartAndProbe(4000);
  Range(0)->Serve(Resource, 500);  // leaves progress to save
  Loop.PumpFor(500);
  ASSERT_TRUE(StateExists());
  Range(3)->Head(416, 0, "bytes", "bytes */3000", "", "Requested Range Not Satisfiable");
  Range(3)->Finish();
  Settle();
  EXPECT_EQ(Done, (TDone{{416, "Requested Range Not Satisfiable"}}));
  EXPECT_FALSE(StateExists());
  EXPECT_FALSE(Engine->AbortFlag());  // the owner sees a failure, not its own stop
}

// ---- answers that do not fit their range

TEST_F(MultipartHttpDownloaderTest, ServerIgnoringRangesStillFillsEachRangeInPlace) {
  StartAndProbe(4000);
  for (int i = 3; i >= 0; --i) {
    Range(i)->Head(200, 4000);
    Range(i)->Body(Resource);
    Range(i)->Finish();  // the ones ended early were aborted by the engine
  }
  Settle();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
  EXPECT_EQ(Engine->TotalCount(), 4000);
}

TEST_F(MultipartHttpDownloaderTest, AnswerLongerThanTheRangeWritesOnlyTheRange) {
  StartAndProbe(4000);
  Range(0)->Head(206, 4000, "bytes", "bytes 0-3999/4000");
  Range(0)->Body(Resource);
  EXPECT_EQ(Target.Data.size(), 1001u);  // nothing past range 0
  EXPECT_EQ(Range(0)->Aborts, 1);
  Settle();
  EXPECT_TRUE(Engine->Client(0).Done());
  // An answer that starts after the range's next byte would leave a hole: it is refused.
  Range(1)->Head(206, 500, "bytes", "bytes 1500-1999/4000");
  Range(1)->Body(Resource.substr(1500, 500));
  EXPECT_EQ(Engine->Client(1).DataCount(), 0);
  Settle();
  ServeAll();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
}

TEST_F(MultipartHttpDownloaderTest, WriteFailureCountsNothingAndRestartsTheRange) {
  StartAndProbe(4000);
  Target.FailWrites = true;
  Range(0)->Head(206, 1001, "bytes", "bytes 0-1000/4000");
  Range(0)->Body(Resource.substr(0, 1001));
  EXPECT_EQ(Engine->TotalCount(), 0);
  Settle();
  Target.FailWrites = false;
  EXPECT_EQ(Range(0)->Requests.back(), "bytes=0-1000");
  ServeAll();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
}

// ---- Abort, Pause, Resume and the state file

TEST_F(MultipartHttpDownloaderTest, OperationsRefuseWhatTheyCannotDo) {
  auto message = [](auto call) {
    try {
      call();
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("(nothing thrown)");
  };
  Engine->SetPartCount(0);
  EXPECT_EQ(message([&] { Engine->Start(); }), "PartCount must be positive");
  Engine->SetStateFileName("");
  EXPECT_EQ(message([&] { Engine->Pause(); }), "TMultipartHttpDownloader.Pause: No file name specified");
  EXPECT_EQ(message([&] { Engine->Resume(); }), "TMultipartHttpDownloader.Resume: No file name specified");
  Engine->SetStateFileName("file.bin.dat");
  EXPECT_EQ(Engine->StateFileName(), ".\\file.bin.dat");
}

TEST_F(MultipartHttpDownloaderTest, PauseSavesEveryKeyAndResumeCompletes) {
  Engine->SetConfigMD5("0123456789abcdef0123456789abcdef");
  StartAndProbe(4000);
  Range(0)->Serve(Resource);  // complete
  Range(1)->Serve(Resource, 400);
  Settle();
  Range(2)->Head(206, 1001, "bytes", "bytes 2002-3002/4000");
  Range(2)->Body(Resource.substr(2002, 10));
  Engine->Pause();
  EXPECT_TRUE(Done.empty());  // reported once every client has ended
  Settle();
  EXPECT_EQ(Done, (TDone{{204, "Transfert paused"}}));

  const std::map<std::string, std::string> expected = {
      {"GLOBAL/DownloadConfigMD5", "0123456789abcdef0123456789abcdef"},
      {"GLOBAL/Url", "http://dl.test/file.bin"},
      {"GLOBAL/ContentLength", "4000"},
      {"GLOBAL/DownloadedSize", "1411"},
      {"GLOBAL/PartCount", "4"},
      {"PART_0/StartOffset", "0"}, {"PART_0/EndOffset", "1000"}, {"PART_0/DataCount", "1001"}, {"PART_0/Done", "1"},
      {"PART_1/StartOffset", "1001"}, {"PART_1/EndOffset", "2001"}, {"PART_1/DataCount", "400"}, {"PART_1/Done", "0"},
      {"PART_2/DataCount", "10"}, {"PART_3/StartOffset", "3003"}, {"PART_3/EndOffset", "4000"},
      {"PART_3/DataCount", "0"}, {"PART_3/URL", "http://dl.test/file.bin"},
  };
  for (const auto& [path, value] : expected) {
    const size_t slash = path.find('/');
    EXPECT_EQ(StateValue(path.substr(0, slash), path.substr(slash + 1)), value) << path;
  }

  Done.clear();
  Engine->Resume();
  Settle();
  EXPECT_EQ(CurrentRequests(), (std::vector<std::string>{"(none)", "bytes=1401-2001", "bytes=2012-3002", "bytes=3003-4000"}));
  EXPECT_EQ(Engine->TotalCount(), 1411);
  ServeAll();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
}

TEST_F(MultipartHttpDownloaderTest, StateIsSavedAtTicksWithProgress) {
  Target.Trace = &Trace;
  Platform->Files->Trace = &Trace;
  StartAndProbe(4000);
  Range(3)->Head(206, 997, "bytes", "bytes 3003-3999/4000");
  Range(3)->Body(Resource.substr(3003, 600));
  EXPECT_FALSE(StateExists());
  Loop.PumpFor(500);
  EXPECT_EQ(Trace, std::vector<std::string>{"state"});
  EXPECT_EQ(StateValue("PART_3", "DataCount"), "600");
  Loop.PumpFor(1000);  // no new bytes: nothing written
  EXPECT_EQ(Trace.size(), 1u);

  // A state that cannot be written is not left behind half-true.
  Platform->Files->FailWrites = true;
  Range(3)->Body(Resource.substr(3603, 100));
  Loop.PumpFor(500);
  EXPECT_FALSE(StateExists());

  // A stop syncs the target before the state claims its bytes.
  Platform->Files->FailWrites = false;
  Trace.clear();
  Engine->Pause();
  Settle();
  EXPECT_EQ(Trace, (std::vector<std::string>{"sync", "state", "done"}));
  EXPECT_EQ(StateValue("PART_3", "DataCount"), "700");
}

TEST_F(MultipartHttpDownloaderTest, StateOfAnotherSizeIsDeletedAndTheTargetCut) {
  WriteStateText(StateFor({1001, 1001, 1001, 998}, 5000));
  Target.Data = std::string(5000, 'x');
  StartAndProbe(4000);
  EXPECT_FALSE(StateExists());
  EXPECT_TRUE(Target.Data.empty());
  EXPECT_EQ(CurrentRequests(), (std::vector<std::string>{"bytes=0-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}));
}

TEST_F(MultipartHttpDownloaderTest, FinishedStateSendsNoRequest) {
  struct TCase {
    const char* Name;
    std::string Target;
  };
  const std::string resource = MakeResource(4000);
  const TCase cases[] = {{"exact", resource}, {"with stale bytes past the end", resource + "tail"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fresh();
    WriteStateText(StateFor({1001, 1001, 1001, 997}));
    Target.Data = c.Target;
    StartAndProbe(4000);
    for (auto* client : Net.Clients) EXPECT_TRUE(client->Requests.empty());
    EXPECT_EQ(Done, (TDone{{200, "Check the last time download finished"}}));
    EXPECT_TRUE(Target.Data == resource);
  }
}

// Stored counts are trusted only where they fit the range they are read for; everything else
// is fetched again, and the file still comes out whole.
TEST_F(MultipartHttpDownloaderTest, DamagedStateNeverWritesOutsideARange) {
  struct TCase {
    const char* Name;
    std::string State;
    std::vector<std::string> Requests;
  };
  const std::string good = StateFor({500, 600, 0, 0});
  auto replace = [&](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const TCase cases[] = {
      {"good", good, {"bytes=500-1000", "bytes=1601-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"garbage count", replace(good, "DataCount=500", "DataCount=5x0"), {"bytes=0-1000", "bytes=1601-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"negative count", replace(good, "DataCount=500", "DataCount=-500"), {"bytes=0-1000", "bytes=1601-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"oversized count", replace(good, "DataCount=500", "DataCount=99999999999999999999"), {"bytes=0-1000", "bytes=1601-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"count of the whole file", replace(good, "DataCount=600", "DataCount=4000"), {"bytes=500-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"other layout", replace(good, "StartOffset=1001", "StartOffset=1000"), {"bytes=500-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"non-numeric index", replace(good, "[PART_1]", "[PART_x]"), {"bytes=500-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"missing index", replace(good, "[PART_1]", "[PART_]"), {"bytes=500-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
      {"index out of range", replace(good, "[PART_1]", "[PART_7]"), {"bytes=500-1000", "bytes=1001-2001", "bytes=2002-3002", "bytes=3003-4000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fresh();
    WriteStateText(c.State);
    Target.Data = MakeResource(4000);  // what the earlier run wrote
    StartAndProbe(4000);
    EXPECT_EQ(CurrentRequests(), c.Requests);
    ServeAll();
    EXPECT_EQ(Done, kOk);
    EXPECT_TRUE(Target.Data == Resource);
  }
}

TEST_F(MultipartHttpDownloaderTest, ResumeOfAStateThatCannotBeContinuedStartsOver) {
  const char* states[] = {
      "[GLOBAL]\nContentLength=4000\nPartCount=2\n[PART_0]\nStartOffset=0\nEndOffset=1000\nDataCount=5\n",  // a hole
      "[GLOBAL]\nContentLength=abc\n",
      "",
  };
  for (const char* state : states) {
    SCOPED_TRACE(state);
    WriteStateText(state);
    Engine->Resume();
    Settle();
    ASSERT_EQ(Net.Clients.size(), 1u);
    EXPECT_EQ(Probe()->Requests, std::vector<std::string>{""});  // a probe, not a range
    Engine->Abort();
    Settle();
  }
}

TEST_F(MultipartHttpDownloaderTest, CountsPastTheEndOfTheTargetAreNotTrusted) {
  WriteStateText(StateFor({1001, 1001, 1001, 997}));  // says finished
  Resource = MakeResource(4000);
  Target.Data = Resource.substr(0, 1500);  // but the file was cut
  StartAndProbe(4000);
  EXPECT_EQ(CurrentRequests(), (std::vector<std::string>{"(none)", "bytes=1500-2001", "bytes=2002-3002", "bytes=3003-4000"}));
  ServeAll();
  EXPECT_EQ(Done, kOk);
  EXPECT_TRUE(Target.Data == Resource);
}

}  // namespace
