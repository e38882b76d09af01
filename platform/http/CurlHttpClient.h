#pragma once
#include <memory>
#include <string>

#include "platform/http/CurlMulti.h"
#include "platform/http/HttpClient.h"

// THttpClient on libcurl's multi interface (see TCurlMulti). libcurl does the protocol work:
// connections, TLS with peer and host verification, redirects, proxies, SOCKS, authentication.
// This class maps the settings, turns libcurl's header lines into the response head and the
// events, and keeps its promises about when events may arrive.
//
// Authentication follows the scheme that is set: httpAuthNone sends no credentials. When an
// OnHeaderEnd handler answers a 401 or 407 by choosing a scheme (and credentials are set), the
// request is sent once more with it instead of ending, as the engine's probe expects.
class TCurlHttpClient : public THttpClient, private TCurlMulti::TTransfer {
public:
  explicit TCurlHttpClient(TEventLoop* loop = nullptr);
  ~TCurlHttpClient() override;

  void Get() override;
  void Post(const std::string& body, const std::string& contentType) override;
  void Abort() override;
  bool Busy() const override { return FRunning || FStartPosted; }

  // libcurl's receive buffer: bigger blocks mean fewer writes of the body.
  static constexpr long BufferSize = 512 * 1024;

private:
  void Start();
  bool Configure();
  void TransferDone(CURLcode result) override;
  void RaiseHeaderEnd();
  void HeaderLine(const char* data, size_t size);
  size_t Body(const char* data, size_t size);
  void Finish(int error);
  void PostFinish(int error);
  // Runs an event handler; an exception becomes OnBgException and ends the request.
  template <class F>
  void Guarded(F&& handler);
  void FreeHeaders();

  static size_t OnHeaderLine(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);

  std::shared_ptr<TCurlMulti> FMulti;
  CURL* FEasy{nullptr};
  curl_slist* FHeaders{nullptr};
  std::shared_ptr<bool> FAlive{std::make_shared<bool>(true)};
  uint64_t FGeneration{0};  // one per request; a posted report of an older one is dropped
  bool FRunning{false};
  bool FStartPosted{false};
  bool FPost{false};
  std::string FPostBody, FContentType;
  bool FAbortAsked{false};
  bool FFailed{false};  // a handler threw
  bool FHeaderRaised{false};
  bool FSkipBody{false};  // the body of a redirect that is being followed
  bool FAuthRetryPending{false}, FAuthRetried{false};
  THttpAuthType FServerAuthSent{httpAuthNone}, FProxyAuthSent{httpAuthNone};
  THttpResponse FHead;  // the head being received
  char FErrorBuffer[CURL_ERROR_SIZE]{};
};
