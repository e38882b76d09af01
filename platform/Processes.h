#pragma once
#include <memory>
#include <string>
#include <vector>

// A started process; destroying the object does not end the process.
class TProcess {
public:
  virtual ~TProcess() = default;
  virtual bool IsRunning() = 0;
  virtual int ExitCode() = 0;  // meaningful once IsRunning() is false
  virtual int Pid() const = 0;
};

struct TStartRequest {
  std::string Executable;
  std::string Parameters;  // one string, split by the Windows command-line rules
  std::string Folder;      // working folder; empty = current
  std::string Verb;        // "open", "runas", ...
  int ShowCommand{1};
};

class TProcesses {
public:
  virtual ~TProcesses() = default;
  // Starts the program; null with error set when it cannot be started.
  virtual std::unique_ptr<TProcess> Start(const TStartRequest& request, int* error = nullptr) = 0;
  // Shell open of a document or URL. Returns a shell result code: above 32 is success,
  // 31 no program is associated, 2 file not found.
  virtual int ShellOpen(const TStartRequest& request) = 0;
  // Ends the own process at once with exit code 0: no destructor, no flush, nothing else.
  [[noreturn]] virtual void ExitNow() = 0;
  virtual int CurrentPid() const = 0;
};

// Splits a parameter string into arguments by the Windows command-line rules
// (CommandLineToArgvW): blanks separate, double quotes group, 2n backslashes before a quote
// give n backslashes, 2n+1 give n and a literal quote.
std::vector<std::string> SplitWindowsCommandLine(const std::string& parameters);
