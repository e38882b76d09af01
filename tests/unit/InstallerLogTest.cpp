#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/TextCodec.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeSpecialFolders.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/InstallerLog.h"

namespace {

const std::string kLog = "QMRInstaller_Downloader.log";
const std::string kBom = "\xFF\xFE";

std::string U16(const std::string& utf8) {
  return EncodeUtf16Le(utf8, false);
}

// The Linux platform in a throw-away machine root, with a manual clock.
class TLogPlatform : public TLinuxPlatform {
 public:
  TLogPlatform() {
    auto clock = std::make_unique<TManualClock>();
    Manual = clock.get();
    FClock = std::move(clock);
  }
  TManualClock* Manual{nullptr};
};

class TLinuxLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = std::filesystem::temp_directory_path() / ("qvb-log-" + std::to_string(getpid()));
    std::filesystem::create_directories(FRoot);
    const char* old = getenv("QVB_SYSROOT");
    FOldRoot = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("QVB_SYSROOT", FRoot.c_str(), 1);
    auto platform = std::make_unique<TLogPlatform>();
    Clock = platform->Manual;
    FPrevious = TPlatform::Install(std::move(platform));
  }
  void TearDown() override {
    TPlatform::Install(std::move(FPrevious));
    if (FOldRoot)
      setenv("QVB_SYSROOT", FOldRoot->c_str(), 1);
    else
      unsetenv("QVB_SYSROOT");
    std::filesystem::remove_all(FRoot);
  }
  std::string LogPath() const { return (FRoot / "var/lib/Kelvra/QMRDownloader" / kLog).string(); }
  std::string LogBytes() const {
    std::ifstream in(LogPath(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  TManualClock* Clock{nullptr};
  std::filesystem::path FRoot;
  std::optional<std::string> FOldRoot;
  std::unique_ptr<TPlatform> FPrevious;
};

TEST_F(TLinuxLogTest, LinesAreByteExactWithOneByteOrderMark) {
  EXPECT_EQ(InstallerLogFolder(), FRoot.string() + "/var/lib/Kelvra/QMRDownloader/");
  WriteInstallerLog("Start", kLog);  // the manual clock stands at 2021-12-23 09:05:07.042
  Clock->SetLocalTime({2022, 1, 2, 3, 4, 5, 6});
  WriteInstallerLog("=", kLog);
  WriteInstallerLog("", kLog);
  WriteInstallerLog("Größe 5 €", kLog);
  EXPECT_EQ(LogBytes(), kBom + U16("2021-12-23 09:05:07 042 Start\r\n") + U16(std::string(31, '=') + "\r\n") +
                            U16("\r\n") + U16("2022-01-02 03:04:05 006 Größe 5 €\r\n"));
}

TEST_F(TLinuxLogTest, LineBreaksInsideAMessageBecomeLinesOfTheFile) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
      {"tail\n", "tail\r\n\r\n"},
      {"\n\r", "\r\n\r\n\r\n"},
  };
  for (const auto& [message, lines] : cases) {
    std::filesystem::remove(LogPath());
    WriteInstallerLog(message, kLog);
    EXPECT_EQ(LogBytes(), kBom + U16("2021-12-23 09:05:07 042 " + lines)) << message;
  }
}

TEST_F(TLinuxLogTest, ReadOnlyLogIsLeftUnchanged) {
  WriteInstallerLog("first", kLog);
  const std::string before = LogBytes();
  ASSERT_EQ(TPlatform::Current().Files().SetAttributes(LogPath(), faReadOnly), 0);
  WriteInstallerLog("second", kLog);  // even for root, who could write it
  EXPECT_EQ(LogBytes(), before);
  chmod(LogPath().c_str(), 0644);
}

TEST_F(TLinuxLogTest, AnEmptyFileGetsTheMarkAndAnUnfinishedLastLineItsLineEnd) {
  std::filesystem::create_directories(std::filesystem::path(LogPath()).parent_path());
  std::ofstream(LogPath(), std::ios::binary) << "";
  WriteInstallerLog("x", kLog);
  EXPECT_EQ(LogBytes(), kBom + U16("2021-12-23 09:05:07 042 x\r\n"));
  std::ofstream(LogPath(), std::ios::binary) << kBom + U16("cut short");
  WriteInstallerLog("y", kLog);
  EXPECT_EQ(LogBytes(), kBom + U16("cut short\r\n2021-12-23 09:05:07 042 y\r\n"));
}

TEST_F(TLinuxLogTest, FilesInTheWayAreSwallowed) {
  std::filesystem::create_directories(FRoot / "var/lib/Kelvra");
  std::ofstream(FRoot / "var/lib/Kelvra/QMRDownloader") << "a file, not a folder";
  WriteInstallerLog("lost", kLog);  // returns normally
  EXPECT_TRUE(std::filesystem::is_regular_file(FRoot / "var/lib/Kelvra/QMRDownloader"));
  std::filesystem::remove(FRoot / "var/lib/Kelvra/QMRDownloader");
  std::filesystem::create_directories(LogPath());
  WriteInstallerLog("lost", kLog);  // the log's name is a folder
  EXPECT_TRUE(std::filesystem::is_directory(LogPath()));
}

// The Windows layout, on the fake platform.
TEST(FakeLog, FirstCallCreatesTheFolderWithItsParents) {
  TFakePlatformScope fake;
  WriteInstallerLog("Start", kLog);
  std::string bytes;
  ASSERT_EQ(fake->Files().ReadAll("C:\\ProgramData\\Kelvra\\QMRDownloader\\" + kLog, bytes), 0);
  EXPECT_EQ(bytes, kBom + U16("2021-12-23 09:05:07 042 Start\r\n"));
}

TEST(FakeLog, NoMachineFolderWritesNothing) {
  TFakePlatformScope fake;
  fake->FakeFolders().SetFolder(TFolderKind::CommonAppData, "");  // and C:\ProgramData does not exist
  EXPECT_EQ(InstallerLogFolder(), "");
  WriteInstallerLog("Start", kLog);
  EXPECT_TRUE(fake->Files().List("C:\\*").empty());  // no "\Kelvra" at the root of the drive
}

}  // namespace
