#include "platform/linux/LinuxSystemInfo.h"

#include <cctype>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <sys/random.h>
#include <sys/utsname.h>

#include "platform/Environment.h"
#include "platform/TextCodec.h"
#include "platform/linux/LinuxSpawn.h"
#include "platform/linux/LinuxSpecialFolders.h"
#include "platform/linux/LinuxUser.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string EnvAnyCase(const TEnvironment& env, const std::string& lower) {
  std::string value = env.Get(lower);
  if (value.empty()) value = env.Get(UpperCase(lower));
  return Trim(value);
}

}  // namespace

std::string TLinuxSystemInfo::UserLogonName() const { return FindLinuxUser(FEnv).Name; }

std::string TLinuxSystemInfo::MachineGuid() const {
  std::string root = FEnv.Get("QVB_SYSROOT");
  while (!root.empty() && root.back() == '/') root.pop_back();
  const std::string id = LowerCase(Trim(ReadText(root + "/etc/machine-id")));
  if (id.size() != 32 || id.find_first_not_of("0123456789abcdef") != std::string::npos) return std::string();
  return id.substr(0, 8) + "-" + id.substr(8, 4) + "-" + id.substr(12, 4) + "-" + id.substr(16, 4) + "-" +
         id.substr(20);
}

bool TLinuxSystemInfo::NewGuid(std::array<uint8_t, 16>& guid) const {
  size_t done = 0;
  while (done < guid.size()) {
    const ssize_t n = getrandom(guid.data() + done, guid.size() - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::ifstream urandom("/dev/urandom", std::ios::binary);
      if (!urandom.read(reinterpret_cast<char*>(guid.data()), std::streamsize(guid.size()))) return false;
      done = guid.size();
      break;
    }
    done += size_t(n);
  }
  guid[6] = uint8_t((guid[6] & 0x0F) | 0x40);  // version 4: random
  guid[8] = uint8_t((guid[8] & 0x3F) | 0x80);  // the standard variant
  return true;
}

bool TLinuxSystemInfo::Is64BitSystem() const {
  utsname name{};
  if (uname(&name) != 0) return false;
  const std::string machine = name.machine;
  return machine.find("64") != std::string::npos || machine == "s390x";
}

std::string TLinuxSystemInfo::ProxyHostPort(const std::string& url) {
  std::string rest = Trim(url);
  std::string scheme;
  const size_t schemeEnd = rest.find("://");
  if (schemeEnd != std::string::npos) {
    scheme = LowerCase(rest.substr(0, schemeEnd));
    rest = rest.substr(schemeEnd + 3);
  }
  rest = rest.substr(0, rest.find_first_of("/?#"));
  const size_t at = rest.rfind('@');
  if (at != std::string::npos) rest = rest.substr(at + 1);
  if (rest.empty()) return std::string();
  // The port follows the last ':' outside an IPv6 literal "[::1]:3128".
  const size_t bracket = rest.rfind(']');
  const size_t colon = rest.rfind(':');
  const bool hasPort = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
  if (hasPort) return colon + 1 < rest.size() ? rest : rest.substr(0, colon) + (scheme == "https" ? ":443" : ":80");
  return rest + (scheme == "https" ? ":443" : scheme.rfind("socks", 0) == 0 ? ":1080" : ":80");
}

std::string TLinuxSystemInfo::SystemProxyList() const {
  std::string list;
  const std::string http = ProxyHostPort(EnvAnyCase(FEnv, "http_proxy"));
  const std::string https = ProxyHostPort(EnvAnyCase(FEnv, "https_proxy"));
  if (!http.empty()) list = "Http=" + http;
  if (!https.empty()) list += (list.empty() ? "" : ";") + std::string("Https=") + https;
  return list;
}

std::string TLinuxSystemInfo::DesktopEntryCommand(const std::string& text) {
  bool inEntry = false;
  for (const std::string& raw : SplitLines(text)) {
    const std::string line = Trim(raw);
    if (!line.empty() && line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry || line.compare(0, 4, "Exec") != 0) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line.substr(4, eq - 4)) != "") continue;  // not Exec[xx]
    const std::string exec = Trim(line.substr(eq + 1));
    // Field codes (%u, %F, %i, ...) stand for what the launcher fills in; "%%" is a '%'.
    std::string command;
    for (size_t i = 0; i < exec.size(); ++i) {
      if (exec[i] == '%' && i + 1 < exec.size()) {
        if (exec[i + 1] == '%') command += '%';
        ++i;
        continue;
      }
      command += exec[i];
    }
    std::string collapsed;
    for (char c : command)
      if (!(c == ' ' && (collapsed.empty() || collapsed.back() == ' '))) collapsed += c;
    return Trim(collapsed);
  }
  return std::string();
}

std::string TLinuxSystemInfo::FindDesktopFile(const std::string& id) const {
  std::vector<std::string> dataDirs{FFolders.Folder(TFolderKind::LocalAppData)};
  std::string system = FEnv.Get("XDG_DATA_DIRS");
  if (system.empty()) system = "/usr/local/share:/usr/share";
  std::stringstream list(system);
  std::string dir;
  while (std::getline(list, dir, ':'))
    if (!dir.empty()) dataDirs.push_back(dir);
  // A desktop id "vendor-app.desktop" may also live as "vendor/app.desktop".
  std::vector<std::string> names{id};
  const size_t dash = id.find('-');
  if (dash != std::string::npos) names.push_back(id.substr(0, dash) + "/" + id.substr(dash + 1));
  for (const std::string& base : dataDirs)
    for (const std::string& name : names) {
      const std::string path = base + "/applications/" + name;
      if (std::ifstream(path).good()) return path;
    }
  return std::string();
}

std::string TLinuxSystemInfo::DefaultBrowserCommand() const {
  std::string output;
  // Run for the invoking user's home, so that a root installer reads that user's choice.
  if (!RunAndCapture("xdg-settings", {"get", "default-web-browser"}, output, 5000,
                     {"HOME=" + LinuxUserHome(FEnv)}))
    return std::string();
  const std::string id = Trim(output);
  if (id.empty() || id.find('/') != std::string::npos) return std::string();
  const std::string file = FindDesktopFile(id);
  return file.empty() ? std::string() : DesktopEntryCommand(ReadText(file));
}

std::string TLinuxSystemInfo::LocaleName() const {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = FEnv.Get(name);
    if (!locale.empty()) break;
  }
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX") return std::string();
  return locale;
}
