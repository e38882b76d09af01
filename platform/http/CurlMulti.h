#pragma once
#include <curl/curl.h>

#include <map>
#include <memory>

#include "platform/EventLoop.h"

// The one libcurl multi handle of an event loop. libcurl is driven through exactly two hooks:
// its socket callback becomes fd watches of the loop, its timer callback a one-shot timer of
// the loop; no thread of ours and no polling. Finished transfers are drained in one place
// (DrainCompletions) and handed to the object hung on each easy handle's CURLOPT_PRIVATE.
//
// The clients of a loop share the multi handle (and so its connection cache) through
// shared_ptr; it goes away with the last client.
class TCurlMulti : public std::enable_shared_from_this<TCurlMulti> {
public:
  // Receives the end of a transfer; set as CURLOPT_PRIVATE of every easy handle added.
  class TTransfer {
  public:
    virtual ~TTransfer() = default;
    virtual void TransferDone(CURLcode result) = 0;
  };

  static std::shared_ptr<TCurlMulti> For(TEventLoop& loop);
  ~TCurlMulti();
  TCurlMulti(const TCurlMulti&) = delete;
  TCurlMulti& operator=(const TCurlMulti&) = delete;

  bool Add(CURL* easy);
  void Remove(CURL* easy);
  TEventLoop& Loop() const { return FLoop; }
  // True while libcurl runs, i.e. inside one of its callbacks: handles may not be added or
  // removed then.
  bool InsideCurl() const { return FDepth > 0; }

private:
  explicit TCurlMulti(TEventLoop& loop);
  static int OnSocket(CURL* easy, curl_socket_t fd, int what, void* self, void* socketData);
  static int OnTimer(CURLM* multi, long timeoutMs, void* self);
  void SocketAction(curl_socket_t fd, int events);
  void DrainCompletions();

  TEventLoop& FLoop;
  CURLM* FMulti{nullptr};
  TEventLoop::TTimerId FTimer{0};
  std::map<curl_socket_t, TEventLoop::TWatchId> FWatches;
  int FDepth{0};  // > 0 while libcurl runs (its callbacks must not re-enter it)
};
