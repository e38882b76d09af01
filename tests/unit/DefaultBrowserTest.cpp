#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/RegistryStore.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeSystemInfo.h"
#include "support/DefaultBrowser.h"

namespace {

const std::string kExe = "QuenvoVPNBrowser.exe";
const std::string kFirefox = "C:\\Program Files\\Mozilla Firefox\\firefox.exe";
const std::string kChrome = "C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe";
const std::string kOperaLauncher = "C:\\Users\\TestUser\\AppData\\Local\\Programs\\Opera\\launcher.exe";
const std::string kOpera = "C:\\Program Files\\Opera\\opera.exe";
const std::string kIe = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const std::string kOwn = "C:\\Program Files\\Quenvo\\QuenvoVPNBrowser.exe";

const std::string kUserChoice =
    "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
const std::string kStartMenu = "SOFTWARE\\Clients\\StartMenuInternet";

TRegValue Sz(const std::string& text) {
  TRegValue value;
  value.Type = TRegType::Sz;
  value.Text = text;
  return value;
}

std::string Quoted(const std::string& path, const std::string& args = " -osint -url \"%1\"") {
  return "\"" + path + "\"" + args;
}

// One registry value to write: root, key, name ("" = default value), text, 32-bit view.
struct TValue {
  TRootKey Root;
  std::string Key;
  std::string Name;
  std::string Text;
  bool View32{false};
};

struct TBrowserCase {
  const char* Name;
  TWindowsVersion Version;
  std::vector<TValue> Registry;
  std::vector<std::string> Files;  // executables that exist
  int Expected;
  friend void PrintTo(const TBrowserCase& c, std::ostream* os) { *os << c.Name; }
};

TValue ProgId(const std::string& id) {
  return {TRootKey::CurrentUser, kUserChoice, "ProgID", id};
}
TValue UserClassCommand(const std::string& id, const std::string& command) {
  return {TRootKey::CurrentUser, "Software\\Classes\\" + id + "\\shell\\open\\command", "", command};
}

class TDefaultBrowserTest : public ::testing::TestWithParam<TBrowserCase> {
 protected:
  TFakePlatformScope Fake;
};

TEST_P(TDefaultBrowserTest, FindsAndClassifiesTheCommand) {
  const TBrowserCase& c = GetParam();
  Fake->FakeSystem().SetVersion(c.Version);
  for (const TValue& v : c.Registry)
    ASSERT_TRUE(Fake->Registry().WriteValue(v.Root, v.Key, v.Name, Sz(v.Text), v.View32));
  for (const std::string& file : c.Files) Fake->FakeFiles().AddFile(file, "MZ");
  EXPECT_EQ(GetDefaultBrowser(4, kExe), c.Expected);
}

const TWindowsVersion kWin10{10, 0, 19045}, kWin8{6, 2, 9200}, kWin7{6, 1, 7601}, kXp{5, 1, 2600};
const TValue kEdgeIdentity{TRootKey::CurrentUser, "Software\\Classes\\MSEdgeHTM\\Application",
                           "AppUserModelID", "Microsoft.MicrosoftEdge.Stable_8wekyb3d8bbwe!App"};
const TValue kHttpCommand{TRootKey::CurrentUser, "Software\\Classes\\http\\shell\\open\\command", "",
                          Quoted(kFirefox)};

INSTANTIATE_TEST_SUITE_P(
    UserChoice, TDefaultBrowserTest,
    ::testing::Values(
        TBrowserCase{"EdgeByIdentityWithoutReadingTheCommand",
                     kWin10,
                     {ProgId("MSEdgeHTM"), kEdgeIdentity, UserClassCommand("MSEdgeHTM", Quoted(kFirefox))},
                     {kFirefox},
                     dbEdgeByIdentity},
        TBrowserCase{"IdentityOfAnotherApp",
                     kWin10,
                     {ProgId("AppX"),
                      {TRootKey::CurrentUser, "Software\\Classes\\AppX\\Application", "AppUserModelID",
                       "Microsoft.Windows.Photos"},
                      UserClassCommand("AppX", Quoted(kFirefox))},
                     {kFirefox},
                     dbFirefox},
        TBrowserCase{"Firefox",
                     kWin10,
                     {ProgId("FirefoxURL"), UserClassCommand("FirefoxURL", Quoted(kFirefox))},
                     {kFirefox},
                     dbFirefox},
        TBrowserCase{"MissingExecutableKeepsDefault",
                     kWin10,
                     {ProgId("FirefoxURL"), UserClassCommand("FirefoxURL", Quoted(kFirefox))},
                     {},
                     4},
        TBrowserCase{"InternetExplorerNeedsNoFile",
                     kWin10,
                     {ProgId("IE.HTTP"), UserClassCommand("IE.HTTP", kIe)},
                     {},
                     dbInternetExplorer},
        TBrowserCase{"ClassesRootWhenUserKeyIsMissing",
                     kWin10,
                     {ProgId("ChromeHTML"),
                      {TRootKey::LocalMachine, "SOFTWARE\\Classes\\ChromeHTML\\shell\\open\\command", "",
                       Quoted(kChrome, " -- \"%1\"")}},
                     {kChrome},
                     dbChrome},
        TBrowserCase{"OperaAnywhereInThePath",
                     kWin10,
                     {ProgId("OperaStable"), UserClassCommand("OperaStable", Quoted(kOperaLauncher))},
                     {kOperaLauncher},
                     dbOpera},
        TBrowserCase{"OwnBrowser",
                     kWin10,
                     {ProgId("QVB"), UserClassCommand("QVB", Quoted(kOwn))},
                     {kOwn},
                     dbOwnBrowser},
        TBrowserCase{"Windows10WithoutUserChoiceKeepsDefault", kWin10, {kHttpCommand}, {kFirefox}, 4},
        TBrowserCase{
            "Windows8WithoutUserChoiceReadsHttpCommand", kWin8, {kHttpCommand}, {kFirefox}, dbFirefox},
        TBrowserCase{
            "Windows8EarlyBuildTakesStartMenuRoute",
            {6, 2, 8400},
            {{TRootKey::CurrentUser, kStartMenu, "", "Opera"},
             {TRootKey::CurrentUser, kStartMenu + "\\Opera\\shell\\open\\command", "", Quoted(kOpera)}},
            {kOpera},
            dbOpera}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    StartMenu, TDefaultBrowserTest,
    ::testing::Values(
        TBrowserCase{"UserClient",
                     kWin7,
                     {{TRootKey::CurrentUser, kStartMenu, "", "FIREFOX.EXE"},
                      {TRootKey::CurrentUser, kStartMenu + "\\FIREFOX.EXE\\shell\\open\\command", "",
                       Quoted(kFirefox, "")}},
                     {kFirefox},
                     dbFirefox},
        TBrowserCase{"MachineClientIn32BitView",
                     kWin7,
                     {{TRootKey::LocalMachine, kStartMenu, "", "Google Chrome", true},
                      {TRootKey::LocalMachine, kStartMenu + "\\Google Chrome\\shell\\open\\command", "",
                       Quoted(kChrome), true}},
                     {kChrome},
                     dbChrome},
        TBrowserCase{"MachineClientOnlyIn64BitViewIsNotSeen",
                     kWin7,
                     {{TRootKey::LocalMachine, kStartMenu, "", "Google Chrome"},
                      {TRootKey::LocalMachine, kStartMenu + "\\Google Chrome\\shell\\open\\command", "",
                       Quoted(kChrome)}},
                     {kChrome},
                     4},
        TBrowserCase{"OperaNeedsItsExecutableName",
                     kWin7,
                     {{TRootKey::CurrentUser, kStartMenu, "", "OperaStable"},
                      {TRootKey::CurrentUser, kStartMenu + "\\OperaStable\\shell\\open\\command", "",
                       Quoted(kOperaLauncher)}},
                     {kOperaLauncher},
                     4},
        TBrowserCase{"MissingExecutableFallsToUserChoice",
                     kWin7,
                     {{TRootKey::CurrentUser, kStartMenu, "", "FIREFOX.EXE"},
                      {TRootKey::CurrentUser, kStartMenu + "\\FIREFOX.EXE\\shell\\open\\command", "",
                       Quoted(kFirefox)},
                      ProgId("ChromeHTML"),
                      UserClassCommand("ChromeHTML", Quoted(kChrome))},
                     {kChrome},
                     dbChrome},
        TBrowserCase{
            "Windows7UserChoiceWithoutProgIdReadsHttpCommand", kWin7, {kHttpCommand}, {kFirefox}, dbFirefox},
        TBrowserCase{
            "XpHttpCommandFirst",
            kXp,
            {kHttpCommand,
             {TRootKey::CurrentUser, kStartMenu, "", "Chrome"},
             {TRootKey::CurrentUser, kStartMenu + "\\Chrome\\shell\\open\\command", "", Quoted(kChrome)}},
            {kFirefox, kChrome},
            dbFirefox},
        TBrowserCase{"XpNeverTakesUserChoice",
                     kXp,
                     {ProgId("FirefoxURL"), UserClassCommand("FirefoxURL", Quoted(kFirefox))},
                     {kFirefox},
                     4}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DefaultBrowserClassification, ExecutablePathOfACommand) {
  const std::pair<std::string, std::string> cases[] = {
      {"  \"C:\\A B\\x.exe\" -url \"%1\"", "C:\\A B\\x.exe"},
      {"\" C:\\A\\x.exe \"", "C:\\A\\x.exe"},
      {"\"C:\\no closing quote.exe", "C:\\no closing quote.exe"},
      {"C:\\A\\x.exe -osint -url %1", "C:\\A\\x.exe -osint -url %1"},  // taken whole
      {"   ", ""},
      {"\"\" x", ""},
  };
  for (const auto& [command, path] : cases) EXPECT_EQ(CommandExecutablePath(command), path) << command;
}

TEST(DefaultBrowserClassification, QuotelessCommandWithArgumentsMatchesOnlyInternetExplorer) {
  TFakePlatformScope fake;
  fake->FakeFiles().AddFile(kFirefox, "MZ");
  fake->FakeFiles().AddFile(kIe, "MZ");
  for (auto rules : {TBrowserRules::StartMenu, TBrowserRules::UserChoice}) {
    EXPECT_EQ(ClassifyBrowserCommand(kFirefox + " -osint -url %1", 4, kExe, rules), 4);
    EXPECT_EQ(ClassifyBrowserCommand(kFirefox, 4, kExe, rules), dbFirefox);
    EXPECT_EQ(ClassifyBrowserCommand(kIe + " %1", 4, kExe, rules), dbInternetExplorer);
    EXPECT_EQ(ClassifyBrowserCommand("", 4, kExe, rules), 4);
  }
  // An empty executable name matches nothing.
  fake->FakeFiles().AddFile("C:\\Apps\\other.exe", "MZ");
  EXPECT_EQ(ClassifyBrowserCommand("C:\\Apps\\other.exe", 4, "", TBrowserRules::StartMenu), 4);
}

TEST(DefaultBrowserPlatformCommand, EntersOnlyWhenTheRegistryNamesNoBrowser) {
  TFakePlatformScope fake;
  fake->FakeSystem().SetDefaultBrowserCommand("/usr/bin/firefox");
  fake->FakeFiles().AddFile("C:\\usr\\bin\\firefox", "");
  EXPECT_EQ(GetDefaultBrowser(4, kExe), dbFirefox);
  // A command in the registry decides, even when it names no known browser.
  ASSERT_TRUE(fake->Registry().WriteValue(TRootKey::CurrentUser, kUserChoice, "ProgID", Sz("Other")));
  ASSERT_TRUE(fake->Registry().WriteValue(TRootKey::CurrentUser,
                                          "Software\\Classes\\Other\\shell\\open\\command", "",
                                          Sz("C:\\Other\\other.exe")));
  EXPECT_EQ(GetDefaultBrowser(4, kExe), 4);
}

// Desktop launcher commands on the Linux file system: a throw-away folder on PATH.
class TLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = std::filesystem::temp_directory_path() / ("qvb-launcher-" + std::to_string(getpid()));
    for (const char* file :
         {"bin/firefox", "bin/google-chrome-stable", "bin/chromium", "bin/microsoft-edge-beta", "bin/opera",
          "bin/mybrowser", "My Apps/QuenvoVPNBrowser", "home/operator/bin/tool"}) {
      std::filesystem::create_directories((FRoot / file).parent_path());
      std::ofstream(FRoot / file) << "#!/bin/sh\n";
    }
    const char* path = getenv("PATH");
    FOldPath = path ? path : "";
    setenv("PATH", (FRoot.string() + "/bin:/nonexistent").c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", FOldPath.c_str(), 1);
    std::filesystem::remove_all(FRoot);
  }
  std::string Root() const { return FRoot.string(); }
  std::filesystem::path FRoot;
  std::string FOldPath;
};

TEST_F(TLauncherTest, MapsLinuxExecutablesToTheBrowsersWindowsNames) {
  const std::pair<std::string, int> cases[] = {
      {"firefox", dbFirefox},
      {Root() + "/bin/firefox --new-window", dbFirefox},
      {"env MOZ_ENABLE_WAYLAND=1 firefox", dbFirefox},
      {"google-chrome-stable --incognito", dbChrome},
      {"chromium", dbChrome},
      {"microsoft-edge-beta", dbEdge},
      {"opera", dbOpera},
      {"\"" + Root() + "/My Apps/QuenvoVPNBrowser\"", dbOwnBrowser},
      {Root() + "/home/operator/bin/tool", 4},  // "opera" inside a folder name is not Opera
      {"mybrowser", 4},
      {"/nonexistent/firefox", 4},  // the file must exist
      {"seamonkey", 4},             // not on PATH
      {"", 4},
      {"env", 4},
  };
  for (const auto& [command, expected] : cases)
    EXPECT_EQ(ClassifyLauncherCommand(command, 4, kExe), expected) << command;
}

}  // namespace
