#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// posix_spawn with the child's signal state reset: PATH is searched when the program has no
// '/', folder (when not empty) becomes the child's working folder, environment (when not
// null) replaces the inherited one. Returns 0 or the errno of the failure.
int SpawnProgram(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                 pid_t& pid, char* const* environment = nullptr, int stdoutFd = -1);

// Runs the program, collects what it writes to standard output and waits for it, at most
// timeoutMs (then it is killed). True when it ran and exited with code 0.
bool RunAndCapture(const std::string& program, const std::vector<std::string>& args, std::string& output,
                   int timeoutMs, const std::vector<std::string>& environmentOverrides = {});
