#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/Processes.h"
#include "platform/RegistryStore.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxEnvironment.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxInstanceLocks.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxSpecialFolders.h"
#include "platform/linux/LinuxSystemInfo.h"

namespace {

TStartRequest Request(std::string program, std::string parameters = "", std::string folder = "") {
  TStartRequest request;
  request.Executable = std::move(program);
  request.Parameters = std::move(parameters);
  request.Folder = std::move(folder);
  return request;
}

// A throw-away folder with the environment pointed into it; both are undone afterwards.
struct TLinuxFixture : ::testing::Test {
  std::string Root;
  std::map<std::string, std::optional<std::string>> Saved;
  TLinuxEnvironment Env;
  TLinuxFileSystem Files;

  void SetUp() override {
    char pattern[] = "/tmp/qvb-platform-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Root = pattern;
  }
  void TearDown() override {
    for (auto& [name, value] : Saved) value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    (void)!system(("chmod -R u+w '" + Root + "' 2>/dev/null; rm -rf '" + Root + "'").c_str());
  }
  void SetEnv(const std::string& name, const std::optional<std::string>& value) {
    if (!Saved.count(name)) {
      const char* old = getenv(name.c_str());
      Saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  void WriteFile(const std::string& path, const std::string& text, mode_t mode = 0644) {
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
  }
  bool KeepsUserAttributes() {
    const std::string probe = Root + "/xattr-probe";
    WriteFile(probe, "");
    const bool ok = setxattr(probe.c_str(), "user.qvb.probe", "1", 1, 0) == 0;
    unlink(probe.c_str());
    return ok;
  }
};

// ---- folders ------------------------------------------------------------------------------

TEST_F(TLinuxFixture, FoldersFollowTheEnvironmentAndTheMachineRoot) {
  SetEnv("QVB_SYSROOT", Root + "/sys/");
  SetEnv("HOME", Root + "/home");
  SetEnv("XDG_CONFIG_HOME", std::nullopt);
  SetEnv("XDG_DATA_HOME", Root + "/data");
  SetEnv("XDG_DESKTOP_DIR", std::nullopt);
  SetEnv("TMPDIR", Root + "/tmp");
  TLinuxSpecialFolders folders(Env);
  const std::string sys = Root + "/sys", home = Root + "/home";
  struct TCase {
    TFolderKind Kind;
    std::string Expected;
  } cases[] = {
      {TFolderKind::CommonAppData, sys + "/var/lib"},
      {TFolderKind::ProgramFiles, sys + "/opt"},
      {TFolderKind::ProgramFilesNative, sys + "/opt"},
      {TFolderKind::AppData, home + "/.config"},
      {TFolderKind::LocalAppData, Root + "/data"},
      {TFolderKind::Profile, home},
      {TFolderKind::Desktop, home + "/Desktop"},
      {TFolderKind::Temp, Root + "/tmp/"},
      {TFolderKind::Runtime, sys + "/run"},
  };
  for (const TCase& c : cases) EXPECT_EQ(folders.Folder(c.Kind), c.Expected) << int(c.Kind);

  // The desktop: XDG_DESKTOP_DIR, else the user-dirs file that xdg-user-dir reads.
  SetEnv("XDG_CONFIG_HOME", Root + "/conf");
  mkdir((Root + "/conf").c_str(), 0755);
  WriteFile(Root + "/conf/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  EXPECT_EQ(folders.Folder(TFolderKind::AppData), Root + "/conf");
  EXPECT_EQ(folders.Folder(TFolderKind::Desktop), home + "/Schreibtisch");
  SetEnv("XDG_DESKTOP_DIR", Root + "/desk");
  EXPECT_EQ(folders.Folder(TFolderKind::Desktop), Root + "/desk");

  // Without a machine root the real machine folders answer, and TMPDIR gets its '/'.
  SetEnv("QVB_SYSROOT", std::nullopt);
  SetEnv("TMPDIR", std::nullopt);
  SetEnv("XDG_RUNTIME_DIR", Root + "/rt");
  EXPECT_EQ(folders.Folder(TFolderKind::CommonAppData), "/var/lib");
  EXPECT_EQ(folders.Folder(TFolderKind::Temp), "/tmp/");
  EXPECT_EQ(folders.Folder(TFolderKind::Runtime), Root + "/rt");
  const std::string exe = folders.Folder(TFolderKind::ExeFolder);
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '/');
  EXPECT_TRUE(Files.FolderExists(exe));
}

TEST_F(TLinuxFixture, PlatformPutsTheHivesUnderItsFolders) {
  SetEnv("QVB_SYSROOT", Root);
  SetEnv("HOME", Root + "/home");
  SetEnv("XDG_CONFIG_HOME", std::nullopt);
  TLinuxPlatform platform;
  EXPECT_EQ(platform.Registry().MachineHiveFile(), Root + "/var/lib/Registry/HKLM.reg");
  EXPECT_EQ(platform.Registry().UserHiveFile(), Root + "/home/.config/Registry/HKCU.reg");
}

// Under sudo or pkexec the installer runs as root for the invoking user: that user's name,
// that user's home unless HOME points elsewhere, and files created there belong to the user.
TEST_F(TLinuxFixture, RootWorksForTheInvokingUser) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root and the user nobody";
  const passwd* root = getpwuid(0);
  SetEnv("PKEXEC_UID", std::nullopt);
  SetEnv("SUDO_UID", std::to_string(nobody->pw_uid));
  SetEnv("XDG_CONFIG_HOME", std::nullopt);
  TLinuxSpecialFolders folders(Env);
  TLinuxSystemInfo info(Env, folders);
  EXPECT_EQ(info.UserLogonName(), "nobody");
  SetEnv("HOME", root->pw_dir);
  EXPECT_EQ(folders.Folder(TFolderKind::Profile), nobody->pw_dir);
  SetEnv("HOME", std::nullopt);
  EXPECT_EQ(folders.Folder(TFolderKind::AppData), std::string(nobody->pw_dir) + "/.config");
  SetEnv("HOME", Root + "/home");
  EXPECT_EQ(folders.Folder(TFolderKind::Profile), Root + "/home");
  SetEnv("SUDO_UID", "0");
  EXPECT_EQ(info.UserLogonName(), root->pw_name);

  Files.SetUserFilesOwner(nobody->pw_uid, nobody->pw_gid, Root + "/home");
  ASSERT_EQ(Files.ForceFolders(Root + "/home/.config/Registry"), 0);
  ASSERT_EQ(Files.WriteAtomic(Root + "/home/.config/Registry/HKCU.reg", "x"), 0);
  ASSERT_EQ(Files.WriteAtomic(Root + "/machine.reg", "x"), 0);
  struct stat st{};
  for (const char* path : {"/home", "/home/.config/Registry", "/home/.config/Registry/HKCU.reg"}) {
    ASSERT_EQ(stat((Root + path).c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, nobody->pw_uid) << path;
  }
  ASSERT_EQ(stat((Root + "/machine.reg").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
}

// ---- files --------------------------------------------------------------------------------

TEST_F(TLinuxFixture, AtomicWriteReplacesContentKeepsModeAndLeavesNoTemporaryFile) {
  const std::string path = Root + "/settings.ini";
  ASSERT_EQ(Files.WriteAtomic(path, "first"), 0);
  chmod(path.c_str(), 0600);
  ASSERT_EQ(Files.WriteAtomic(path, "second, longer"), 0);
  std::string bytes;
  ASSERT_EQ(Files.ReadAll(path, bytes), 0);
  EXPECT_EQ(bytes, "second, longer");
  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const auto entries = Files.List(Root + "/*");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "settings.ini");
  EXPECT_EQ(Files.WriteAtomic(Root + "/missing/x", "x"), ENOENT);
  EXPECT_EQ(Files.WriteAtomic(Root, "x"), EISDIR);
  EXPECT_EQ(Files.List(Root + "/*").size(), 1u);
}

TEST_F(TLinuxFixture, AttributesRoundTripWithReadOnlyAsPermissionBits) {
  const std::string path = Root + "/f.txt";
  ASSERT_EQ(Files.WriteAtomic(path, "keep"), 0);
  EXPECT_EQ(Files.GetAttributes(path), uint32_t(faArchive));
  EXPECT_EQ(Files.GetAttributes(Root), uint32_t(faDirectory));
  EXPECT_EQ(Files.GetAttributes(Root + "/none"), faInvalid);

  ASSERT_EQ(Files.SetAttributes(path, faReadOnly | faHidden | faSystem), 0);
  struct stat st{};
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  const uint32_t kept = KeepsUserAttributes() ? uint32_t(faHidden | faSystem) : 0u;
  EXPECT_EQ(Files.GetAttributes(path), faReadOnly | kept);
  // Read-only refuses writes also for root, who passes every permission check.
  EXPECT_EQ(Files.WriteAtomic(path, "new"), EACCES);
  EXPECT_EQ(Files.Append(path, "new"), EACCES);
  EXPECT_EQ(Files.Open(path, TOpenMode::ReadWrite), nullptr);
  std::string bytes;
  Files.ReadAll(path, bytes);
  EXPECT_EQ(bytes, "keep");

  ASSERT_EQ(Files.SetAttributes(path, faHidden), 0);
  EXPECT_EQ(Files.GetAttributes(path), KeepsUserAttributes() ? uint32_t(faHidden) : uint32_t(faNormal));
  EXPECT_EQ(Files.WriteAtomic(path, "new"), 0);
  EXPECT_EQ(Files.GetAttributes(path), KeepsUserAttributes() ? uint32_t(faHidden) : uint32_t(faNormal));
}

TEST_F(TLinuxFixture, ForceFoldersCreatesEveryLevel) {
  const std::string deep = Root + "/a/b/c/d/e/";
  EXPECT_EQ(Files.ForceFolders(deep), 0);
  EXPECT_TRUE(Files.FolderExists(Root + "/a/b/c/d/e"));
  EXPECT_EQ(Files.ForceFolders(deep), 0);
  WriteFile(Root + "/a/file", "");
  EXPECT_EQ(Files.ForceFolders(Root + "/a/file/sub"), ENOTDIR);
  EXPECT_EQ(Files.CreateFolder(Root + "/x/y"), ENOENT);
  EXPECT_EQ(Files.RemoveFolder(Root + "/a/b"), ENOTEMPTY);
}

TEST_F(TLinuxFixture, ListMatchesWildcardsAndTheWindowsEverythingMask) {
  WriteFile(Root + "/a.txt", "1");
  WriteFile(Root + "/b.log", "22");
  mkdir((Root + "/sub").c_str(), 0755);
  std::string names;
  for (const TDirEntry& e : Files.List(Root + "/*.*")) names += e.Name + ":" + std::to_string(e.Size) + ",";
  EXPECT_EQ(names, "a.txt:1,b.log:2,sub:0,");
  ASSERT_EQ(Files.List(Root + "/*.log").size(), 1u);
  EXPECT_EQ(Files.List(Root + "/s?b")[0].Attributes, uint32_t(faDirectory));
}

// ---- drives -------------------------------------------------------------------------------

TEST_F(TLinuxFixture, DriveOfAPathIsItsMountPointWithFreeSpace) {
  TLinuxDrives drives;
  const std::string drive = drives.DriveOf(Root + "/not/yet/created");
  ASSERT_FALSE(drive.empty());
  char resolved[PATH_MAX];
  ASSERT_NE(realpath(Root.c_str(), resolved), nullptr);
  EXPECT_EQ(std::string(resolved).compare(0, drive.size(), drive), 0) << drive;
  EXPECT_NE(drives.TypeOf(drive), TDriveType::NoRootDir);
  EXPECT_EQ(drives.TypeOf(Root + "/not-a-mount"), TDriveType::NoRootDir);
  int64_t free = 0;
  ASSERT_TRUE(drives.FreeSpace(Root + "/not/yet/created", free));
  EXPECT_GT(free, 0);
  for (const std::string& d : drives.LogicalDrives()) {
    EXPECT_EQ(d.back(), '/');
    EXPECT_EQ(drives.TypeOf(d), TDriveType::Fixed) << d;
  }
}

TEST_F(TLinuxFixture, MountTableGivesDriveTypes) {
  mkdir((Root + "/block").c_str(), 0755);
  mkdir((Root + "/block/sdb").c_str(), 0755);
  mkdir((Root + "/block/sdb/sdb1").c_str(), 0755);
  mkdir((Root + "/block/sda").c_str(), 0755);
  WriteFile(Root + "/block/sdb/removable", "1\n");
  WriteFile(Root + "/block/sda/removable", "0\n");
  WriteFile(Root + "/mountinfo",
            "21 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
            "22 21 0:5 / /proc rw - proc proc rw\n"
            "23 21 0:6 / /tmp rw - tmpfs tmpfs rw\n"
            "24 21 0:40 / /mnt/share rw - cifs //server/share rw\n"
            "25 21 0:41 / /mnt/remote\\040home rw - fuse.sshfs me@host: rw\n"
            "26 21 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw\n"
            "27 21 8:33 / /run/media/me/STICK rw - exfat /dev/sdc1 rw\n"
            "28 21 11:0 / /mnt/cd ro - iso9660 /dev/sr0 ro\n"
            "29 21 8:2 / /home rw shared:1 - btrfs /dev/sda2 rw\n"
            "30 21 0:50 / / rw - overlay overlay rw\n");
  // The partition's folder lives inside its disk's folder, as in sysfs.
  symlink((Root + "/block/sdb/sdb1").c_str(), (Root + "/block/sdb1").c_str());
  TLinuxDrives drives(Root + "/mountinfo", Root + "/block");
  struct TCase {
    const char* Point;
    TDriveType Type;
  } cases[] = {
      {"/", TDriveType::Fixed},  // the overlay mounted later over / wins
      {"/proc", TDriveType::Unknown},
      {"/tmp", TDriveType::RamDisk},
      {"/mnt/share", TDriveType::Remote},
      {"/mnt/remote home", TDriveType::Remote},
      {"/mnt/usb", TDriveType::Removable},
      {"/run/media/me/STICK", TDriveType::Removable},
      {"/mnt/cd", TDriveType::CdRom},
      {"/home/", TDriveType::Fixed},
  };
  for (const TCase& c : cases) EXPECT_EQ(drives.TypeOf(c.Point), c.Type) << c.Point;
  EXPECT_EQ(drives.DriveOf("/home/me/x"), "/home");
  EXPECT_EQ(drives.DriveOf("/homework"), "/");
  EXPECT_EQ(drives.DriveOf("/mnt/remote home/a"), "/mnt/remote home");
}

// ---- instance locks -----------------------------------------------------------------------

TEST_F(TLinuxFixture, InstanceLockHeldByAnotherProcessRefusesUntilItDies) {
  SetEnv("QVB_SYSROOT", Root);
  TLinuxSpecialFolders folders(Env);
  TLinuxInstanceLocks locks(Files, folders);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto held = locks.Acquire("_QVB1_Installer");
    const char state = held ? 'y' : 'n';
    (void)!write(ready[1], &state, 1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char state = 0;
  ASSERT_EQ(read(ready[0], &state, 1), 1);
  close(ready[0]);
  ASSERT_EQ(state, 'y');
  EXPECT_TRUE(Files.FileExists(Root + "/run/_QVB1_Installer.lock"));
  EXPECT_EQ(locks.Acquire("_QVB1_Installer"), nullptr);
  EXPECT_NE(locks.Acquire("Other"), nullptr);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  auto mine = locks.Acquire("_QVB1_Installer");
  EXPECT_NE(mine, nullptr);
  EXPECT_EQ(locks.Acquire("_QVB1_Installer"), nullptr);  // also a second holder inside one process
}

// ---- processes ----------------------------------------------------------------------------

int WaitForExit(TProcess& process) {
  for (int i = 0; i < 1000 && process.IsRunning(); ++i) usleep(5000);
  return process.ExitCode();
}

TEST_F(TLinuxFixture, StartedChildRunsInItsFolderWithExactArguments) {
  TLinuxProcesses processes;
  TStartRequest request = Request("/bin/sh", "-c \"printf '%s|' \\\"$@\\\" > args; pwd > where; exit 7\" sh \"a b\" c\\\"d \\\\x", Root);
  int error = -1;
  auto child = processes.Start(request, &error);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(error, 0);
  EXPECT_GT(child->Pid(), 0);
  EXPECT_EQ(WaitForExit(*child), 7);
  EXPECT_FALSE(child->IsRunning());
  std::string args, where;
  Files.ReadAll(Root + "/args", args);
  Files.ReadAll(Root + "/where", where);
  EXPECT_EQ(args, "a b|c\"d|\\\\x|");
  char resolved[PATH_MAX];
  realpath(Root.c_str(), resolved);
  EXPECT_EQ(where, std::string(resolved) + "\n");

  auto sleeper = processes.Start(Request("/bin/sh", "-c \"sleep 5\""));
  ASSERT_NE(sleeper, nullptr);
  EXPECT_TRUE(sleeper->IsRunning());
  EXPECT_EQ(sleeper->ExitCode(), 259);
  kill(sleeper->Pid(), SIGTERM);
  EXPECT_EQ(WaitForExit(*sleeper), 128 + SIGTERM);

  EXPECT_EQ(processes.Start(Request(Root + "/missing"), &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(processes.Start(Request("/bin/sh", "", Root + "/no-folder"), &error), nullptr);
  EXPECT_EQ(error, ENOENT);
}

TEST_F(TLinuxFixture, ShellOpenReportsMissingFilesAndAMissingOpener) {
  mkdir((Root + "/bin").c_str(), 0755);
  WriteFile(Root + "/bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.opened\"\n", 0755);
  WriteFile(Root + "/doc.html", "<p>");
  TLinuxProcesses processes;
  SetEnv("PATH", Root + "/empty");
  EXPECT_EQ(processes.ShellOpen(Request("https://example.test/")), 31);
  EXPECT_EQ(processes.ShellOpen(Request(Root + "/missing.html")), 2);
  EXPECT_EQ(processes.ShellOpen(Request("file://" + Root + "/missing%20file.html")), 2);
  EXPECT_EQ(processes.ShellOpen(Request("missing.html", "", Root)), 2);
  SetEnv("PATH", Root + "/bin");
  EXPECT_EQ(processes.ShellOpen(Request("doc.html", "", Root)), 42);
  for (int i = 0; i < 400 && !Files.FileExists(Root + "/bin/xdg-open.opened"); ++i) usleep(5000);
  std::string opened;
  Files.ReadAll(Root + "/bin/xdg-open.opened", opened);
  EXPECT_EQ(opened, "doc.html");
}

TEST(SplitWindowsCommandLine, FollowsTheWindowsArgumentRules) {
  struct TCase {
    const char* Line;
    std::vector<std::string> Args;
  } cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"/VERYSILENT /DIR=x", {"/VERYSILENT", "/DIR=x"}},
      {"  a\t\tb  ", {"a", "b"}},
      {"\"C:\\Program Files\\Q\" /S", {"C:\\Program Files\\Q", "/S"}},
      {"/DIR=\"C:\\A B\\\"", {"/DIR=C:\\A B\""}},  // \" is a literal quote
      {"/DIR=\"C:\\A B\\\\\"", {"/DIR=C:\\A B\\"}},  // \\" is one backslash, then the quote ends
      {"a\\\\b c\\d", {"a\\\\b", "c\\d"}},           // backslashes not before a quote stay
      {"a\\\\\\\"b", {"a\\\"b"}},                    // 3 backslashes + quote
      {"a\\\\\\\\\"b c\" d", {"a\\\\b c", "d"}},     // 4 backslashes + quote
      {"\"\"", {""}},
      {"\"\" x", {"", "x"}},
      {"\"a\"\"b\"", {"a\"b"}},                      // "" inside quotes is one quote
      {"\"a\"\"\"b", {"a\"b"}},
      {"\"\"\"a\"\"\"", {"\"a\""}},
      {"\"open", {"open"}},
      {"d\"e f\"g h", {"de fg", "h"}},
  };
  for (const TCase& c : cases) EXPECT_EQ(SplitWindowsCommandLine(c.Line), c.Args) << c.Line;
}

// ---- system facts ---------------------------------------------------------------------------

TEST(LinuxSystemInfo, ProxyUrlsBecomeHostAndPort) {
  struct TCase {
    const char* Url;
    const char* HostPort;
  } cases[] = {
      {"http://proxy.lan:3128/", "proxy.lan:3128"}, {"proxy.lan:8080", "proxy.lan:8080"},
      {"http://user:pa:ss@proxy.lan:3128", "proxy.lan:3128"}, {"http://proxy.lan", "proxy.lan:80"},
      {"https://proxy.lan", "proxy.lan:443"},       {"socks5://127.0.0.1", "127.0.0.1:1080"},
      {"http://[::1]:3128", "[::1]:3128"},          {"[::1]", "[::1]:80"},
      {"  ", ""},                                   {"http://", ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(TLinuxSystemInfo::ProxyHostPort(c.Url), c.HostPort) << c.Url;
}

TEST_F(TLinuxFixture, SystemFactsComeFromTheMachineRootAndTheEnvironment) {
  SetEnv("QVB_SYSROOT", Root);
  TLinuxSpecialFolders folders(Env);
  TLinuxSystemInfo info(Env, folders);
  EXPECT_EQ(info.MachineGuid(), "");
  mkdir((Root + "/etc").c_str(), 0755);
  WriteFile(Root + "/etc/machine-id", "0123456789ABCDEF0123456789abcdef\n");
  EXPECT_EQ(info.MachineGuid(), "01234567-89ab-cdef-0123-456789abcdef");

  struct TProxyCase {
    std::optional<std::string> Http, HttpUpper, Https, HttpsUpper;
    const char* List;
  } proxies[] = {
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt, ""},
      {"http://p:3128", std::nullopt, "http://s:8443/", std::nullopt, "Http=p:3128;Https=s:8443"},
      {std::nullopt, "P:1", std::nullopt, std::nullopt, "Http=P:1"},
      {std::nullopt, std::nullopt, std::nullopt, "S:2", "Https=S:2"},
      {"lower:1", "UPPER:2", std::nullopt, std::nullopt, "Http=lower:1"},
  };
  for (const TProxyCase& c : proxies) {
    SetEnv("http_proxy", c.Http);
    SetEnv("HTTP_PROXY", c.HttpUpper);
    SetEnv("https_proxy", c.Https);
    SetEnv("HTTPS_PROXY", c.HttpsUpper);
    EXPECT_EQ(info.SystemProxyList(), c.List);
  }

  for (auto [all, messages, lang, expected] : {std::tuple{"", "", "de_DE.UTF-8", "de_DE"},
                                               std::tuple{"", "fr_FR@euro", "de_DE", "fr_FR"},
                                               std::tuple{"pt_BR.utf8", "fr_FR", "de_DE", "pt_BR"},
                                               std::tuple{"C", "", "", ""}}) {
    SetEnv("LC_ALL", *all ? std::optional<std::string>(all) : std::nullopt);
    SetEnv("LC_MESSAGES", *messages ? std::optional<std::string>(messages) : std::nullopt);
    SetEnv("LANG", *lang ? std::optional<std::string>(lang) : std::nullopt);
    EXPECT_EQ(info.LocaleName(), expected) << all << messages << lang;
  }

  std::array<uint8_t, 16> a{}, b{};
  ASSERT_TRUE(info.NewGuid(a));
  ASSERT_TRUE(info.NewGuid(b));
  EXPECT_NE(a, b);
  EXPECT_EQ(a[6] >> 4, 4);
  EXPECT_EQ(a[8] >> 6, 2);
  EXPECT_EQ(info.TrueVersion().Major, 10);
  EXPECT_EQ(info.TrueVersion().Build, 19045);
#if defined(__x86_64__) || defined(__aarch64__)
  EXPECT_TRUE(info.Is64BitSystem());
#endif
}

TEST_F(TLinuxFixture, DefaultBrowserIsTheExecLineOfTheChosenDesktopFile) {
  mkdir((Root + "/bin").c_str(), 0755);
  mkdir((Root + "/data").c_str(), 0755);
  mkdir((Root + "/data/applications").c_str(), 0755);
  WriteFile(Root + "/bin/xdg-settings", "#!/bin/sh\necho quenvo-browser.desktop\n", 0755);
  WriteFile(Root + "/data/applications/quenvo-browser.desktop",
            "[Desktop Action new]\nExec=/opt/q/browser --new-window %u\n"
            "[Desktop Entry]\nName=Q\nExec[de]=wrong\nExec=/opt/q/browser %U --flag=100%%\n");
  SetEnv("PATH", Root + "/bin");
  SetEnv("XDG_DATA_HOME", Root + "/data");
  TLinuxSpecialFolders folders(Env);
  TLinuxSystemInfo info(Env, folders);
  EXPECT_EQ(info.DefaultBrowserCommand(), "/opt/q/browser --flag=100%");
  WriteFile(Root + "/bin/xdg-settings", "#!/bin/sh\nexit 1\n", 0755);
  EXPECT_EQ(info.DefaultBrowserCommand(), "");
  SetEnv("PATH", Root + "/empty");
  EXPECT_EQ(info.DefaultBrowserCommand(), "");
}

}  // namespace
