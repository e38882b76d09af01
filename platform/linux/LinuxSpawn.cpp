#include "platform/linux/LinuxSpawn.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

int SpawnProgram(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                 pid_t& pid, char* const* environment, int stdoutFd) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  if (stdoutFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  // The child starts with default signal handling and nothing blocked, whatever this
  // process (or a library in it) changed.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  char* const* envp = environment ? environment : environ;
  const bool search = program.find('/') == std::string::npos;
  const int error = search ? posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), envp)
                           : posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

bool RunAndCapture(const std::string& program, const std::vector<std::string>& args, std::string& output,
                   int timeoutMs, const std::vector<std::string>& environmentOverrides) {
  output.clear();
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;

  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& over : environmentOverrides)
      if (entry.compare(0, over.find('=') + 1, over, 0, over.find('=') + 1) == 0) replaced = true;
    if (!replaced) envText.push_back(entry);
  }
  for (const std::string& over : environmentOverrides) envText.push_back(over);
  std::vector<char*> envp;
  for (std::string& entry : envText) envp.push_back(entry.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int error = SpawnProgram(program, args, "", pid, envp.data(), pipeFds[1]);
  ::close(pipeFds[1]);
  if (error) {
    ::close(pipeFds[0]);
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool timedOut = false;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd watch{pipeFds[0], POLLIN, 0};
    const int ready = ::poll(&watch, 1, int(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output.append(buffer, size_t(n));
  }
  ::close(pipeFds[0]);
  if (timedOut) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return !timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
