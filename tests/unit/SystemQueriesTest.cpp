#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/RegistryStore.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeSpecialFolders.h"
#include "platform/fake/FakeSystemInfo.h"
#include "support/Flagship.h"
#include "support/ShellOpen.h"
#include "support/SystemQueries.h"

namespace {

struct TQueriesFixture : ::testing::Test {
  TFakePlatformScope Fake;
  void SetUp() override { ResetSystemQueryCaches(); }
  void TearDown() override { ResetSystemQueryCaches(); }
  void AddKey(const std::string& path, bool view32 = false) {
    ASSERT_TRUE(Fake->Registry().CreateKey(TRootKey::LocalMachine, path, view32));
  }
  void SetText(const std::string& path, const std::string& name, const std::string& text,
               bool view32 = false) {
    TRegValue value;
    value.Type = TRegType::Sz;
    value.Text = text;
    ASSERT_TRUE(Fake->Registry().WriteValue(TRootKey::LocalMachine, path, name, value, view32));
  }
};

// ---- GetSpecialFolder and its fall-backs ----------------------------------------------------

struct TFolderCase {
  const char* Name;
  TFolderKind Kind;
  std::string Shell;  // the platform's answer
  std::optional<std::pair<std::string, std::string>>
      Variable;  // set; the kind's variables are unset otherwise
  bool Is64;
  TWindowsVersion Version;
  std::string Expected;
  std::string SystemFolder{"C:\\Windows\\system32"};
  friend void PrintTo(const TFolderCase& c, std::ostream* os) { *os << c.Name; }
};

class TSpecialFolderTest : public TQueriesFixture, public ::testing::WithParamInterface<TFolderCase> {};

TEST_P(TSpecialFolderTest, FallsBackByKind) {
  const TFolderCase& c = GetParam();
  Fake->FakeFolders().SetFolder(c.Kind, c.Shell);
  Fake->FakeFolders().SetFolder(TFolderKind::System, c.SystemFolder);
  for (const char* name : {"APPDATA", "ProgramFiles", "ProgramFiles(x86)", "USERPROFILE"})
    Fake->Env().Unset(name);
  if (c.Variable) Fake->Env().Set(c.Variable->first, c.Variable->second);
  Fake->FakeSystem().Set64BitSystem(c.Is64);
  Fake->FakeSystem().SetVersion(c.Version);
  EXPECT_EQ(GetSpecialFolder(c.Kind), c.Expected);
}

using TVar = std::pair<std::string, std::string>;
const TWindowsVersion kWin7{6, 1, 7601}, kXp{5, 1, 2600}, kWin10{10, 0, 19045};
INSTANTIATE_TEST_SUITE_P(
    Cases, TSpecialFolderTest,
    ::testing::Values(TFolderCase{"ShellAnswerWins", TFolderKind::ProgramFiles, "C:\\PF",
                                  TVar{"ProgramFiles(x86)", "D:\\X"}, true, kWin10, "C:\\PF"},
                      TFolderCase{"ProgramFiles64BitDriveFallback", TFolderKind::ProgramFiles, "",
                                  std::nullopt, true, kWin10, "C:\\Program Files (x86)"},
                      TFolderCase{"ProgramFiles32BitDriveFallback", TFolderKind::ProgramFiles, "",
                                  std::nullopt, false, kWin7, "C:\\Program Files"},
                      TFolderCase{"ProgramFilesXpSameAsNewer", TFolderKind::ProgramFiles, "", std::nullopt,
                                  true, kXp, "C:\\Program Files (x86)"},
                      TFolderCase{"TwoCharacterAnswerFallsBackToTrimmedVariable", TFolderKind::ProgramFiles,
                                  "C:", TVar{"ProgramFiles(x86)", "  D:\\PF86 \t"}, true, kWin10, "D:\\PF86"},
                      TFolderCase{"On64BitOnlyTheX86VariableCounts", TFolderKind::ProgramFiles, "",
                                  TVar{"ProgramFiles", "E:\\PF"}, true, kWin10, "C:\\Program Files (x86)"},
                      TFolderCase{"On32BitTheProgramFilesVariable", TFolderKind::ProgramFiles, "",
                                  TVar{"ProgramFiles", "E:\\PF"}, false, kWin10, "E:\\PF"},
                      TFolderCase{"BlankVariableCountsAsUnset", TFolderKind::AppData, "",
                                  TVar{"APPDATA", "   "}, true, kWin7,
                                  "C:\\Users\\TestUser\\AppData\\Roaming"},
                      TFolderCase{"AppDataXp", TFolderKind::AppData, "", std::nullopt, true, kXp,
                                  "C:\\Documents and Settings\\TestUser\\Application Data"},
                      TFolderCase{"AppDataVariable", TFolderKind::AppData, "", TVar{"APPDATA", "F:\\Roam"},
                                  true, kWin10, "F:\\Roam"},
                      TFolderCase{"ProfileWindows10", TFolderKind::Profile, "", std::nullopt, true, kWin10,
                                  "C:\\Users\\TestUser"},
                      TFolderCase{"ProfileXp", TFolderKind::Profile, "", std::nullopt, true, kXp,
                                  "C:\\Documents and Settings\\TestUser"},
                      TFolderCase{"DriveOfTheSystemFolder", TFolderKind::Profile, "", std::nullopt, true,
                                  kWin10, "D:\\Users\\TestUser", "D:\\WINNT\\system32"},
                      TFolderCase{"OtherKindsHaveNoFallback", TFolderKind::Desktop, "",
                                  TVar{"USERPROFILE", "C:\\U"}, true, kWin10, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- small queries ----------------------------------------------------------------------------

TEST_F(TQueriesFixture, TextQueriesAreCutTo254CharactersAndTempEndsWithSeparator) {
  Fake->FakeSystem().SetUserLogonName(std::string(300, 'u'));
  EXPECT_EQ(GetUserLogonName(), std::string(254, 'u'));
  Fake->FakeFolders().SetFolder(TFolderKind::Temp, "C:\\Temp");
  EXPECT_EQ(GetTempFolder(), "C:\\Temp\\");
  Fake->FakeFolders().SetFolder(TFolderKind::Temp, "C:\\Temp\\");
  EXPECT_EQ(GetTempFolder(), "C:\\Temp\\");
  EXPECT_EQ(GetSystemFolder(), "C:\\Windows\\system32");
}

TEST_F(TQueriesFixture, NewGuidStringIsRegistryFormInByteOrder) {
  EXPECT_EQ(NewGuidString(), "{00000000-0000-4000-8000-000000000001}");
  EXPECT_THAT(NewGuidString(),
              ::testing::MatchesRegex("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[0-9A-F]{4}-[0-9A-F]{12}\\}"));
  Fake->FakeSystem().SetGuidFails(true);
  EXPECT_EQ(NewGuidString(), "");
}

TEST_F(TQueriesFixture, CachedAnswersStayUntilReset) {
  Fake->FakeSystem().Set64BitSystem(true);
  Fake->FakeSystem().SetTrueVersion({10, 0, 19045});
  EXPECT_TRUE(IsWindows64());
  EXPECT_EQ(GetTrueWindowsVersion().Build, 19045);
  Fake->FakeSystem().Set64BitSystem(false);
  Fake->FakeSystem().SetTrueVersion({6, 1, 7601});
  EXPECT_TRUE(IsWindows64());
  EXPECT_EQ(GetTrueWindowsVersion().Build, 19045);
  ResetSystemQueryCaches();
  EXPECT_FALSE(IsWindows64());
  EXPECT_EQ(GetTrueWindowsVersion().Major, 6);
}

TEST_F(TQueriesFixture, FilesSizeDescendsOnlyIntoPlainFolders) {
  TFakeFileSystem& files = Fake->FakeFiles();
  files.AddFile("C:\\d\\a.txt", std::string(10, 'a'));
  files.AddFile("C:\\d\\b.bin", std::string(20, 'b'));
  files.AddFile("C:\\d\\sub\\deeper\\c.txt", std::string(5, 'c'));
  files.AddFile("C:\\d\\.git\\x", std::string(7, 'x'));    // a name starting with '.'
  files.AddFile("C:\\d\\hidden\\y", std::string(9, 'y'));  // a folder with more than the directory bit
  files.SetRawAttributes("C:\\d\\hidden", faDirectory | faHidden);
  const std::pair<std::string, int64_t> cases[] = {
      {"C:\\d\\*.*", 35},   {"C:\\d\\*", 35},       {"C:\\d\\a.txt", 10},
      {"C:\\d\\*.txt", 10}, {"C:\\d\\sub\\*.*", 5}, {"C:\\missing\\*.*", 0},
  };
  for (const auto& [pattern, size] : cases) EXPECT_EQ(GetFilesSize(pattern), size) << pattern;
}

TEST(FilesSizeOnLinux, FolderLoopEnds) {
  const std::string root = std::filesystem::temp_directory_path() / ("qvb-size-" + std::to_string(getpid()));
  std::filesystem::create_directories(root);
  {
    std::FILE* f = std::fopen((root + "/f").c_str(), "w");
    std::fputs("12345", f);
    std::fclose(f);
  }
  ASSERT_EQ(symlink(root.c_str(), (root + "/loop").c_str()), 0);
  const int64_t size = GetFilesSize(root + "/*.*");
  EXPECT_GE(size, 5);
  EXPECT_EQ(size % 5, 0);
  std::filesystem::remove_all(root);
}

// ---- ShellOpen --------------------------------------------------------------------------------

const std::string kUrl = "https://example.test/support";
const std::string kIePath = "C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe";
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct TShellCase {
  const char* Name;
  std::vector<int> ShellResults;
  std::vector<std::string> Opened;  // Executable of each shell request
  int Result;
  friend void PrintTo(const TShellCase& c, std::ostream* os) { *os << c.Name; }
};

class TShellOpenTest : public TQueriesFixture, public ::testing::WithParamInterface<TShellCase> {};

TEST_P(TShellOpenTest, RetriesWithInternetExplorerOnFailureExceptDde) {
  const TShellCase& c = GetParam();
  Fake->FakeFiles().AddFile(kIePath, "MZ");
  Fake->FakeProcesses().QueueShellResults(c.ShellResults);
  EXPECT_EQ(ShellOpen(kUrl, 1, nullptr, "", "", "open"), c.Result);
  const auto& opens = Fake->FakeProcesses().ShellOpens();
  ASSERT_EQ(opens.size(), c.Opened.size());
  for (size_t i = 0; i < opens.size(); ++i) {
    EXPECT_EQ(opens[i].Executable, c.Opened[i]);
    EXPECT_EQ(opens[i].Verb, "open");
    EXPECT_EQ(opens[i].ShowCommand, 1);
  }
  if (opens.size() == 2) {
    EXPECT_EQ(opens[1].Parameters, kUrl);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TShellOpenTest,
                         ::testing::Values(TShellCase{"Success", {42}, {kUrl}, 42},
                                           TShellCase{"NoAssociation", {31, 42}, {kUrl, kIePath}, 42},
                                           TShellCase{"FileNotFound", {2, 33}, {kUrl, kIePath}, 33},
                                           TShellCase{"BothFail", {31, 2}, {kUrl, kIePath}, 2},
                                           TShellCase{"DdeFailureIsNotRetried", {29}, {kUrl}, 29},
                                           TShellCase{"ThirtyThreeIsSuccess", {33}, {kUrl}, 33}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TQueriesFixture, BlockingSecurityProductNeedsWindows10Build10586AndOneOfItsKeys) {
  struct {
    TWindowsVersion Version;
    const char* Product;
    bool Blocking;
  } cases[] = {
      {{10, 0, 10586}, "MPC", true},
      {{10, 0, 19045}, "iSafe", true},
      {{10, 0, 19045}, "360TotalSecurity", true},
      {{10, 0, 19045}, "MPC AdCleaner", true},
      {{10, 0, 10240}, "MPC", false},
      {{6, 3, 10586}, "MPC", false},
      {{10, 0, 19045}, nullptr, false},
      {{10, 0, 19045}, "Other", false},
  };
  for (const auto& c : cases) {
    TFakePlatformScope fresh;
    ResetSystemQueryCaches();
    fresh->FakeSystem().SetTrueVersion(c.Version);
    fresh->FakeSystem().SetReportedVersion({6, 2, 9200});  // the true version decides, not this one
    if (c.Product) {
      ASSERT_TRUE(fresh->Registry().CreateKey(TRootKey::LocalMachine, kUninstall + c.Product));
    }
    EXPECT_EQ(IsBlockingSecurityProduct(), c.Blocking)
        << (c.Product ? c.Product : "none") << " " << c.Version.Build;
  }
}

TEST_F(TQueriesFixture, BlockingSecurityProductSendsTheLinkStraightToInternetExplorer) {
  AddKey(kUninstall + "360TotalSecurity");
  EXPECT_EQ(ShellOpen(kUrl, 1, nullptr, "C:\\Work", "", "open"), 42);
  const auto& opens = Fake->FakeProcesses().ShellOpens();
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].Executable, "IExplore.EXE");
  EXPECT_EQ(opens[0].Parameters, kUrl);
  EXPECT_EQ(opens[0].Folder, "C:\\Work");
}

TEST_F(TQueriesFixture, InternetExplorerPathFallsBackToAppPathsThenToTheBuiltPath) {
  EXPECT_EQ(GetInternetExplorerPath(), kIePath);  // neither exists
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
  AddKey(appPaths);
  EXPECT_EQ(GetInternetExplorerPath(), "");  // the key opens, its default value is absent
  SetText(appPaths, "", "D:\\IE\\iexplore.exe");
  EXPECT_EQ(GetInternetExplorerPath(), "D:\\IE\\iexplore.exe");
  Fake->FakeFiles().AddFile(kIePath, "MZ");
  EXPECT_EQ(GetInternetExplorerPath(), kIePath);
}

// ---- flagship product -------------------------------------------------------------------------

const std::string kFlagshipKey = kUninstall + "Quillmark Care_is1";

TEST_F(TQueriesFixture, FlagshipInstallFolderComesFromThe32BitUninstallEntry) {
  EXPECT_EQ(GetFlagshipInstallFolder(), "C:\\Program Files (x86)\\Kelvra\\Quillmark Care\\");
  SetText(kFlagshipKey, "InstallLocation", "D:\\Native");  // the 64-bit view is not read
  EXPECT_EQ(GetFlagshipInstallFolder(), "C:\\Program Files (x86)\\Kelvra\\Quillmark Care\\");
  SetText(kFlagshipKey, "InstallLocation", "", true);
  EXPECT_EQ(GetFlagshipInstallFolder(), "C:\\Program Files (x86)\\Kelvra\\Quillmark Care\\");
  SetText(kFlagshipKey, "InstallLocation", "D:\\QC", true);
  EXPECT_EQ(GetFlagshipInstallFolder(), "D:\\QC\\");
  SetText(kFlagshipKey, "InstallLocation", "D:\\QC\\", true);
  EXPECT_EQ(GetFlagshipInstallFolder(), "D:\\QC\\");
  Fake->FakeSystem().SetVersion({5, 0, 2195});  // Windows 2000 has one view only
  EXPECT_EQ(GetFlagshipInstallFolder(), "D:\\Native\\");
}

TEST_F(TQueriesFixture, FlagshipBetaIsReadOnceButLookedForUntilTheFileExists) {
  const std::string ini = "C:\\Program Files (x86)\\Kelvra\\Quillmark Care\\Update\\Update.ini";
  const std::string regular = "C:\\Users\\TestUser\\AppData\\Roaming\\Kelvra\\Quillmark Care\\";
  EXPECT_FALSE(IsFlagshipBeta());
  EXPECT_EQ(GetFlagshipDataFolder(), regular);
  Fake->FakeFiles().AddFile(ini, "[Beta]\r\nver14=1\r\n", faReadOnly);
  EXPECT_TRUE(IsFlagshipBeta());
  EXPECT_EQ(GetFlagshipDataFolder(), "C:\\Users\\TestUser\\AppData\\Roaming\\Kelvra\\Quillmark Care Beta\\");
  EXPECT_EQ(Fake->Files().GetAttributes(ini) & faReadOnly, uint32_t(faReadOnly));  // only looked at
  Fake->FakeFiles().SetRawAttributes(ini, faArchive);
  ASSERT_EQ(Fake->Files().WriteAtomic(ini, "[Beta]\r\nver14=0\r\n"), 0);
  EXPECT_TRUE(IsFlagshipBeta());  // cached
  ResetSystemQueryCaches();
  EXPECT_FALSE(IsFlagshipBeta());
  ASSERT_EQ(Fake->Files().WriteAtomic(ini, "[Beta]\r\nver14=1\r\n"), 0);
  EXPECT_FALSE(IsFlagshipBeta());  // the 0 read before is cached
}

TEST_F(TQueriesFixture, FlagshipBetaNeedsExactlyOne) {
  const std::string ini = "C:\\Program Files (x86)\\Kelvra\\Quillmark Care\\Update\\Update.ini";
  for (const auto& [text, beta] : std::vector<std::pair<std::string, bool>>{{"[Beta]\r\nver14=2\r\n", false},
                                                                            {"[Beta]\r\nver14=x\r\n", false},
                                                                            {"[Other]\r\nver14=1\r\n", false},
                                                                            {"[beta]\r\nVER14 = 1\r\n", true},
                                                                            {"", false}}) {
    ResetSystemQueryCaches();
    Fake->FakeFiles().AddFile(ini, text);
    EXPECT_EQ(IsFlagshipBeta(), beta) << text;
  }
}

}  // namespace
