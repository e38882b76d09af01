#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TMultipartHttpDownloader;
class TFile;
class TEventLoop;

enum TProxyType : uint8_t { ptDirect = 0, ptWindowsIE = 1 };

// One download of one URL into one file with a single finish report: drives a fresh
// TMultipartHttpDownloader per start, owns the target file, checks the MD5, spends a shared
// retry budget on errors, time-outs and bad results, and falls back once to the system proxy.
class TDownloader {
 public:
  using TProgressEvent = std::function<void(int64_t elapsedMs, double speed, double percent, int64_t received)>;
  using TFinishedEvent = std::function<void(bool success, int code, const std::string& fileName)>;

  explicit TDownloader(TEventLoop* loop = nullptr);
  ~TDownloader();
  TDownloader(const TDownloader&) = delete;
  TDownloader& operator=(const TDownloader&) = delete;

  void Start(const std::string& fileName, const std::string& url);
  void Stop();
  void Pause();
  void Resume();
  void SetNoStateFile(bool on);
  int64_t GetContentLength();
  void CloseFile();
  // Frees this downloader once the current event has returned (from inside its own event).
  static void ReleaseLater(std::unique_ptr<TDownloader> downloader);

  TProgressEvent FOnProgress;
  TFinishedEvent FOnFinished;
  int32_t FMaxReDownCount{3};
  int32_t FReDownCount{0};
  int32_t FPartCount{4};
  bool FCheckMD5{false};
  std::string FMD5;
  std::string FUrl;
  std::string FFileName;
  bool FNoStateFile{false};
  bool FStopped{false};
  bool FFinishReported{false};
  TProxyType FProxyType{ptDirect};
  std::string FProxyHost, FProxyPort;
  // An extra CA bundle for TLS peers (tests); empty = the system store.
  std::string FCaFile;

 private:
  // Implementation details are the implementer's.
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};
