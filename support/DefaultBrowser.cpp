#include "support/DefaultBrowser.h"

#include <vector>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/Registry.h"

// The default browser's command comes from the registry by one of two routes:
//  - user choice (Windows 8 and later; Windows 7 and XP when the start menu has no answer):
//    UrlAssociations\http\UserChoice names a ProgID, whose application identity may already
//    say "Edge", else whose shell\open\command is classified;
//  - start menu (Windows 7 and earlier): Clients\StartMenuInternet names the client, whose
//    shell\open\command is classified when its executable exists. Windows XP looks at the
//    http protocol's own command first.
// On Linux none of these keys exists, so the routes find nothing. Only then does the platform's
// own default-browser command (xdg-settings -> desktop entry -> Exec) enter, classified by the
// launcher rules; the fake platform gives none unless a test sets one, so the registry routes
// are tested exactly as they run on Windows.

namespace {

const std::string kUserChoiceKey =
    "\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
const std::string kStartMenuKey = "\\SOFTWARE\\Clients\\StartMenuInternet";
const std::string kHttpCommand = "http\\shell\\open\\command";

// The key's unnamed value as text; a missing key or value, another type or a failure give "".
// opened tells whether the key itself could be opened.
std::string ReadDefault(uint32_t root, const std::string& key, bool view32 = false, bool* opened = nullptr) {
  if (opened) *opened = false;
  try {
    TRegistry registry(KEY_READ | (view32 ? KEY_WOW64_32KEY : 0));
    registry.SetRootKey(root);
    if (!registry.OpenKeyReadOnly(key)) return {};
    if (opened) *opened = true;
    return registry.ReadString("");
  } catch (const ERegistryException&) {
    return {};
  }
}

std::string ReadValue(uint32_t root, const std::string& key, const std::string& name) {
  try {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(root);
    return registry.OpenKeyReadOnly(key) ? registry.ReadString(name) : std::string();
  } catch (const ERegistryException&) {
    return {};
  }
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int ClassifyPath(const std::string& path, bool exists, int result, const std::string& exeName,
                 TBrowserRules rules) {
  if (path.empty()) return result;
  const bool upper = rules == TBrowserRules::StartMenu;
  const std::string folded = upper ? UpperCase(path) : LowerCase(path);
  auto has = [&](const std::string& name) {
    return Contains(folded, upper ? UpperCase(name) : LowerCase(name));
  };
  if (has("iexplore.exe")) return dbInternetExplorer;
  if (!exists) return result;
  if (has("firefox.exe")) return dbFirefox;
  if (has("chrome.exe")) return dbChrome;
  if (has("msedge.exe")) return dbEdge;
  if (has(upper ? "opera.exe" : "opera")) return dbOpera;
  if (!exeName.empty() && ContainsText(path, exeName)) return dbOwnBrowser;
  return result;
}

// What a route found: a command to classify, or already the answer (Edge by its identity).
struct TRouteAnswer {
  bool Found{false};
  int Result{0};
};

TRouteAnswer UserChoiceRoute(int result, const std::string& exeName, const TWindowsVersion& version) {
  const std::string progId = ReadValue(HKEY_CURRENT_USER, kUserChoiceKey, "ProgID");
  std::string command;
  if (!progId.empty()) {
    const std::string classes = "\\Software\\Classes\\" + progId;
    if (StartsText("Microsoft.MicrosoftEdge",
                   ReadValue(HKEY_CURRENT_USER, classes + "\\Application", "AppUserModelID")))
      return {true, dbEdgeByIdentity};
    bool opened = false;
    command = ReadDefault(HKEY_CURRENT_USER, classes + "\\shell\\open\\command", false, &opened);
    if (!opened) command = ReadDefault(HKEY_CLASSES_ROOT, progId + "\\shell\\open\\command");
  } else {
    if (version.Major == 10) return {false, result};
    command = ReadDefault(HKEY_CURRENT_USER, "\\Software\\Classes\\" + kHttpCommand);
    if (command.empty()) command = ReadDefault(HKEY_CLASSES_ROOT, kHttpCommand);
  }
  if (command.empty()) return {false, result};
  return {true, ClassifyBrowserCommand(command, result, exeName, TBrowserRules::UserChoice)};
}

// The command of the start menu's internet client, when its executable exists.
std::string StartMenuCommand() {
  std::string client = ReadDefault(HKEY_CURRENT_USER, kStartMenuKey);
  if (client.empty()) client = ReadDefault(HKEY_LOCAL_MACHINE, kStartMenuKey, true);
  if (client.empty()) return {};
  const std::string key = kStartMenuKey + "\\" + client + "\\shell\\open\\command";
  std::string command = ReadDefault(HKEY_CURRENT_USER, key);
  if (command.empty()) command = ReadDefault(HKEY_LOCAL_MACHINE, key, true);
  const std::string path = CommandExecutablePath(command);
  if (path.empty() || !TPlatform::Current().Files().FileExists(path)) return {};
  return command;
}

TRouteAnswer RegistryRoutes(int result, const std::string& exeName) {
  const TWindowsVersion version = TPlatform::Current().System().ReportedVersion();
  if (version.Major >= 10 || (version.Major == 6 && version.Minor >= 2 && version.Build > 8999))
    return UserChoiceRoute(result, exeName, version);
  if (version.Major == 5) {
    std::string command = ReadDefault(HKEY_CURRENT_USER, "\\Software\\Classes\\" + kHttpCommand);
    if (command.empty()) command = ReadDefault(HKEY_CLASSES_ROOT, "\\" + kHttpCommand);
    if (!command.empty())
      return {true, ClassifyBrowserCommand(command, result, exeName, TBrowserRules::StartMenu)};
  }
  const std::string command = StartMenuCommand();
  if (!command.empty())
    return {true, ClassifyBrowserCommand(command, result, exeName, TBrowserRules::StartMenu)};
  if (version.Major == 5) return {false, result};
  return UserChoiceRoute(result, exeName, version);
}

// Launcher commands group with double quotes, in which a backslash escapes the next character.
std::vector<std::string> SplitLauncherCommand(const std::string& command) {
  std::vector<std::string> args;
  std::string current;
  bool inQuotes = false, any = false;
  for (size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (inQuotes && c == '\\' && i + 1 < command.size()) {
      current += command[++i];
    } else if (c == '"') {
      inQuotes = !inQuotes;
      any = true;
    } else if (!inQuotes && (c == ' ' || c == '\t')) {
      if (any || !current.empty()) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
    }
  }
  if (any || !current.empty()) args.push_back(current);
  return args;
}

std::string FindOnPath(const std::string& program) {
  const TPlatform& platform = TPlatform::Current();
  std::string path = platform.Env().Get("PATH");
  if (path.empty()) path = "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = path.substr(start, end - start);
    if (!folder.empty() && platform.Files().FileExists(folder + "/" + program)) return folder + "/" + program;
    start = end + 1;
  }
  return {};
}

// The Windows executable of the same browser ("google-chrome-stable" -> "chrome.exe"); any
// other program keeps its name with ".exe" added, so that the caller's own executable name
// still matches. Chromium is "chrome.exe" on Windows as well.
std::string WindowsExecutableName(const std::string& name) {
  const std::string lower = LowerCase(name);
  if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".exe") == 0) return name;
  static const struct {
    const char* Family;
    const char* Executable;
  } kBrowsers[] = {{"firefox", "firefox.exe"},         {"google-chrome", "chrome.exe"},
                   {"chrome", "chrome.exe"},           {"chromium", "chrome.exe"},
                   {"chromium-browser", "chrome.exe"}, {"microsoft-edge", "msedge.exe"},
                   {"msedge", "msedge.exe"},           {"opera", "opera.exe"}};
  for (const auto& browser : kBrowsers) {
    const std::string family = browser.Family;
    if (lower == family || lower.compare(0, family.size() + 1, family + "-") == 0) return browser.Executable;
  }
  return name + ".exe";
}

}  // namespace

std::string CommandExecutablePath(const std::string& command) {
  std::string path = Trim(command);
  if (!path.empty() && path[0] == '"') path = Trim(path.substr(1, path.find('"', 1) - 1));
  return path;
}

int ClassifyBrowserCommand(const std::string& command, int result, const std::string& exeName,
                           TBrowserRules rules) {
  const std::string path = CommandExecutablePath(command);
  if (path.empty()) return result;
  return ClassifyPath(path, TPlatform::Current().Files().FileExists(path), result, exeName, rules);
}

int ClassifyLauncherCommand(const std::string& command, int result, const std::string& exeName) {
  const std::vector<std::string> args = SplitLauncherCommand(command);
  size_t i = 0;
  if (!args.empty() && ExtractFileName(args[0], '/') == "env")
    for (++i; i < args.size() && (args[i].find('=') != std::string::npos || args[i].compare(0, 1, "-") == 0);)
      ++i;
  if (i >= args.size() || args[i].empty()) return result;
  const std::string program = args[i];
  std::string path = program.find('/') == std::string::npos ? FindOnPath(program) : program;
  const bool exists = !path.empty() && TPlatform::Current().Files().FileExists(path);
  if (path.empty()) path = program;
  const std::string renamed = ExtractFilePath(path, '/') + WindowsExecutableName(ExtractFileName(path, '/'));
  // NOTE: the start-menu rules, because the name is already the browser's exact executable;
  // the user-choice rule "opera anywhere" would take "/home/operator/..." for Opera.
  return ClassifyPath(renamed, exists, result, exeName, TBrowserRules::StartMenu);
}

int GetDefaultBrowser(int defaultCode, const std::string& exeName) {
  TRouteAnswer answer{false, defaultCode};
  try {
    answer = RegistryRoutes(defaultCode, exeName);
  } catch (const std::exception&) {
    answer = {false, defaultCode};
  }
  if (answer.Found) return answer.Result;
  const std::string command = TPlatform::Current().System().DefaultBrowserCommand();
  return command.empty() ? answer.Result : ClassifyLauncherCommand(command, answer.Result, exeName);
}
