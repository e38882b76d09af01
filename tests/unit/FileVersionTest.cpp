#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "support/FileVersion.h"
#include "support/SystemQueries.h"
#include "tests/unit/PeImageBuilder.h"

namespace {

struct TVersionCase {
  const char* Name;
  TPeFixture Image;
  std::string Text;     // expected FileVersion text, "-" for none
  std::string Numbers;  // expected fixed numbers, "-" for none
  friend void PrintTo(const TVersionCase& c, std::ostream* os) { *os << c.Name; }
};

TPeFixture With(void (*change)(TPeFixture&)) {
  TPeFixture f;
  change(f);
  return f;
}

std::string TextOf(const TPeVersionInfo& info) {
  return info.HasFileVersionText ? info.FileVersionText : "-";
}
std::string NumbersOf(const TPeVersionInfo& info) {
  if (!info.HasFixed) return "-";
  return std::to_string(info.Major) + "." + std::to_string(info.Minor) + "." + std::to_string(info.Release) +
         "." + std::to_string(info.Build);
}

class TVersionResourceTest : public ::testing::TestWithParam<TVersionCase> {};

TEST_P(TVersionResourceTest, ReadsTextAndNumbers) {
  const TVersionCase& c = GetParam();
  TPeVersionInfo info;
  ReadPeVersionInfo(BuildPeImage(c.Image), info);
  EXPECT_EQ(TextOf(info), c.Text);
  EXPECT_EQ(NumbersOf(info), c.Numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TVersionResourceTest,
    ::testing::Values(
        // Text and numbers differ, so that one is never taken for the other.
        TVersionCase{"Pe32", TPeFixture{}, "1.2.3.4", "5.6.7.8"},
        TVersionCase{"Pe32Plus", With([](TPeFixture& f) { f.Pe32Plus = true; }), "1.2.3.4", "5.6.7.8"},
        TVersionCase{"SixteenBitNumbers", With([](TPeFixture& f) {
                       f.Version[0] = 65535, f.Version[1] = 256, f.Version[2] = 300, f.Version[3] = 1;
                     }),
                     "1.2.3.4", "65535.256.300.1"},
        TVersionCase{"FirstTranslationPicksTheTable", With([](TPeFixture& f) {
                       f.Translations = {{0x0407, 0x04E4}, {0x0409, 0x04B0}};
                       f.StringTables = {{"040904b0", "en"}, {"040704e4", "de"}};
                     }),
                     "de", "5.6.7.8"},
        TVersionCase{"TableKeyInUpperCase", With([](TPeFixture& f) {
                       f.StringTables = {{"040904B0", "9.9"}};
                     }),
                     "9.9", "5.6.7.8"},
        TVersionCase{"MissingTableFallsBackToTheFirst", With([](TPeFixture& f) {
                       f.Translations = {{0x0419, 0x04E3}};
                       f.StringTables = {{"040904b0", "first"}, {"040704b0", "second"}};
                     }),
                     "first", "5.6.7.8"},
        TVersionCase{"NoTranslationTable", With([](TPeFixture& f) { f.WithVarFileInfo = false; }), "-",
                     "5.6.7.8"},
        TVersionCase{"NoFileVersionString", With([](TPeFixture& f) {
                       f.StringTables = {{"040904b0", ""}};
                     }),
                     "-", "5.6.7.8"},
        TVersionCase{"NoFixedBlock", With([](TPeFixture& f) { f.WithFixed = false; }), "1.2.3.4", "-"},
        TVersionCase{"NoVersionResource", With([](TPeFixture& f) { f.WithVersionResource = false; }), "-",
                     "-"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(VersionResourceDamage, TruncatedOrCorruptedImagesNeverReadOutOfBounds) {
  const std::string image = BuildPeImage(TPeFixture{});
  // Every prefix: either nothing or the right answer (the padding at the end is not needed).
  for (size_t n = 0; n < image.size(); ++n) {
    TPeVersionInfo info;
    if (ReadPeVersionInfo(image.substr(0, n), info)) {
      EXPECT_EQ(TextOf(info), "1.2.3.4") << n;
      EXPECT_EQ(NumbersOf(info), "5.6.7.8") << n;
    }
  }
  // Random bytes changed anywhere; the sanitizers catch any read outside the buffer.
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    std::string damaged = image;
    for (int k = 0; k < 4; ++k) damaged[random() % damaged.size()] = char(random());
    TPeVersionInfo info;
    ReadPeVersionInfo(damaged, info);
  }
}

TEST(VersionResourceDamage, NonPeInputsGiveNothing) {
  std::string elf =
      "\x7F"
      "ELF";
  elf.resize(512, '\0');
  std::string bigOffset(64, '\0');
  bigOffset[0] = 'M', bigOffset[1] = 'Z', bigOffset[0x3C] = char(0xFF), bigOffset[0x3F] = char(0x7F);
  for (const std::string& bytes :
       {std::string(), std::string("MZ"), std::string("plain text\r\n"), elf, bigOffset}) {
    TPeVersionInfo info;
    EXPECT_FALSE(ReadPeVersionInfo(bytes, info));
  }
}

// The file queries, on the Linux file system.
class TFileVersionFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = std::filesystem::temp_directory_path() / ("qvb-version-" + std::to_string(getpid()));
    std::filesystem::create_directories(FRoot);
  }
  void TearDown() override { std::filesystem::remove_all(FRoot); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const auto path = FRoot / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::filesystem::path FRoot;
};

TEST_F(TFileVersionFiles, QueriesGiveTheDefaultForAnythingWithoutAVersion) {
  const std::string good = Write("good.exe", BuildPeImage(TPeFixture{}));
  EXPECT_EQ(GetFileVersionText(good, "d"), "1.2.3.4");
  EXPECT_EQ(GetFileVersionNumbers(good, "1.0.0.0"), "5.6.7.8");
  const std::string noFixed =
      Write("nofixed.exe", BuildPeImage(With([](TPeFixture& f) { f.WithFixed = false; })));
  EXPECT_EQ(GetFileVersionNumbers(noFixed, "1.0.0.0"), "1.0.0.0");
  const std::string image = BuildPeImage(TPeFixture{});
  for (const std::string& path : {Write("empty", ""), Write("text.txt", "hello"),
                                  Write("cut.exe", image.substr(0, image.size() / 2 + 100)),
                                  (FRoot / "missing.exe").string(), FRoot.string()}) {
    EXPECT_EQ(GetFileVersionText(path, "d"), "d") << path;
    EXPECT_EQ(GetFileVersionNumbers(path, "1.0.0.0"), "1.0.0.0") << path;
  }
}

TEST(BrowserFileVersion, EmptyPathMeansTheBrowserBesideTheInstallerAndTheCacheKeepsTheFirstAnswer) {
  TFakePlatformScope fake;
  ResetSystemQueryCaches();
  const std::string besideInstaller = "C:\\Users\\TestUser\\Downloads\\QuenvoVPNBrowser.exe";
  EXPECT_EQ(GetBrowserFileVersion("", "1.0.0.0", true), "1.0.0.0");  // missing: the default is the answer
  ResetSystemQueryCaches();
  fake->FakeFiles().AddFile(besideInstaller, BuildPeImage(TPeFixture{}));
  EXPECT_EQ(GetBrowserFileVersion("", "1.0.0.0", true), "1.2.3.4");
  fake->FakeFiles().AddFile(besideInstaller, BuildPeImage(With([](TPeFixture& f) {
                              f.StringTables = {{"040904b0", "2.0"}};
                            })));
  EXPECT_EQ(GetBrowserFileVersion("", "1.0.0.0", true), "1.2.3.4");
  EXPECT_EQ(GetBrowserFileVersion("", "1.0.0.0", false), "2.0");
  EXPECT_EQ(GetBrowserFileVersion("C:\\none.exe", "", false), "");
  ResetSystemQueryCaches();
  EXPECT_EQ(GetBrowserFileVersion("C:\\none.exe", "", true), "");  // an empty answer is not kept
  EXPECT_EQ(GetBrowserFileVersion("", "1.0.0.0", true), "2.0");
  ResetSystemQueryCaches();
}

}  // namespace
