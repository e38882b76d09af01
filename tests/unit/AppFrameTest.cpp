#include <gtest/gtest.h>

#include <optional>

#include "platform/RegistryStore.h"
#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeSpecialFolders.h"
#include "platform/fake/FakeSystemInfo.h"
#include "support/AppFrame.h"
#include "support/SystemQueries.h"

namespace {

const char* const kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct TAppFrameFixture : ::testing::Test {
  TFakePlatformScope Fake;
  void SetUp() override { ResetSystemQueryCaches(); }
  void TearDown() override { ResetSystemQueryCaches(); }
  void MakeFolder(const std::string& path) { ASSERT_EQ(Fake->Files().ForceFolders(path), 0); }
  void WriteShellFolder(TRootKey root, const std::string& name, const TRegValue& value) {
    ASSERT_TRUE(Fake->Registry().WriteValue(root, kShellFolders, name, value));
  }
};

TRegValue Text(const std::string& text) {
  TRegValue value;
  value.Type = TRegType::Sz;
  value.Text = text;
  return value;
}
TRegValue Dword(uint32_t number) {
  TRegValue value;
  value.Type = TRegType::Dword;
  value.Dword = number;
  return value;
}

TEST_F(TAppFrameFixture, TakesPlatformFoldersWithoutTrailingSeparatorAndExeFolderWithOne) {
  Fake->FakeFolders().SetFolder(TFolderKind::CommonAppData, "C:\\ProgramData\\");
  Fake->FakeFolders().SetFolder(TFolderKind::ExeFolder, "C:\\Setup");
  const TAppFrame frame;
  // The platform's answer is taken as it is, whether or not the folder exists yet.
  EXPECT_EQ(frame.CommonAppDataPath(), "C:\\ProgramData");
  EXPECT_EQ(frame.AppDataPath(), "C:\\Users\\TestUser\\AppData\\Roaming");
  EXPECT_EQ(frame.AppPath(), "C:\\Setup\\");
}

// The fall-back search when the platform names no application-data folder.
struct TFallbackCase {
  const char* Name;
  bool MachineWide;
  TWindowsVersion Version;
  std::optional<TRegValue> ShellFolder;  // the "Shell Folders" value
  std::vector<std::string> Existing;     // folders that exist
  std::string Expected;
  friend void PrintTo(const TFallbackCase& c, std::ostream* os) { *os << c.Name; }
};

class TAppFrameFallback : public TAppFrameFixture, public ::testing::WithParamInterface<TFallbackCase> {};

TEST_P(TAppFrameFallback, FindsTheFirstFolderThatExists) {
  const TFallbackCase& c = GetParam();
  Fake->FakeFolders().SetFolder(c.MachineWide ? TFolderKind::CommonAppData : TFolderKind::AppData, "");
  Fake->FakeSystem().SetVersion(c.Version);
  Fake->FakeDrives().AddDrive("D:");
  if (c.ShellFolder)
    WriteShellFolder(c.MachineWide ? TRootKey::LocalMachine : TRootKey::CurrentUser,
                     c.MachineWide ? "Common AppData" : "AppData", *c.ShellFolder);
  for (const auto& folder : c.Existing) MakeFolder(folder);
  const TAppFrame frame;
  EXPECT_EQ(c.MachineWide ? frame.CommonAppDataPath() : frame.AppDataPath(), c.Expected);
}

// NOTE: the registry hives live in the fake's C:\ProgramData and the user's Roaming folder, so
// a case that writes a value also has that folder.
const TWindowsVersion kWin7{6, 1, 7601}, kXp{5, 1, 2600}, kWin10{10, 0, 19045};
INSTANTIATE_TEST_SUITE_P(
    Cases, TAppFrameFallback,
    ::testing::Values(
        TFallbackCase{
            "RegistryFolderThatExists", true, kWin7, Text("D:\\Shared\\"), {"D:\\Shared"}, "D:\\Shared"},
        TFallbackCase{
            "RegistryFolderMissingGivesDriveFolder", true, kWin7, Text("D:\\Gone"), {}, "C:\\ProgramData"},
        TFallbackCase{"RegistryValueNotTextGivesDriveFolder", true, kWin7, Dword(1), {}, "C:\\ProgramData"},
        TFallbackCase{"Windows7WithoutProgramDataIsEmpty", true, kWin7, std::nullopt, {}, ""},
        TFallbackCase{
            "Windows7ProgramData", true, kWin7, std::nullopt, {"C:\\ProgramData"}, "C:\\ProgramData"},
        TFallbackCase{"XpAllUsers",
                      true,
                      kXp,
                      std::nullopt,
                      {"C:\\ProgramData", "C:\\Documents and Settings\\All Users\\Application Data"},
                      "C:\\Documents and Settings\\All Users\\Application Data"},
        TFallbackCase{
            "UserRegistryFolder", false, kWin10, Text("D:\\Roaming"), {"D:\\Roaming"}, "D:\\Roaming"},
        TFallbackCase{"UserWindows10",
                      false,
                      kWin10,
                      std::nullopt,
                      {"C:\\Users\\TestUser\\AppData\\Roaming"},
                      "C:\\Users\\TestUser\\AppData\\Roaming"},
        TFallbackCase{"UserXp",
                      false,
                      kXp,
                      std::nullopt,
                      {"C:\\Documents and Settings\\TestUser\\Application Data"},
                      "C:\\Documents and Settings\\TestUser\\Application Data"},
        TFallbackCase{"UserNothingExists", false, kWin10, std::nullopt, {}, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TAppFrameFixture, FallbackPrefersThePlatformFolderOnlyWhenItExists) {
  WriteShellFolder(TRootKey::LocalMachine, "Common AppData", Text("C:\\ProgramData"));
  Fake->FakeFolders().SetFolder(TFolderKind::CommonAppData, "C:\\Elsewhere");
  EXPECT_EQ(TAppFrame::FallbackAppDataFolder(true), "C:\\ProgramData");
  MakeFolder("C:\\Elsewhere");
  EXPECT_EQ(TAppFrame::FallbackAppDataFolder(true), "C:\\Elsewhere");
}

TEST_F(TAppFrameFixture, NativeProgramFilesDropsX86SuffixInAnyLetterCase) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Program Files (x86)", "C:\\Program Files"},  // 32-bit installer on 64-bit Windows
      {"D:\\APPS (X86)", "D:\\APPS"},
      {"C:\\Program Files", "C:\\Program Files"},  // 32-bit Windows
      {"C:\\Program Files (x86)\\", "C:\\Program Files (x86)\\"},
      {"", ""},
  };
  for (const auto& [folder, expected] : cases) {
    Fake->FakeFolders().SetFolder(TFolderKind::ProgramFiles, folder);
    EXPECT_EQ(TAppFrame().NativeProgramFilesFolder(), expected) << folder;
  }
}

TEST_F(TAppFrameFixture, FolderQueriesDoNotCreateFolders) {
  const TAppFrame frame;
  EXPECT_EQ(frame.CommonAppDataFolder(), "C:\\ProgramData");
  EXPECT_EQ(frame.DesktopFolder(), "C:\\Users\\TestUser\\Desktop");
  EXPECT_FALSE(Fake->Files().FolderExists("C:\\Users\\TestUser\\Desktop"));
  Fake->FakeFolders().SetFolder(TFolderKind::Desktop, "");
  EXPECT_EQ(frame.DesktopFolder(), "");
}

}  // namespace
