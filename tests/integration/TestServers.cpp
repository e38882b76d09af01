#include "tests/integration/TestServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

extern char** environ;

#ifndef QVB_SOURCE_DIR
#error "QVB_SOURCE_DIR must name the source tree"
#endif

namespace fs = std::filesystem;

// ---- files ----

TTempFolder::TTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/qvb-it-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (mkdtemp(buffer.data())) FPath = buffer.data();
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  if (!FPath.empty()) fs::remove_all(FPath, ignored);
}

void MakeTestFile(const std::string& path, int64_t size, uint32_t seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> block(1 << 16);
  uint64_t state = 0x9E3779B97F4A7C15ull * (seed + 1);
  for (int64_t done = 0; done < size;) {
    const int64_t n = std::min<int64_t>(int64_t(block.size()), size - done);
    for (int64_t i = 0; i < n; ++i) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      block[i] = char(state >> 24);
    }
    out.write(block.data(), n);
    done += n;
  }
}

std::string FileMd5(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  EVP_DigestInit_ex(context, EVP_md5(), nullptr);
  std::vector<char> block(1 << 20);
  while (in) {
    in.read(block.data(), std::streamsize(block.size()));
    if (in.gcount() > 0) EVP_DigestUpdate(context, block.data(), size_t(in.gcount()));
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  EVP_DigestFinal_ex(context, digest, &length);
  EVP_MD_CTX_free(context);
  static const char* hex = "0123456789abcdef";
  std::string text;
  for (unsigned i = 0; i < length; ++i) {
    text += hex[digest[i] >> 4];
    text += hex[digest[i] & 15];
  }
  return text;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int64_t FileSizeOf(const std::string& path) {
  std::error_code error;
  auto size = fs::file_size(path, error);
  return error ? -1 : int64_t(size);
}

TCertificate MakeCertificate(const std::string& folder) {
  TCertificate certificate{folder + "/cert.pem", folder + "/key.pem"};
  TChildProcess openssl;
  openssl.Start({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                 "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", certificate.KeyFile, "-out",
                 certificate.CertFile},
                false, folder + "/openssl.log");
  openssl.Wait();
  return certificate;
}

// ---- processes and ports ----

bool TChildProcess::Start(const std::vector<std::string>& argv, bool stdoutPipe, const std::string& stderrFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int pipeFds[2] = {-1, -1};
  if (stdoutPipe && pipe2(pipeFds, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  }
  if (!stderrFile.empty())
    posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  int result = posix_spawnp(&FPid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  FStdout = pipeFds[0];
  if (result != 0) FPid = -1;
  return result == 0;
}

bool TChildProcess::Running() {
  if (FPid <= 0) return false;
  int status = 0;
  if (waitpid(FPid, &status, WNOHANG) == FPid) {
    FPid = -1;
    return false;
  }
  return true;
}

int TChildProcess::Wait() {
  int status = -1;
  if (FPid > 0) waitpid(FPid, &status, 0);
  FPid = -1;
  return status;
}

void TChildProcess::Stop(int signal) {
  if (FPid > 0) {
    kill(FPid, signal);
    for (int i = 0; i < 100 && Running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (FPid > 0) {
      kill(FPid, SIGKILL);
      Wait();
    }
  }
  if (FStdout >= 0) close(FStdout);
  FStdout = -1;
}

std::string ReadLineWithTimeout(int fd, int timeoutMs) {
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char c;
    if (read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

bool PortOpen(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool open = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return open;
}

int FreePort() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

namespace {
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}
}  // namespace

// ---- nginx ----

TNginxServer::TNginxServer(const std::string& root, const TCertificate* certificate, int64_t slowRate) {
  const std::string& dir = FFolder.Path();
  // The ports are free when chosen; another process may take one before nginx binds it, so a
  // failed start is retried with new ones.
  for (int attempt = 0; attempt < 5 && !FStarted; ++attempt) {
    FHttpPort = FreePort();
    FHttpsPort = certificate ? FreePort() : 0;
    std::ostringstream conf;
    // As root the workers would switch to "nobody", who cannot read the test's private folders.
    if (geteuid() == 0) conf << "user root root;\n";
    conf << "worker_processes 1;\n"
         << "error_log " << dir << "/error.log warn;\n"
         << "pid " << dir << "/nginx.pid;\n"
         << "events { worker_connections 256; }\n"
         << "http {\n"
         << "  log_format ranges '$request_uri|$http_range|$status|$body_bytes_sent';\n"
         << "  access_log " << dir << "/access.log ranges;\n"
         << "  client_body_temp_path " << dir << "/body;\n  proxy_temp_path " << dir << "/proxy;\n"
         << "  fastcgi_temp_path " << dir << "/fastcgi;\n  uwsgi_temp_path " << dir << "/uwsgi;\n"
         << "  scgi_temp_path " << dir << "/scgi;\n"
         << "  sendfile on;\n  default_type application/octet-stream;\n"
         << "  server {\n    listen 127.0.0.1:" << FHttpPort << ";\n    root " << root << ";\n"
         << "    location /slow/ { alias " << root << "/; limit_rate " << slowRate << "; }\n  }\n";
    if (certificate)
      conf << "  server {\n    listen 127.0.0.1:" << FHttpsPort << " ssl;\n    root " << root << ";\n"
           << "    ssl_certificate " << certificate->CertFile << ";\n"
           << "    ssl_certificate_key " << certificate->KeyFile << ";\n  }\n";
    conf << "}\n";
    std::ofstream(dir + "/nginx.conf") << conf.str();
    if (!FProcess.Start({"nginx", "-p", dir, "-c", dir + "/nginx.conf", "-g", "daemon off;"}, false,
                        dir + "/stderr.log")) {
      FError = "nginx could not be started";
      return;
    }
    for (int i = 0; i < 250 && FProcess.Running(); ++i) {
      if (PortOpen(FHttpPort) && (!certificate || PortOpen(FHttpsPort))) {
        FStarted = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!FStarted) {
      FError = ReadFileText(dir + "/stderr.log") + ReadFileText(dir + "/error.log");
      FProcess.Stop();
    }
  }
}

TNginxServer::~TNginxServer() { FProcess.Stop(SIGQUIT); }

std::string TNginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(FHttpPort) + "/" + path;
}

std::string TNginxServer::HttpsUrl(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(FHttpsPort) + "/" + path;
}

std::vector<std::string> TNginxServer::AccessLog() const { return Lines(ReadFileText(FFolder / "access.log")); }

std::vector<std::string> TNginxServer::RangesOf(const std::string& uri) const {
  std::vector<std::string> ranges;
  for (const auto& line : AccessLog()) {
    size_t bar = line.find('|');
    if (line.substr(0, bar) != uri) continue;
    size_t next = line.find('|', bar + 1);
    ranges.push_back(line.substr(bar + 1, next - bar - 1));
  }
  return ranges;
}

// ---- the fixture server ----

TFaultServer::TFaultServer(const std::string& root, const TCertificate* certificate, const std::string& proxyAuth) {
  std::vector<std::string> argv = {"python3", std::string(QVB_SOURCE_DIR) + "/tests/fixtures/fault_server.py",
                                   "--root", root, "--log", FFolder / "requests.log"};
  if (certificate) argv.insert(argv.end(), {"--cert", certificate->CertFile, "--key", certificate->KeyFile});
  if (!proxyAuth.empty()) argv.insert(argv.end(), {"--proxy-auth", proxyAuth});
  if (!FProcess.Start(argv, true, FFolder / "stderr.log")) return;
  std::string line = ReadLineWithTimeout(FProcess.StdoutFd(), 10000);
  int http = 0, https = 0;
  if (std::sscanf(line.c_str(), "http=%d https=%d", &http, &https) == 2) {
    FHttpPort = http;
    FHttpsPort = https;
  }
}

std::string TFaultServer::Url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(FHttpPort) + pathAndQuery;
}

std::string TFaultServer::HttpsUrl(const std::string& pathAndQuery) const {
  return "https://127.0.0.1:" + std::to_string(FHttpsPort) + pathAndQuery;
}

std::vector<TFaultServer::TRequest> TFaultServer::Requests() const {
  std::vector<TRequest> requests;
  for (const auto& line : Lines(ReadFileText(FFolder / "requests.log"))) {
    auto entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded()) continue;
    auto text = [&](const char* key) { return entry[key].is_string() ? entry[key].get<std::string>() : std::string(); };
    requests.push_back(TRequest{text("method"), text("path"), text("range"), text("proxy_auth"),
                                entry["port"].is_number() ? entry["port"].get<int>() : 0});
  }
  return requests;
}

std::vector<std::string> TFaultServer::RangesOf(const std::string& path) const {
  std::vector<std::string> ranges;
  for (const auto& request : Requests())
    if (request.Path == path) ranges.push_back(request.Range);
  return ranges;
}

std::vector<std::string> ExpectedRanges(int64_t size, int parts) {
  std::vector<std::string> ranges;
  const int64_t partSize = size / parts;
  for (int i = 0; i < parts; ++i) {
    const int64_t start = i * (partSize + 1);
    const int64_t end = i == parts - 1 ? size : start + partSize;
    ranges.push_back("bytes=" + std::to_string(start) + "-" + std::to_string(end));
  }
  return ranges;
}
