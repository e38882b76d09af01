#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Installer/Downloader/MyHttpCli.h"
#include "platform/EventLoop.h"
#include "platform/http/HttpClient.h"

class TFile;
struct TDownloadState;

// The multi-part download engine: fetches one HTTP or HTTPS resource into one target file with
// several byte-range requests side by side. A run probes the server once (size, range support,
// redirects), splits the resource into PartCount ranges, runs one client per range, writes
// each range's bytes at their own offsets, keeps a resume state file, restarts a range that
// fails, watches for stalls, and reports exactly one OnRequestDone when its last range has
// ended: 200 when every range is complete, 503 after Abort (or the watchdog), 204 after Pause,
// otherwise the probe's error or status. Everything runs on the event loop's thread.
//
// Beyond the bare protocol it guards the target: a range never writes outside the bytes it
// owns (an answer that starts earlier is skipped into place, bytes past the range are dropped),
// a byte counts only once its write has returned, a state file is trusted only where it matches
// the range layout, and 200 is never reported for a target of the wrong size.
class TMultipartHttpDownloader {
public:
  // Status of OnRequestDone when every range reported complete but the target is not
  // ContentLength bytes long (it was changed behind the engine's back).
  static constexpr int StatusWrongSize = 2001;
  // Bytes of a range collected before one write of the target.
  static constexpr int64_t kWriteBlock = 512 * 1024;

  explicit TMultipartHttpDownloader(TEventLoop* loop = nullptr);
  ~TMultipartHttpDownloader();
  TMultipartHttpDownloader(const TMultipartHttpDownloader&) = delete;
  TMultipartHttpDownloader& operator=(const TMultipartHttpDownloader&) = delete;

  // ---- published properties (set before Start) ----
  const std::string& URL() const { return FConfig.URL; }
  void SetURL(const std::string& url) { FConfig.URL = url; }
  const std::string& Username() const { return FConfig.Username; }
  void SetUsername(const std::string& v) { FConfig.Username = v; }
  const std::string& Password() const { return FConfig.Password; }
  void SetPassword(const std::string& v) { FConfig.Password = v; }
  const std::string& Proxy() const { return FConfig.Proxy; }
  void SetProxy(const std::string& v) { FConfig.Proxy = v; }
  const std::string& ProxyPort() const { return FConfig.ProxyPort; }
  void SetProxyPort(const std::string& v) { FConfig.ProxyPort = v; }
  const std::string& ProxyUsername() const { return FConfig.ProxyUsername; }
  void SetProxyUsername(const std::string& v) { FConfig.ProxyUsername = v; }
  const std::string& ProxyPassword() const { return FConfig.ProxyPassword; }
  void SetProxyPassword(const std::string& v) { FConfig.ProxyPassword = v; }
  THttpAuthType ProxyAuth() const { return FConfig.ProxyAuth; }
  void SetProxyAuth(THttpAuthType v) { FConfig.ProxyAuth = v; }
  THttpAuthType ServerAuth() const { return FConfig.ServerAuth; }
  void SetServerAuth(THttpAuthType v) { FConfig.ServerAuth = v; }
  const std::string& SocksServer() const { return FConfig.SocksServer; }
  void SetSocksServer(const std::string& v) { FConfig.SocksServer = v; }
  const std::string& SocksPort() const { return FConfig.SocksPort; }
  void SetSocksPort(const std::string& v) { FConfig.SocksPort = v; }
  const std::string& SocksLevel() const { return FConfig.SocksLevel; }
  void SetSocksLevel(const std::string& v) { FConfig.SocksLevel = v; }
  const std::string& FromEmail() const { return FConfig.FromEmail; }
  void SetFromEmail(const std::string& v) { FConfig.FromEmail = v; }
  // Header lines (CR LF separated) added to the probe's request just before it is sent.
  const std::string& BeforeHeadersStr() const { return FBeforeHeadersStr; }
  void SetBeforeHeadersStr(const std::string& v) { FBeforeHeadersStr = v; }
  int32_t PartCount() const { return FPartCount; }
  void SetPartCount(int32_t v) { FPartCount = v; }
  // The target, opened and owned by the owner; the engine only writes at offsets (and cuts it
  // to size when a run starts over or ends longer than the resource).
  TFile* FileStream() const { return FFileStream; }
  void SetFileStream(TFile* file) { FFileStream = file; }
  // A name without a folder part means the current folder (".\name").
  const std::string& StateFileName() const { return FStateFileName; }
  void SetStateFileName(const std::string& name);
  uint32_t TimeOut() const { return FTimeOut; }  // seconds without a byte before the watchdog fires
  void SetTimeOut(uint32_t seconds) { FTimeOut = seconds; }
  bool AbortFlag() const { return FAbortFlag; }
  bool PauseFlag() const { return FPauseFlag; }

  // ---- unpublished settings ----
  bool NoStateFile() const { return FNoStateFile; }
  void SetNoStateFile(bool v) { FNoStateFile = v; }
  const std::string& ConfigMD5() const { return FConfigMD5; }  // stored in the state file only
  void SetConfigMD5(const std::string& v) { FConfigMD5 = v; }
  int64_t DefaultContentLength() const { return FDefaultContentLength; }
  void SetDefaultContentLength(int64_t v) { FDefaultContentLength = v; }
  const std::string& CaFile() const { return FConfig.CaFile; }  // an extra CA bundle (tests)
  void SetCaFile(const std::string& v) { FConfig.CaFile = v; }
  // Where the clients come from (tests hand in scripted ones); the platform's by default.
  void SetClientFactory(THttpClientFactory factory) { FFactory = std::move(factory); }

  // ---- run state and statistics ----
  int64_t ContentLength() const { return FContentLength; }
  int64_t TotalCount() const { return FTotalCount; }  // bytes of the target written so far
  double CurSpeed() const { return FCurSpeed; }        // kilobits per second
  double PercentDone() const { return FPercentDone; }  // 0..100
  int64_t ElapsedTime() const { return FElapsedMs; }   // milliseconds since the run started
  int ClientCount() const { return int(FClients.size()); }
  const TMyHttpCli& Client(int i) const { return *FClients[size_t(i)]; }

  // Begins a run: the probe, then the ranges. Throws "PartCount must be positive".
  void Start();
  // Stops every client and saves the state; the run then reports 503 "Transfert aborted".
  void Abort();
  // Stops every client; once they have ended the state is saved and 204 "Transfert paused"
  // reported. Throws when StateFileName is empty.
  void Pause();
  // Continues from the state file. Throws when StateFileName is empty.
  void Resume();

  std::function<void(const std::string& text, int code)> OnDisplay;  // diagnostic lines
  std::function<void(int status, const std::string& reason)> OnRequestDone;
  std::function<void()> OnShowStats;
  std::function<void()> OnTimeOut;

private:
  std::unique_ptr<TMyHttpCli> NewClient(int index, const std::string& url);
  void AttachRangeEvents(TMyHttpCli& client);
  void ReleaseClients();

  void ProbeHeaders(TMyHttpCli& probe);
  void ProbeDone(TMyHttpCli& probe, int error);
  void StartMulti();
  void ClampToTarget(TMyHttpCli& client);
  void RangeHeaders(TMyHttpCli& client);
  void DocumentData(TMyHttpCli& client, const char* data, int64_t size);
  bool Flush(TMyHttpCli& client);
  void FlushAll();
  void RangeDone(TMyHttpCli& client, int error);
  void RestartRange(TMyHttpCli* client);
  void FailRun(int status, const std::string& text);
  void Completion(int status, const std::string& text);
  void ReportOnce(int status, const std::string& text);
  bool TargetHasRightSize();

  void Tick(bool last);
  void StartTimer();
  void StopTimer();

  bool StateFileExists() const;
  bool ReadStateFile(TDownloadState& state) const;
  void SaveState(bool syncTarget = true);
  void DeleteStateFile();
  void Display(const std::string& text, int code = 0);
  void ShowStats();

  TEventLoop* FLoop;
  THttpClientFactory FFactory;
  std::shared_ptr<bool> FAlive{std::make_shared<bool>(true)};

  THttpSettings FConfig;  // URL, credentials, proxy, SOCKS, authentication, From, CA file
  std::string FBeforeHeadersStr;
  int32_t FPartCount{4};
  TFile* FFileStream{nullptr};
  std::string FStateFileName;
  uint32_t FTimeOut{30};
  bool FAbortFlag{false};
  bool FPauseFlag{false};
  bool FNoStateFile{false};
  std::string FConfigMD5;
  int64_t FDefaultContentLength{0};

  std::vector<std::unique_ptr<TMyHttpCli>> FClients;
  bool FProbing{false};      // the only client is the probe; there is no range layout yet
  bool FProbeAccepted{false};
  bool FSizeKnown{true};     // false: one open range of unknown size
  uint64_t FRun{0};          // a posted start of the ranges belongs to the run it was posted in
  int FFailStatus{0};        // a range failed the whole run (416)
  std::string FFailText;
  bool FReported{false};

  int64_t FContentLength{0};
  int64_t FTotalCount{0};
  int64_t FPrevTotalCount{0};
  int64_t FLastTick{0};
  int64_t FStartTime{0};
  int64_t FBeginTime{0};
  int64_t FElapsedMs{0};
  double FCurSpeed{0};
  double FPercentDone{0};
  TEventLoop::TTimerId FTimer{0};
};
