#include "support/ShellOpen.h"

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "support/Registry.h"
#include "support/SystemQueries.h"

namespace {

constexpr int kShellDdeFailure = 29;
constexpr int kShellLastError = 32;

const char* const kBlockingProducts[] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\360TotalSecurity",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MPC AdCleaner",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MPC",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\iSafe",
};

TStartRequest Request(const std::string& executable, const std::string& parameters, const std::string& folder,
                      const std::string& verb, int showCommand) {
  TStartRequest request;
  request.Executable = executable;
  request.Parameters = parameters;
  request.Folder = folder;
  request.Verb = verb;
  request.ShowCommand = showCommand;
  return request;
}

}  // namespace

bool IsBlockingSecurityProduct() {
  try {
    const TWindowsVersion version = GetTrueWindowsVersion();
    if (version.Major < 10 || version.Build < 10586) return false;
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    for (const char* key : kBlockingProducts)
      if (registry.KeyExists(key)) return true;
  } catch (const std::exception&) {
  }
  return false;
}

std::string GetInternetExplorerPath() {
  const std::string path = IncludeTrailingPathDelimiter(GetSpecialFolder(TFolderKind::ProgramFiles)) +
                           "Internet Explorer" + TPlatform::Current().Files().Separator() + "iexplore.exe";
  if (TPlatform::Current().Files().FileExists(path)) return path;
  TRegistry registry(KEY_READ);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE"))
    return registry.ReadString("");  // may raise for a value that is not text
  return path;
}

int ShellOpen(const std::string& target, int showCommand, const void* window, const std::string& folder,
              const std::string& parameters, const std::string& verb) {
  TProcesses& processes = TPlatform::Current().Processes();
  const TStartRequest viaExplorer = Request("IExplore.EXE", target, folder, verb, showCommand);
  try {
    if (IsBlockingSecurityProduct()) return processes.ShellOpen(viaExplorer);
    int result = processes.ShellOpen(Request(target, parameters, folder, verb, showCommand));
    if (result <= kShellLastError && result != kShellDdeFailure)
      result = processes.ShellOpen(Request(GetInternetExplorerPath(), target, folder, verb, showCommand));
    return result;
  } catch (const std::exception&) {
  }
  try {
    return processes.ShellOpen(viaExplorer);
  } catch (const std::exception&) {
    return 0;  // the shell's "out of resources"
  }
}
