// The libcurl client against real peers: nginx for plain and TLS transfers and ranges, the
// fixture server for redirects, proxy authentication and the synchronous POST.
#include <gtest/gtest.h>

#include <memory>

#include "platform/EventLoop.h"
#include "platform/http/HttpClient.h"
#include "tests/integration/TestServers.h"

namespace {

// The events of one request as they arrived.
struct TRecorder {
  std::string Trace;  // L = location change, H = header end, D = data (once per run of blocks), E = done
  std::string Body;
  std::vector<std::string> Locations;
  THttpResponse Head;
  int Error{-1};
  bool Done{false};

  void Attach(THttpClient& client) {
    client.OnLocationChange = [this](THttpClient& c) {
      Trace += "L";
      Locations.push_back(c.Response().Location);
    };
    client.OnHeaderEnd = [this](THttpClient& c) {
      Trace += "H";
      Head = c.Response();
    };
    client.OnDocumentData = [this](THttpClient&, const char* data, size_t size) {
      if (Trace.empty() || Trace.back() != 'D') Trace += "D";
      Body.append(data, size);
    };
    client.OnRequestDone = [this](THttpClient&, int error) {
      Trace += "E";
      Error = error;
      Done = true;
    };
  }
};

class HttpClientTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Shared = new TShared;
    MakeTestFile(Shared->Files / "data.bin", 3 * 1024 * 1024 + 17);
    Shared->Certificate = MakeCertificate(Shared->Files.Path());
    Shared->Nginx = std::make_unique<TNginxServer>(Shared->Files.Path(), &Shared->Certificate);
    Shared->Fixture = std::make_unique<TFaultServer>(Shared->Files.Path(), &Shared->Certificate, "user:secret");
  }
  static void TearDownTestSuite() {
    delete Shared;
    Shared = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(Shared->Nginx->Started()) << Shared->Nginx->ErrorText();
    ASSERT_TRUE(Shared->Fixture->Started());
    Client = NewHttpClient(&Loop);
    Recorder.Attach(*Client);
  }

  // Pumps the loop until the request has ended; a hung request fails the test.
  void RunToEnd(int64_t limitMs = 10000) {
    const int64_t end = Loop.NowMs() + limitMs;
    while (!Recorder.Done && Loop.NowMs() < end) Loop.RunOnce(50);
    ASSERT_TRUE(Recorder.Done) << "request did not end";
  }

  std::string FileText() const { return ReadFileText(Shared->Files / "data.bin"); }

  struct TShared {
    TTempFolder Files;
    TCertificate Certificate;
    std::unique_ptr<TNginxServer> Nginx;
    std::unique_ptr<TFaultServer> Fixture;
  };
  static TShared* Shared;

  TEventLoop Loop;
  std::unique_ptr<THttpClient> Client;
  TRecorder Recorder;
};
HttpClientTest::TShared* HttpClientTest::Shared = nullptr;

TEST_F(HttpClientTest, WholeFileOverHttpAndHttps) {
  for (bool tls : {false, true}) {
    SCOPED_TRACE(tls ? "https" : "http");
    Recorder = {};
    Recorder.Attach(*Client);
    Client->Settings().URL = tls ? Shared->Nginx->HttpsUrl("data.bin") : Shared->Nginx->Url("data.bin");
    Client->Settings().CaFile = Shared->Certificate.CertFile;
    Client->Get();
    RunToEnd();
    EXPECT_EQ(Recorder.Error, httperrNone) << Client->ErrorText();
    EXPECT_EQ(Recorder.Trace, "HDE");
    EXPECT_EQ(Recorder.Head.StatusCode, 200);
    EXPECT_EQ(Recorder.Head.ReasonPhrase, "OK");
    EXPECT_EQ(Recorder.Head.ContentLength, int64_t(FileText().size()));
    EXPECT_EQ(Recorder.Head.AcceptRanges, "bytes");
    EXPECT_EQ(Recorder.Head.Location, Client->Settings().URL);
    EXPECT_TRUE(Recorder.Body == FileText());
  }
}

TEST_F(HttpClientTest, ByteRangesClosedAndOpen) {
  struct TCase {
    int64_t Begin, End;
    std::string ContentRange;
    int64_t From, Count;
  };
  const int64_t size = int64_t(FileText().size());
  const TCase cases[] = {
      {10, 99, "bytes 10-99/" + std::to_string(size), 10, 90},
      {size - 5, -1, "bytes " + std::to_string(size - 5) + "-" + std::to_string(size - 1) + "/" + std::to_string(size),
       size - 5, 5},
      // an end past the last byte is answered up to the last byte
      {size - 3, size, "bytes " + std::to_string(size - 3) + "-" + std::to_string(size - 1) + "/" + std::to_string(size),
       size - 3, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ContentRange);
    Recorder = {};
    Recorder.Attach(*Client);
    Client->Settings().URL = Shared->Nginx->Url("data.bin");
    Client->Settings().RangeBegin = c.Begin;
    Client->Settings().RangeEnd = c.End;
    Client->Get();
    RunToEnd();
    EXPECT_EQ(Recorder.Error, httperrNone);
    EXPECT_EQ(Recorder.Head.StatusCode, 206);
    EXPECT_EQ(Recorder.Head.ContentRange, c.ContentRange);
    EXPECT_EQ(Recorder.Head.ContentLength, c.Count);
    EXPECT_TRUE(Recorder.Body == FileText().substr(size_t(c.From), size_t(c.Count)));
  }
}

TEST_F(HttpClientTest, TlsPeerIsVerified) {
  Client->Settings().URL = Shared->Nginx->HttpsUrl("data.bin");  // self-signed, no CA file named
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Error, 60) << Client->ErrorText();  // CURLE_PEER_FAILED_VERIFICATION
  EXPECT_EQ(Recorder.Trace, "E");
  EXPECT_FALSE(Client->ErrorText().empty());
}

TEST_F(HttpClientTest, RedirectToHttpsIsFollowedAndReported) {
  Client->Settings().URL = Shared->Fixture->Url("/redirect-https/data.bin");
  Client->Settings().CaFile = Shared->Certificate.CertFile;
  Client->Get();
  RunToEnd();
  const std::string target = Shared->Fixture->HttpsUrl("/files/data.bin");
  EXPECT_EQ(Recorder.Error, httperrNone) << Client->ErrorText();
  EXPECT_EQ(Recorder.Trace, "LHDE");  // the redirect's own body is not data
  EXPECT_EQ(Recorder.Locations, std::vector<std::string>{target});
  EXPECT_EQ(Recorder.Head.StatusCode, 200);
  EXPECT_EQ(Recorder.Head.Location, target);
  EXPECT_TRUE(Recorder.Body == FileText());
}

TEST_F(HttpClientTest, RedirectLoopEndsWithAnError) {
  Client->Settings().URL = Shared->Fixture->Url("/redirect-loop");
  Client->Settings().MaxRedirects = 5;
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Error, 47);  // CURLE_TOO_MANY_REDIRECTS
  EXPECT_TRUE(Recorder.Body.empty());
}

TEST_F(HttpClientTest, ConnectionRefused) {
  Client->Settings().URL = "http://127.0.0.1:" + std::to_string(FreePort()) + "/x";
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Error, 7);  // CURLE_COULDNT_CONNECT
  EXPECT_EQ(Recorder.Trace, "E");
}

// A proxy that asks for credentials: choosing Basic in the header-end handler sends the request
// again with them, and only the second answer's body arrives.
TEST_F(HttpClientTest, ProxyAuthenticationChosenOn407) {
  auto& s = Client->Settings();
  s.URL = "http://files.test/files/data.bin";
  s.Proxy = "127.0.0.1";
  s.ProxyPort = std::to_string(Shared->Fixture->HttpPort());
  s.ProxyUsername = "user";
  s.ProxyPassword = "secret";
  std::vector<int> statuses;
  Client->OnHeaderEnd = [&](THttpClient& c) {
    statuses.push_back(c.Response().StatusCode);
    if (c.Response().StatusCode == 407) c.Settings().ProxyAuth = httpAuthBasic;
  };
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Error, httperrNone);
  EXPECT_EQ(statuses, (std::vector<int>{407, 200}));
  EXPECT_TRUE(Recorder.Body == FileText());

  // Without a scheme chosen the 407 is the answer.
  Recorder = {};
  Recorder.Attach(*Client);
  s.ProxyAuth = httpAuthNone;
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Head.StatusCode, 407);
  EXPECT_EQ(Recorder.Head.ReasonPhrase, "Proxy Authentication Required");
  EXPECT_EQ(Recorder.Error, httperrNone);
}

TEST_F(HttpClientTest, AbortInsideAndOutsideEvents) {
  // Inside the header-end event: no data follows, and the end is reported once.
  Client->Settings().URL = Shared->Nginx->Url("data.bin");
  Client->OnHeaderEnd = [&](THttpClient& c) {
    Recorder.Trace += "H";
    c.Abort();
  };
  Client->Get();
  RunToEnd();
  EXPECT_EQ(Recorder.Trace, "HE");
  EXPECT_EQ(Recorder.Error, httperrAborted);

  // From outside: the end is reported from the loop, not inside Abort.
  Recorder = {};
  Recorder.Attach(*Client);
  Client->Settings().URL = Shared->Fixture->Url("/hang");
  Client->Get();
  Loop.PumpFor(100);
  EXPECT_TRUE(Client->Busy());
  Client->Abort();
  EXPECT_FALSE(Recorder.Done);
  RunToEnd();
  EXPECT_EQ(Recorder.Trace, "E");
  EXPECT_EQ(Recorder.Error, httperrAborted);
}

TEST_F(HttpClientTest, HeadersAddedBeforeSending) {
  auto& s = Client->Settings();
  s.URL = Shared->Fixture->Url("/echo");
  s.FromEmail = "qa@example.test";
  s.ExtraHeaders = {"X-One: 1"};
  Client->OnBeforeHeaderSend = [](THttpClient&, std::vector<std::string>& headers) { headers.push_back("X-Two: 2"); };
  Client->Get();
  RunToEnd();
  EXPECT_NE(Recorder.Body.find("From: qa@example.test"), std::string::npos) << Recorder.Body;
  EXPECT_NE(Recorder.Body.find("X-One: 1"), std::string::npos);
  EXPECT_NE(Recorder.Body.find("X-Two: 2"), std::string::npos);
}

TEST_F(HttpClientTest, SynchronousPostAndItsTimeOut) {
  Client->Settings().URL = Shared->Fixture->Url("/echo");
  std::string answer;
  bool otherEventRan = false;
  Loop.SingleShot(0, [&] { otherEventRan = true; });  // the loop keeps serving others meanwhile
  EXPECT_EQ(Client->PostSync("a=1&b=2", "application/x-www-form-urlencoded", 5000, answer), httperrNone);
  EXPECT_TRUE(otherEventRan);
  EXPECT_EQ(Client->Response().StatusCode, 200);
  EXPECT_EQ(answer.rfind("POST /echo\n", 0), 0u) << answer;
  EXPECT_NE(answer.find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
  EXPECT_EQ(answer.substr(answer.size() - 7), "a=1&b=2");
  EXPECT_EQ(Recorder.Error, httperrNone);  // the owner's done event still runs once

  Client->Settings().URL = Shared->Fixture->Url("/hang");
  const int64_t before = Loop.NowMs();
  EXPECT_EQ(Client->PostSync("x", "text/plain", 300, answer), httperrTimeout);
  EXPECT_GE(Loop.NowMs() - before, 300);
  EXPECT_LT(Loop.NowMs() - before, 3000);
}

}  // namespace
