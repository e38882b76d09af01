#include "platform/http/CurlHttpClient.h"

#include <charconv>

#include "platform/EventLoop.h"
#include "platform/TextCodec.h"

// Sections: helpers; starting a request (Start, Configure); libcurl's callbacks (header lines,
// body); the end of a request (TransferDone, Abort, Finish).

namespace {

long AuthMask(THttpAuthType type) {
  switch (type) {
    case httpAuthBasic: return long(CURLAUTH_BASIC);
    case httpAuthNtlm: return long(CURLAUTH_NTLM);
    case httpAuthDigest: return long(CURLAUTH_DIGEST);
    default: return 0;
  }
}

bool ParseCount(const std::string& text, int64_t& value) {
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

std::string SocksUrl(const THttpSettings& s) {
  std::string scheme = "socks5";
  if (Trim(s.SocksLevel) == "4") scheme = "socks4";
  if (SameText(Trim(s.SocksLevel), "4A")) scheme = "socks4a";
  std::string url = scheme + "://" + s.SocksServer;
  if (!s.SocksPort.empty()) url += ":" + s.SocksPort;
  return url;
}

// location relative to base, as the redirect will be followed.
std::string ResolveUrl(const char* base, const std::string& location) {
  std::string result = location;
  CURLU* url = curl_url();
  if (base && curl_url_set(url, CURLUPART_URL, base, 0) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK) {
    char* full = nullptr;
    if (curl_url_get(url, CURLUPART_URL, &full, 0) == CURLUE_OK) result = full;
    curl_free(full);
  }
  curl_url_cleanup(url);
  return result;
}

void FillDerived(THttpResponse& head) {
  int64_t length = -1;
  head.ContentLength = ParseCount(head.Header("Content-Length"), length) ? length : -1;
  head.AcceptRanges = head.Header("Accept-Ranges");
  head.ContentRange = head.Header("Content-Range");
}

}  // namespace

std::unique_ptr<THttpClient> NewHttpClient(TEventLoop* loop) { return std::make_unique<TCurlHttpClient>(loop); }

TCurlHttpClient::TCurlHttpClient(TEventLoop* loop) : THttpClient(loop), FMulti(TCurlMulti::For(*FLoop)) {
  FEasy = curl_easy_init();
}

TCurlHttpClient::~TCurlHttpClient() {
  *FAlive = false;
  if (FRunning) FMulti->Remove(FEasy);
  curl_easy_cleanup(FEasy);
  FreeHeaders();
}

void TCurlHttpClient::FreeHeaders() {
  curl_slist_free_all(FHeaders);
  FHeaders = nullptr;
}

template <class F>
void TCurlHttpClient::Guarded(F&& handler) {
  std::string what;
  try {
    handler();
    return;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "unknown exception";
  }
  FFailed = true;
  if (OnBgException) {
    try {
      OnBgException(*this, what);
    } catch (...) {
    }
  }
}

// ---- starting a request ----

void TCurlHttpClient::Get() {
  FPost = false;
  FAuthRetried = false;
  Start();
}

void TCurlHttpClient::Post(const std::string& body, const std::string& contentType) {
  FPost = true;
  FPostBody = body;
  FContentType = contentType;
  FAuthRetried = false;
  Start();
}

void TCurlHttpClient::Start() {
  const uint64_t generation = ++FGeneration;
  if (FMulti->InsideCurl()) {
    // libcurl refuses new transfers from inside its callbacks: start from the loop instead.
    FStartPosted = true;
    std::weak_ptr<bool> alive = FAlive;
    FLoop->Post([this, alive, generation] {
      if (alive.expired() || generation != FGeneration || !FStartPosted) return;
      Start();
    });
    return;
  }
  FStartPosted = false;
  if (FRunning) FMulti->Remove(FEasy);
  FRunning = false;
  FAbortAsked = FFailed = FHeaderRaised = FSkipBody = FAuthRetryPending = false;
  FHead = {};
  FResponse = {};
  FResponse.Location = FSettings.URL;
  FErrorText.clear();
  FErrorBuffer[0] = 0;
  if (!Configure()) {
    PostFinish(FFailed ? httperrException : int(CURLE_FAILED_INIT));
    return;
  }
  if (!FMulti->Add(FEasy)) {
    PostFinish(int(CURLE_FAILED_INIT));
    return;
  }
  FRunning = true;
}

bool TCurlHttpClient::Configure() {
  const THttpSettings& s = FSettings;
  bool ok = true;
  auto set = [&](CURLoption option, auto value) {
    if (curl_easy_setopt(FEasy, option, value) != CURLE_OK) ok = false;
  };
  curl_easy_reset(FEasy);
  set(CURLOPT_URL, s.URL.c_str());
  set(CURLOPT_PRIVATE, static_cast<void*>(static_cast<TCurlMulti::TTransfer*>(this)));
  set(CURLOPT_ERRORBUFFER, FErrorBuffer);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_HEADERFUNCTION, &TCurlHttpClient::OnHeaderLine);
  set(CURLOPT_HEADERDATA, static_cast<void*>(this));
  set(CURLOPT_WRITEFUNCTION, &TCurlHttpClient::OnBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(this));
  set(CURLOPT_PROTOCOLS_STR, "http,https");
  set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  set(CURLOPT_FOLLOWLOCATION, 1L);
  set(CURLOPT_MAXREDIRS, long(s.MaxRedirects));
  set(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
  set(CURLOPT_BUFFERSIZE, BufferSize);
  set(CURLOPT_SSL_VERIFYPEER, 1L);
  set(CURLOPT_SSL_VERIFYHOST, 2L);
  if (!s.CaFile.empty()) set(CURLOPT_CAINFO, s.CaFile.c_str());
  if (s.ConnectTimeoutMs > 0) set(CURLOPT_CONNECTTIMEOUT_MS, long(s.ConnectTimeoutMs));

  // Proxies: an HTTP proxy, a SOCKS server, or a SOCKS server in front of an HTTP proxy. No
  // proxy means a direct connection, whatever the environment's http_proxy says.
  set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  const std::string socks = s.SocksServer.empty() ? std::string() : SocksUrl(s);
  if (!s.Proxy.empty()) {
    set(CURLOPT_PROXY, s.Proxy.c_str());
    int64_t port = 0;
    if (ParseCount(Trim(s.ProxyPort), port) && port > 0 && port < 65536) set(CURLOPT_PROXYPORT, long(port));
    if (!socks.empty()) set(CURLOPT_PRE_PROXY, socks.c_str());
  } else {
    set(CURLOPT_PROXY, socks.c_str());
  }
  FProxyAuthSent = FServerAuthSent = httpAuthNone;
  if (s.ProxyAuth != httpAuthNone && !(s.ProxyUsername.empty() && s.ProxyPassword.empty())) {
    set(CURLOPT_PROXYUSERNAME, s.ProxyUsername.c_str());
    set(CURLOPT_PROXYPASSWORD, s.ProxyPassword.c_str());
    set(CURLOPT_PROXYAUTH, AuthMask(s.ProxyAuth));
    FProxyAuthSent = s.ProxyAuth;
  }
  if (s.ServerAuth != httpAuthNone && !(s.Username.empty() && s.Password.empty())) {
    set(CURLOPT_USERNAME, s.Username.c_str());
    set(CURLOPT_PASSWORD, s.Password.c_str());
    set(CURLOPT_HTTPAUTH, AuthMask(s.ServerAuth));
    FServerAuthSent = s.ServerAuth;
  }

  if (s.RangeBegin >= 0) {
    std::string range = std::to_string(s.RangeBegin) + "-";
    if (s.RangeEnd >= 0) range += std::to_string(s.RangeEnd);
    set(CURLOPT_RANGE, range.c_str());  // libcurl copies option strings
  }

  std::vector<std::string> headers = s.ExtraHeaders;
  if (!s.FromEmail.empty()) headers.push_back("From: " + s.FromEmail);
  if (FPost) {
    if (!FContentType.empty()) headers.push_back("Content-Type: " + FContentType);
    headers.push_back("Expect:");  // no 100-continue round trip
  }
  if (OnBeforeHeaderSend) Guarded([&] { OnBeforeHeaderSend(*this, headers); });
  FreeHeaders();
  for (const auto& line : headers)
    if (!line.empty()) FHeaders = curl_slist_append(FHeaders, line.c_str());
  set(CURLOPT_HTTPHEADER, FHeaders);

  if (FPost) {
    set(CURLOPT_POST, 1L);
    set(CURLOPT_POSTFIELDS, FPostBody.data());
    set(CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(FPostBody.size()));
  } else {
    set(CURLOPT_HTTPGET, 1L);
  }
  return ok && !FFailed;
}

// ---- libcurl's callbacks ----

size_t TCurlHttpClient::OnHeaderLine(char* data, size_t size, size_t count, void* self) {
  static_cast<TCurlHttpClient*>(self)->HeaderLine(data, size * count);
  return size * count;
}

size_t TCurlHttpClient::OnBody(char* data, size_t size, size_t count, void* self) {
  return static_cast<TCurlHttpClient*>(self)->Body(data, size * count);
}

void TCurlHttpClient::HeaderLine(const char* data, size_t size) {
  std::string line(data, size);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.compare(0, 5, "HTTP/") == 0) {
    // A new head: an interim answer, a redirect or an authentication round may come before
    // the final one, and only the final one counts.
    FHead = {};
    FSkipBody = false;
    size_t codeStart = line.find(' ');
    if (codeStart != std::string::npos) {
      FHead.StatusCode = std::atoi(line.c_str() + codeStart + 1);
      size_t reason = line.find(' ', codeStart + 1);
      if (reason != std::string::npos) FHead.ReasonPhrase = Trim(line.substr(reason + 1));
    }
    return;
  }
  if (!line.empty()) {
    if ((line[0] == ' ' || line[0] == '\t') && !FHead.Headers.empty())
      FHead.Headers.back() += " " + Trim(line);  // folded continuation line
    else
      FHead.Headers.push_back(line);
    return;
  }
  // The end of a head.
  if (FHead.StatusCode >= 100 && FHead.StatusCode < 200) {
    FHead = {};
    return;
  }
  const std::string location = FHead.Header("Location");
  if (FHead.StatusCode >= 300 && FHead.StatusCode < 400 && !location.empty()) {
    long redirects = 0;
    curl_easy_getinfo(FEasy, CURLINFO_REDIRECT_COUNT, &redirects);
    if (redirects < FSettings.MaxRedirects) {
      char* current = nullptr;
      curl_easy_getinfo(FEasy, CURLINFO_EFFECTIVE_URL, &current);
      FSkipBody = true;
      FResponse = FHead;
      FillDerived(FResponse);
      FResponse.Location = ResolveUrl(current, location);
      if (OnLocationChange) Guarded([&] { OnLocationChange(*this); });
    }
  }
}

size_t TCurlHttpClient::Body(const char* data, size_t size) {
  if (FSkipBody) return size;
  if (!FHeaderRaised) RaiseHeaderEnd();
  // Returning less than size ends the transfer; TransferDone tells why.
  if (FAbortAsked || FFailed || FAuthRetryPending) return 0;
  if (OnDocumentData && size > 0) Guarded([&] { OnDocumentData(*this, data, size); });
  if (FAbortAsked || FFailed) return 0;
  return size;
}

void TCurlHttpClient::RaiseHeaderEnd() {
  FHeaderRaised = true;
  FResponse = FHead;
  FillDerived(FResponse);
  char* effective = nullptr;
  if (curl_easy_getinfo(FEasy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
    FResponse.Location = effective;
  if (OnHeaderEnd) Guarded([&] { OnHeaderEnd(*this); });
  if (FAuthRetried || FAbortAsked || FFailed) return;
  const THttpSettings& s = FSettings;
  if (FResponse.StatusCode == 407 && s.ProxyAuth != httpAuthNone && s.ProxyAuth != FProxyAuthSent &&
      !(s.ProxyUsername.empty() && s.ProxyPassword.empty()))
    FAuthRetryPending = true;
  if (FResponse.StatusCode == 401 && s.ServerAuth != httpAuthNone && s.ServerAuth != FServerAuthSent &&
      !(s.Username.empty() && s.Password.empty()))
    FAuthRetryPending = true;
}

// ---- the end of a request ----

void TCurlHttpClient::TransferDone(CURLcode result) {
  FRunning = false;
  if (!FHeaderRaised && !FAbortAsked && !FFailed) {
    if (FHead.StatusCode == 0) {
      // A proxy that refused the tunnel of an HTTPS request: its head was not passed on.
      long connectCode = 0;
      curl_easy_getinfo(FEasy, CURLINFO_HTTP_CONNECTCODE, &connectCode);
      if (connectCode >= 300) {
        FHead.StatusCode = int(connectCode);
        if (connectCode == 407) FHead.ReasonPhrase = "Proxy Authentication Required";
      }
    }
    if (FHead.StatusCode > 0) RaiseHeaderEnd();
  }
  if (FAuthRetryPending && !FAbortAsked && !FFailed) {
    FAuthRetried = true;
    Start();
    return;
  }
  int error = httperrNone;
  if (FAbortAsked)
    error = httperrAborted;
  else if (FFailed)
    error = httperrException;
  else if (result != CURLE_OK)
    error = int(result);
  if (error > httperrNone && error < httperrAborted)
    FErrorText = FErrorBuffer[0] ? std::string(FErrorBuffer) : std::string(curl_easy_strerror(result));
  Finish(error);
}

void TCurlHttpClient::Abort() {
  if (FStartPosted) {
    FStartPosted = false;
    ++FGeneration;
    PostFinish(httperrAborted);
    return;
  }
  if (!FRunning || FAbortAsked) return;
  FAbortAsked = true;
  if (FMulti->InsideCurl()) {
    // From inside a callback (of this or another transfer) the handle cannot be removed yet.
    // This transfer's next callback stops it; a stalled one is removed from the loop.
    std::weak_ptr<bool> alive = FAlive;
    const uint64_t generation = FGeneration;
    FLoop->Post([this, alive, generation] {
      if (alive.expired() || generation != FGeneration || !FRunning) return;
      FMulti->Remove(FEasy);
      FRunning = false;
      Finish(httperrAborted);
    });
    return;
  }
  FMulti->Remove(FEasy);
  FRunning = false;
  PostFinish(httperrAborted);
}

void TCurlHttpClient::PostFinish(int error) {
  std::weak_ptr<bool> alive = FAlive;
  const uint64_t generation = FGeneration;
  FLoop->Post([this, alive, generation, error] {
    if (alive.expired() || generation != FGeneration) return;
    Finish(error);
  });
}

void TCurlHttpClient::Finish(int error) {
  FreeHeaders();
  if (!OnRequestDone) return;
  // Runs from the loop (a posted call or the multi handle's drain): nothing of libcurl is on
  // the stack, so the handler may start the next request at once.
  try {
    OnRequestDone(*this, error);
  } catch (const std::exception& e) {
    if (OnBgException) OnBgException(*this, e.what());
  } catch (...) {
    if (OnBgException) OnBgException(*this, "unknown exception");
  }
}
