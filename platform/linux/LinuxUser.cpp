#include "platform/linux/LinuxUser.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "platform/Environment.h"

namespace {

bool LookUp(uid_t uid, TLinuxUser& user) {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
  user.Known = true;
  user.Uid = found->pw_uid;
  user.Gid = found->pw_gid;
  user.Name = found->pw_name ? found->pw_name : "";
  user.Home = found->pw_dir ? found->pw_dir : "";
  return true;
}

bool ParseUid(const std::string& text, uid_t& uid) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  uid = uid_t(std::strtoul(text.c_str(), nullptr, 10));
  return true;
}

}  // namespace

TLinuxUser FindLinuxUser(const TEnvironment& env) {
  TLinuxUser user;
  if (geteuid() == 0) {
    for (const char* name : {"PKEXEC_UID", "SUDO_UID"}) {
      uid_t uid = 0;
      if (ParseUid(env.Get(name), uid) && uid != 0 && LookUp(uid, user)) {
        user.Invoking = true;
        return user;
      }
    }
  }
  if (!LookUp(geteuid(), user)) {
    user.Uid = geteuid();
    user.Gid = getegid();
    user.Name = env.Get("USER");
    if (user.Name.empty()) user.Name = env.Get("LOGNAME");
  }
  return user;
}

std::string LinuxUserHome(const TEnvironment& env) {
  const std::string home = env.Get("HOME");
  const TLinuxUser user = FindLinuxUser(env);
  if (user.Invoking) {
    TLinuxUser root;
    const bool rootHome = LookUp(0, root) && !home.empty() && home == root.Home;
    if (home.empty() || rootHome) return user.Home;
    return home;
  }
  return home.empty() ? user.Home : home;
}
