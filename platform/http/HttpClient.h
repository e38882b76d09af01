#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TEventLoop;

// Authentication schemes of the server and of the proxy.
enum THttpAuthType { httpAuthNone, httpAuthBasic, httpAuthNtlm, httpAuthDigest };

// Error codes of OnRequestDone: 0, a libcurl error number (below 100), or one of these.
enum : int {
  httperrNone = 0,
  httperrAborted = 1000,    // Abort() was called
  httperrException = 1001,  // an event handler threw; the message went to OnBgException
  httperrTimeout = 1002,    // the synchronous form ran out of time
};

// What one request sends. Copied as a whole between clients that share a configuration.
struct THttpSettings {
  std::string URL;
  std::string Username, Password;
  THttpAuthType ServerAuth{httpAuthNone};
  std::string Proxy, ProxyPort;  // HTTP proxy; an empty host means a direct connection
  std::string ProxyUsername, ProxyPassword;
  THttpAuthType ProxyAuth{httpAuthNone};
  std::string SocksServer, SocksPort, SocksLevel;  // level "4", "4A" or "5" (the default)
  std::string FromEmail;                          // sent as the "From" header when not empty
  int64_t RangeBegin{-1};  // -1: no Range header
  int64_t RangeEnd{-1};    // -1: open range ("bytes=begin-")
  std::vector<std::string> ExtraHeaders;  // "Name: value" lines
  std::string CaFile;  // an extra CA bundle (tests); peer and host are always verified
  int MaxRedirects{10};
  int64_t ConnectTimeoutMs{0};  // 0: libcurl's default
};

// The head of the final response (redirects that are followed do not count).
struct THttpResponse {
  int StatusCode{0};
  std::string ReasonPhrase;
  std::string Location;       // the URL the answer came from (after any redirect)
  int64_t ContentLength{-1};  // -1: not announced
  std::string AcceptRanges;
  std::string ContentRange;
  std::vector<std::string> Headers;  // every "Name: value" line of the final head

  std::string Header(const std::string& name) const;  // first value, letter case ignored; "" if absent
};

// One asynchronous HTTP request at a time, driven by the event loop. Settings are read when a
// request starts. Events arrive from the loop:
//   OnBeforeHeaderSend  just before the request goes out; may add header lines
//   OnLocationChange    a redirect is being followed (Response().Location is the new URL)
//   OnHeaderEnd         the final response head is complete
//   OnDocumentData      a block of the body
//   OnRequestDone       the request has ended (error code, httperrNone on success); once per request
//   OnBgException       an event handler threw; the request then ends with httperrException
// NOTE: OnHeaderEnd, OnDocumentData and OnLocationChange run inside the transfer: they may call
// Abort but must not run a nested loop or destroy the client (use TEventLoop::DeleteLater).
class THttpClient {
public:
  explicit THttpClient(TEventLoop* loop);
  virtual ~THttpClient() = default;
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  THttpSettings& Settings() { return FSettings; }
  const THttpSettings& Settings() const { return FSettings; }
  const THttpResponse& Response() const { return FResponse; }
  TEventLoop& Loop() const { return *FLoop; }

  virtual void Get() = 0;
  virtual void Post(const std::string& body, const std::string& contentType) = 0;
  // Stops the request; OnRequestDone follows from the loop with httperrAborted. Nothing happens
  // when no request runs.
  virtual void Abort() = 0;
  virtual bool Busy() const = 0;
  // The text for the last error code (libcurl's message with its details).
  virtual std::string ErrorText() const { return FErrorText; }

  // The synchronous form: posts body and runs rounds of the event loop (other events keep
  // arriving) until the answer is complete or timeoutMs has passed, when the request is aborted
  // and httperrTimeout returned. Returns the error code; the body lands in answer.
  int PostSync(const std::string& body, const std::string& contentType, int64_t timeoutMs, std::string& answer);

  std::function<void(THttpClient&, std::vector<std::string>& headers)> OnBeforeHeaderSend;
  std::function<void(THttpClient&)> OnLocationChange;
  std::function<void(THttpClient&)> OnHeaderEnd;
  std::function<void(THttpClient&, const char* data, size_t size)> OnDocumentData;
  std::function<void(THttpClient&, int error)> OnRequestDone;
  std::function<void(THttpClient&, const std::string& what)> OnBgException;

protected:
  TEventLoop* FLoop;
  THttpSettings FSettings;
  THttpResponse FResponse;
  std::string FErrorText;
};

// Makes the HTTP client of the platform (libcurl) on loop (null: TEventLoop::Main()).
std::unique_ptr<THttpClient> NewHttpClient(TEventLoop* loop = nullptr);

using THttpClientFactory = std::function<std::unique_ptr<THttpClient>()>;
