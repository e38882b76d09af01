#include "platform/http/CurlMulti.h"

#include <vector>

namespace {
struct TGlobalInit {
  TGlobalInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

// One multi handle per live loop; weak so that it ends with its last client.
std::vector<std::pair<TEventLoop*, std::weak_ptr<TCurlMulti>>>& Registry() {
  static std::vector<std::pair<TEventLoop*, std::weak_ptr<TCurlMulti>>> registry;
  return registry;
}
}  // namespace

std::shared_ptr<TCurlMulti> TCurlMulti::For(TEventLoop& loop) {
  static TGlobalInit init;
  auto& registry = Registry();
  for (auto it = registry.begin(); it != registry.end();) {
    if (it->second.expired()) {
      it = registry.erase(it);
      continue;
    }
    if (it->first == &loop) return it->second.lock();
    ++it;
  }
  std::shared_ptr<TCurlMulti> multi(new TCurlMulti(loop));
  registry.emplace_back(&loop, multi);
  return multi;
}

TCurlMulti::TCurlMulti(TEventLoop& loop) : FLoop(loop) {
  FMulti = curl_multi_init();
  curl_multi_setopt(FMulti, CURLMOPT_SOCKETFUNCTION, &TCurlMulti::OnSocket);
  curl_multi_setopt(FMulti, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(FMulti, CURLMOPT_TIMERFUNCTION, &TCurlMulti::OnTimer);
  curl_multi_setopt(FMulti, CURLMOPT_TIMERDATA, this);
  // Separate connections per range: several ranges of one host must not share one HTTP/2
  // connection, which would serialise them.
  curl_multi_setopt(FMulti, CURLMOPT_PIPELINING, long(CURLPIPE_NOTHING));
}

TCurlMulti::~TCurlMulti() {
  curl_multi_cleanup(FMulti);  // may still report sockets to remove; the watches go below
  for (const auto& [fd, watch] : FWatches) FLoop.Unwatch(watch);
  if (FTimer) FLoop.KillTimer(FTimer);
}

bool TCurlMulti::Add(CURL* easy) {
  ++FDepth;
  CURLMcode code = curl_multi_add_handle(FMulti, easy);
  --FDepth;
  return code == CURLM_OK;
}

void TCurlMulti::Remove(CURL* easy) {
  ++FDepth;
  curl_multi_remove_handle(FMulti, easy);
  --FDepth;
}

int TCurlMulti::OnSocket(CURL*, curl_socket_t fd, int what, void* selfPtr, void*) {
  auto* self = static_cast<TCurlMulti*>(selfPtr);
  auto it = self->FWatches.find(fd);
  if (what == CURL_POLL_REMOVE) {
    if (it != self->FWatches.end()) {
      self->FLoop.Unwatch(it->second);
      self->FWatches.erase(it);
    }
    return 0;
  }
  int events = 0;
  if (what & CURL_POLL_IN) events |= TEventLoop::fdRead;
  if (what & CURL_POLL_OUT) events |= TEventLoop::fdWrite;
  if (it != self->FWatches.end()) {
    self->FLoop.ModifyWatch(it->second, events);
  } else {
    self->FWatches[fd] = self->FLoop.WatchFd(fd, events, [self](int readyFd, int ready) {
      self->SocketAction(readyFd, ready);
    });
  }
  return 0;
}

int TCurlMulti::OnTimer(CURLM*, long timeoutMs, void* selfPtr) {
  auto* self = static_cast<TCurlMulti*>(selfPtr);
  if (self->FTimer) self->FLoop.KillTimer(self->FTimer);
  self->FTimer = 0;
  if (timeoutMs >= 0)
    self->FTimer = self->FLoop.SingleShot(timeoutMs, [self] {
      self->FTimer = 0;
      self->SocketAction(CURL_SOCKET_TIMEOUT, 0);
    });
  return 0;
}

void TCurlMulti::SocketAction(curl_socket_t fd, int events) {
  // A nested loop run from inside a libcurl callback must not re-enter libcurl; the descriptor
  // stays ready and is served once that callback has returned.
  if (FDepth > 0) return;
  int mask = 0;
  if (events & TEventLoop::fdRead) mask |= CURL_CSELECT_IN;
  if (events & TEventLoop::fdWrite) mask |= CURL_CSELECT_OUT;
  if (events & TEventLoop::fdError) mask |= CURL_CSELECT_ERR;
  auto keepAlive = shared_from_this();  // a completion handler may release the last client
  int running = 0;
  ++FDepth;
  curl_multi_socket_action(FMulti, fd, mask, &running);
  --FDepth;
  DrainCompletions();
}

void TCurlMulti::DrainCompletions() {
  // A completion handler may start requests, abort others or pump the loop (a range restart
  // waits 200 ms): each message is taken off the queue before its handler runs, and removing
  // a handle also drops any message of it still queued.
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(FMulti, &left)) {
    if (msg->msg != CURLMSG_DONE) continue;
    CURL* easy = msg->easy_handle;
    CURLcode result = msg->data.result;
    TTransfer* transfer = nullptr;
    curl_easy_getinfo(easy, CURLINFO_PRIVATE, &transfer);
    Remove(easy);
    if (transfer) transfer->TransferDone(result);
  }
}
