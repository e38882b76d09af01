#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// Shared pieces of the integration tests: a temporary folder, test files and their MD5, a
// self-signed certificate, and the real peers (nginx, the fault-injecting fixture server), each
// started on 127.0.0.1 with ports chosen at run time and stopped by its destructor.

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  std::string FPath;
};

// A file of size bytes whose every byte depends on its offset, so that a byte written at the
// wrong place changes the MD5.
void MakeTestFile(const std::string& path, int64_t size, uint32_t seed = 1);
std::string FileMd5(const std::string& path);  // lower-case hex; "" when unreadable
std::string ReadFileText(const std::string& path);
int64_t FileSizeOf(const std::string& path);  // -1 when missing

// A self-signed certificate for 127.0.0.1 and localhost, made with the openssl program.
struct TCertificate {
  std::string CertFile, KeyFile;  // CertFile doubles as the CA file of the clients
};
TCertificate MakeCertificate(const std::string& folder);

// A child process started with posix_spawnp; stopped (SIGTERM, then SIGKILL) when destroyed.
class TChildProcess {
public:
  TChildProcess() = default;
  ~TChildProcess() { Stop(); }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  // stdoutPipe: the child's standard output is readable through StdoutFd().
  bool Start(const std::vector<std::string>& argv, bool stdoutPipe = false, const std::string& stderrFile = "");
  void Stop(int signal = 15);
  bool Running();
  int Wait();  // the exit status as waitpid reports it
  pid_t Pid() const { return FPid; }
  int StdoutFd() const { return FStdout; }

private:
  pid_t FPid{-1};
  int FStdout{-1};
};

// Reads one line from fd, waiting at most timeoutMs; "" on time-out or end.
std::string ReadLineWithTimeout(int fd, int timeoutMs);
// Whether something accepts connections on 127.0.0.1:port.
bool PortOpen(int port);
int FreePort();

// nginx with its own configuration, logs and temporary paths in a temporary folder. It serves
// Root at / over HTTP and, with a certificate, over HTTPS; under /slow/ the same files at a
// limited rate per connection (nginx lets the first second's worth through at once). The access
// log has one line per request: "URI|Range header|status|bytes".
class TNginxServer {
public:
  explicit TNginxServer(const std::string& root, const TCertificate* certificate = nullptr,
                        int64_t slowRate = 200 * 1024);
  ~TNginxServer();
  bool Started() const { return FStarted; }
  int HttpPort() const { return FHttpPort; }
  int HttpsPort() const { return FHttpsPort; }
  std::string Url(const std::string& path) const;       // http://127.0.0.1:port/path
  std::string HttpsUrl(const std::string& path) const;  // https://127.0.0.1:port/path
  // Range header values of the requests for uri, in log order ("-" for none).
  std::vector<std::string> RangesOf(const std::string& uri) const;
  std::vector<std::string> AccessLog() const;
  const std::string& ErrorText() const { return FError; }

private:
  TTempFolder FFolder;
  TChildProcess FProcess;
  int FHttpPort{0}, FHttpsPort{0};
  bool FStarted{false};
  std::string FError;
};

// The fixture server of tests/fixtures/fault_server.py (see that file for the fault switches).
class TFaultServer {
public:
  explicit TFaultServer(const std::string& root, const TCertificate* certificate = nullptr,
                        const std::string& proxyAuth = "");
  bool Started() const { return FHttpPort > 0; }
  int HttpPort() const { return FHttpPort; }
  int HttpsPort() const { return FHttpsPort; }
  std::string Url(const std::string& pathAndQuery) const;
  std::string HttpsUrl(const std::string& pathAndQuery) const;
  struct TRequest {
    std::string Method, Path, Range, ProxyAuth;
    int Port{0};
  };
  std::vector<TRequest> Requests() const;
  // Range headers ("" for none) of the requests whose path (with query) equals path.
  std::vector<std::string> RangesOf(const std::string& path) const;

private:
  TTempFolder FFolder;
  TChildProcess FProcess;
  int FHttpPort{0}, FHttpsPort{0};
};

// The byte ranges ("bytes=a-b") that a download of size bytes in parts ranges requests.
std::vector<std::string> ExpectedRanges(int64_t size, int parts);
