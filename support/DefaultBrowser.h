#pragma once
#include <string>

// Which browser opens web links, as GetDefaultBrowser reports it.
enum : int {
  dbInternetExplorer = 0,
  dbFirefox = 1,
  dbChrome = 2,
  dbEdgeByIdentity = 3,  // Microsoft Edge recognised by its application identity
  dbEdge = 5,            // Microsoft Edge recognised by "msedge.exe"
  dbOpera = 6,
  dbOwnBrowser = 7,  // the executable name the caller passed
};

// One of the codes above, or defaultCode when the default browser is none of them. The
// command is looked up in the registry by the route that fits the system version; a platform
// whose registry does not hold it (Linux) gives its own default-browser command instead.
int GetDefaultBrowser(int defaultCode, const std::string& exeName);

// The executable path of a command line: the quoted part when it starts with a double quote,
// else the whole trimmed command.
std::string CommandExecutablePath(const std::string& command);

// The two ways of naming the browser of an executable path. Start menu: upper-case names,
// Opera by "OPERA.EXE". User choice: lower-case names, Opera by "opera" anywhere in the path.
enum class TBrowserRules { StartMenu, UserChoice };
// Classifies command's executable: Internet Explorer by name alone, the others only when the
// file exists; result stays when nothing matches.
int ClassifyBrowserCommand(const std::string& command, int result, const std::string& exeName,
                           TBrowserRules rules);
// Classifies a desktop launcher command ("/usr/bin/firefox", "env A=1 google-chrome-stable"):
// the program is found on PATH when it has no folder, and its name is mapped to the Windows
// executable name of the same browser ("firefox" -> "firefox.exe").
int ClassifyLauncherCommand(const std::string& command, int result, const std::string& exeName);
