#pragma once
#include <string>
#include <sys/types.h>

class TEnvironment;

// The user the program works for. Started through pkexec or sudo the installer runs as root,
// but what it writes for the user (settings, the user's registry hive, the desktop launcher)
// belongs to the invoking user named by PKEXEC_UID or SUDO_UID.
struct TLinuxUser {
  bool Known{false};
  bool Invoking{false};  // running as root on behalf of this (non-root) user
  uid_t Uid{0};
  gid_t Gid{0};
  std::string Name;
  std::string Home;  // from the password database
};

TLinuxUser FindLinuxUser(const TEnvironment& env);

// The user's home folder. HOME wins unless the program runs as root for an invoking user and
// HOME is unset or still names root's own home (sudo and pkexec leave it so): then the
// invoking user's home from the password database. A HOME set to anything else (a test's
// throw-away home, "sudo -E") is taken as meant.
std::string LinuxUserHome(const TEnvironment& env);
