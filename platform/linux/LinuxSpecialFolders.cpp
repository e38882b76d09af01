#include "platform/linux/LinuxSpecialFolders.h"

#include <climits>
#include <fstream>
#include <unistd.h>

#include "platform/Environment.h"
#include "platform/linux/LinuxUser.h"

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string ExeFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::string();
  std::string path(buffer, size_t(n));
  return path.substr(0, path.rfind('/') + 1);
}

// The desktop entry of user-dirs.dirs ("XDG_DESKTOP_DIR="$HOME/Desktop""), the file that
// xdg-user-dir reads; empty when absent.
std::string DesktopFromUserDirs(const std::string& configHome, const std::string& home) {
  std::ifstream in(configHome + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_DESKTOP_DIR=";
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
    if (!value.empty() && value.front() == '/') return value;
  }
  return std::string();
}

}  // namespace

std::string TLinuxSpecialFolders::MachineRoot() const {
  std::string root = FEnv.Get("QVB_SYSROOT");
  while (!root.empty() && root.back() == '/') root.pop_back();
  return root;
}

std::string TLinuxSpecialFolders::Home() const { return LinuxUserHome(FEnv); }

std::string TLinuxSpecialFolders::Desktop() const {
  const std::string set = FEnv.Get("XDG_DESKTOP_DIR");
  if (!set.empty()) return set;
  const std::string home = Home();
  const std::string fromFile = DesktopFromUserDirs(Folder(TFolderKind::AppData), home);
  return fromFile.empty() ? home + "/Desktop" : fromFile;
}

std::string TLinuxSpecialFolders::Folder(TFolderKind kind) const {
  const std::string root = MachineRoot();
  switch (kind) {
    case TFolderKind::CommonAppData:
      return root + "/var/lib";
    case TFolderKind::AppData: {
      const std::string set = FEnv.Get("XDG_CONFIG_HOME");
      return set.empty() ? Home() + "/.config" : set;
    }
    case TFolderKind::LocalAppData: {
      const std::string set = FEnv.Get("XDG_DATA_HOME");
      return set.empty() ? Home() + "/.local/share" : set;
    }
    case TFolderKind::Profile:
      return Home();
    case TFolderKind::ProgramFiles:
    case TFolderKind::ProgramFilesNative:
      return root + "/opt";
    case TFolderKind::Desktop:
      return Desktop();
    case TFolderKind::Temp: {
      const std::string set = FEnv.Get("TMPDIR");
      return WithSlash(set.empty() ? "/tmp" : set);
    }
    case TFolderKind::ExeFolder:
      return ExeFolder();
    case TFolderKind::System:
      return root + "/usr/lib";
    case TFolderKind::Windows:
      return root.empty() ? "/" : root;
    case TFolderKind::Runtime: {
      if (!root.empty()) return root + "/run";
      std::string set = FEnv.Get("XDG_RUNTIME_DIR");
      if (set.empty()) set = FEnv.Get("TMPDIR");
      if (set.empty()) set = "/tmp";
      while (set.size() > 1 && set.back() == '/') set.pop_back();
      return set;
    }
  }
  return std::string();
}
