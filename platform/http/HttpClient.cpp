#include "platform/http/HttpClient.h"

#include "platform/EventLoop.h"
#include "platform/TextCodec.h"

std::string THttpResponse::Header(const std::string& name) const {
  for (const auto& line : Headers) {
    size_t colon = line.find(':');
    if (colon != std::string::npos && SameText(Trim(line.substr(0, colon)), name)) return Trim(line.substr(colon + 1));
  }
  return {};
}

THttpClient::THttpClient(TEventLoop* loop) : FLoop(loop ? loop : &TEventLoop::Main()) {}

int THttpClient::PostSync(const std::string& body, const std::string& contentType, int64_t timeoutMs,
                          std::string& answer) {
  answer.clear();
  auto userData = OnDocumentData;
  auto userDone = OnRequestDone;
  bool done = false, timedOut = false;
  int error = httperrNone;
  OnDocumentData = [&](THttpClient& self, const char* data, size_t size) {
    answer.append(data, size);
    if (userData) userData(self, data, size);
  };
  OnRequestDone = [&](THttpClient& self, int code) {
    done = true;
    error = code;
  };
  // NOTE: rounds of RunOnce instead of a nested Exec, so that a modal loop started by another
  // event meanwhile cannot be quit by this request ending.
  TEventLoop::TTimerId guard = 0;
  if (timeoutMs > 0)
    guard = FLoop->SingleShot(timeoutMs, [&] {
      timedOut = true;
      Abort();
    });
  Post(body, contentType);
  while (!done) FLoop->RunOnce(-1);
  if (guard) FLoop->KillTimer(guard);
  OnDocumentData = userData;
  OnRequestDone = userDone;
  if (timedOut && error == httperrAborted) error = httperrTimeout;
  if (OnRequestDone) OnRequestDone(*this, error);
  return error;
}
