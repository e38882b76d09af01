#include "platform/linux/LinuxProcesses.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/LinuxSpawn.h"

namespace {

bool IsUrl(const std::string& target) {
  // A scheme of two or more characters before ':' ("https:", "mailto:", "file:").
  const size_t colon = target.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = target[i];
    const bool ok = std::isalpha(static_cast<unsigned char>(c)) ||
                    (i > 0 && (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  return true;
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += char(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The local file a shell-open target names, empty for other URLs.
std::string LocalFileOf(const std::string& target, const std::string& folder) {
  std::string path;
  if (IsUrl(target)) {
    if (target.compare(0, 7, "file://") != 0) return std::string();
    path = PercentDecode(target.substr(7));
    const size_t slash = path.find('/');  // "file://host/path": the host part is dropped
    if (slash == std::string::npos) return std::string();
    path = path.substr(slash);
  } else {
    path = target;
  }
  if (!path.empty() && path.front() != '/' && !folder.empty()) path = folder + "/" + path;
  return path;
}

bool Reaped(pid_t pid, int& exitCode) {
  int status = 0;
  pid_t result;
  do {
    result = ::waitpid(pid, &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == 0) return false;
  if (result < 0) {
    exitCode = -1;  // not (or no longer) our child
    return true;
  }
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return true;
}

}  // namespace

void TChildReaper::Reap() {
  for (size_t i = 0; i < FPids.size();) {
    int code = 0;
    if (Reaped(FPids[i], code)) {
      FPids.erase(FPids.begin() + long(i));
    } else {
      ++i;
    }
  }
}

TLinuxProcess::~TLinuxProcess() {
  if (!FDone) FReaper->Adopt(FPid);
}

bool TLinuxProcess::IsRunning() {
  if (!FDone && Reaped(FPid, FExitCode)) FDone = true;
  return !FDone;
}

int TLinuxProcess::ExitCode() {
  IsRunning();
  return FExitCode;
}

std::unique_ptr<TProcess> TLinuxProcesses::Start(const TStartRequest& request, int* error) {
  FReaper->Reap();
  pid_t pid = 0;
  const int failure =
      SpawnProgram(request.Executable, SplitWindowsCommandLine(request.Parameters), request.Folder, pid);
  if (error) *error = failure;
  if (failure) return nullptr;
  return std::make_unique<TLinuxProcess>(pid, FReaper);
}

int TLinuxProcesses::ShellOpen(const TStartRequest& request) {
  FReaper->Reap();
  if (request.Executable.empty()) return 2;
  const std::string file = LocalFileOf(request.Executable, request.Folder);
  struct stat st{};
  if (!file.empty() && ::stat(file.c_str(), &st) != 0) return 2;
  pid_t pid = 0;
  if (SpawnProgram("xdg-open", {request.Executable}, request.Folder, pid) != 0) return 31;
  FReaper->Adopt(pid);
  return 42;
}

void TLinuxProcesses::ExitNow() { ::_exit(0); }

int TLinuxProcesses::CurrentPid() const { return int(::getpid()); }
