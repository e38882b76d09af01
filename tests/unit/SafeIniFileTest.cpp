#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/MemoryStream.h"
#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "support/SafeIniFile.h"
#include "tests/unit/TempFolderTest.h"

namespace fs = std::filesystem;

namespace {

std::string Utf16(const std::string& utf8) {
  return EncodeUtf16Le(utf8, false);
}

TSafeIniFile& LoadText(TSafeIniFile& ini, const std::string& bytes) {
  TMemoryStream stream(bytes);
  ini.LoadFromStream(stream);
  return ini;
}

std::string Saved(const TSafeIniFile& ini) {
  TMemoryStream stream;
  ini.SaveToStream(stream);
  return stream.Bytes();
}

// ---- parsing (stream form) ----

struct TParseCase {
  const char* Name;
  std::string Bytes;
  std::string Section, Key, Expected;  // Expected "<default>" when the key must not be found
};
void PrintTo(const TParseCase& c, std::ostream* os) { *os << c.Name; }

class SafeIniParse : public ::testing::TestWithParam<TParseCase> {};

TEST_P(SafeIniParse, FindsTheValue) {
  const TParseCase& c = GetParam();
  TSafeIniFile ini;
  LoadText(ini, c.Bytes);
  EXPECT_EQ(ini.ReadString(c.Section, c.Key, "<default>"), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeIniParse,
    ::testing::Values(
        TParseCase{"TrimsAndIgnoresCase", "  [ Sec ]  \r\n\t key \t=  value  \r\n", "sec", "KEY", "value"},
        TParseCase{"CommentsSkipped", "[s]\r\n;k=v\r\n  ; j=w\r\n", "s", ";k", "<default>"},
        TParseCase{"LinesBeforeFirstSectionDropped", "k=v\r\n[s]\r\n", "s", "k", "<default>"},
        TParseCase{"LaterDuplicateSectionWins", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "2"},
        TParseCase{"LaterDuplicateSectionHidesEarlierKeys", "[s]\r\nj=1\r\n[S]\r\nk=2\r\n", "s", "j",
                   "<default>"},
        TParseCase{"LaterDuplicateKeyWins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "2"},
        TParseCase{"LineWithoutEqualsMatchesNoKey", "[s]\r\nnoequals\r\n", "s", "noequals", "<default>"},
        TParseCase{"SplitAtFirstEquals", "[s]\r\na = b = c\r\n", "s", "a", "b = c"},
        TParseCase{"EmptyValue", "[s]\r\na=\r\n", "s", "a", ""},
        TParseCase{"CrOnlyLineEnds", "[s]\rk=1\rj=2", "s", "j", "2"},
        TParseCase{"LfOnlyLineEnds", "[s]\nk=1\nj=2\n", "s", "j", "2"},
        TParseCase{"Utf16LeWithMark", "\xFF\xFE" + Utf16("[s]\r\nk=\xC3\xA4\r\n"), "s", "k", "\xC3\xA4"},
        TParseCase{"Utf16BeWithMark", std::string("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0\xE4", 16), "s", "k",
                   "\xC3\xA4"},
        TParseCase{"Utf8WithMark", "\xEF\xBB\xBF[s]\nk=\xC3\xA4\n", "s", "k", "\xC3\xA4"},
        TParseCase{"AnsiWithoutMark", "[s]\nk=\xE4\x80\n", "s", "k", "\xC3\xA4\xE2\x82\xAC"},
        TParseCase{"NonAsciiSectionFolded", "\xEF\xBB\xBF[\xC3\x84rger]\nk=1\n", "\xC3\xA4RGER", "k", "1"},
        TParseCase{"BracketsNeedBothEnds", "[s]\r\n[broken\r\nk=1\r\n", "s", "k", "1"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SafeIniFile, ReadsOfSectionsAndLines) {
  TSafeIniFile ini;
  LoadText(ini, "[a]\r\nx=1\r\nplain\r\ny=2\r\n[b]\r\n[A]\r\nz=3\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"a", "b", "A"}));
  EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"z"}));  // the later "A"
  EXPECT_EQ(ini.ReadSection("b"), (std::vector<std::string>{}));
  LoadText(ini, "[a]\r\nx=1\r\nplain\r\ny=2\r\n");
  EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ini.ReadSectionValues("a"), (std::vector<std::string>{"x=1", "plain", "y=2"}));
  EXPECT_TRUE(ini.ValueExists("A", "Y"));
  EXPECT_FALSE(ini.ValueExists("a", "plain"));
  EXPECT_FALSE(ini.ValueExists("missing", "x"));
}

TEST(SafeIniFile, IntegersAndBooleans) {
  const struct {
    const char* Text;
    int Expected;
  } cases[] = {{"0x1F", 31},       {"0X1f", 31},
               {"12abc", -7},      {"12", 12},
               {"-5", -5},         {"+5", 5},
               {"0x", -7},         {"0xG1", -7},
               {"", -7},           {"2147483647", 2147483647},
               {"2147483648", -7}, {"-2147483648", -2147483647 - 1},
               {"0xFFFFFFFF", -1}, {"0x100000000", -7},
               {"1.5", -7},        {"x1", -7}};
  TSafeIniFile ini;
  for (const auto& c : cases) {
    ini.WriteString("n", "v", c.Text);
    EXPECT_EQ(ini.ReadInteger("n", "v", -7), c.Expected) << "'" << c.Text << "'";
  }
  EXPECT_EQ(ini.ReadInteger("n", "missing", 42), 42);

  const struct {
    const char* Text;
    bool Default, Expected;
  } bools[] = {
      {"1", false, true}, {"0", true, false}, {"2", false, true}, {"yes", true, true}, {"yes", false, false}};
  for (const auto& c : bools) {
    ini.WriteString("b", "v", c.Text);
    EXPECT_EQ(ini.ReadBool("b", "v", c.Default), c.Expected) << c.Text;
  }
  ini.WriteBool("b", "t", true);
  ini.WriteBool("b", "f", false);
  ini.WriteInteger("b", "i", -12);
  EXPECT_EQ(ini.ReadSectionValues("b"), (std::vector<std::string>{"v=yes", "t=1", "f=0", "i=-12"}));
}

// ---- writes and the section cache ----

TEST(SafeIniFile, WritesReplaceAndAppendLines) {
  TSafeIniFile ini;
  ini.WriteString("Option", "Key", "1");
  ini.WriteString("Option", "key", "2");  // same key, one line
  EXPECT_EQ(ini.CachedSection(), "Option");
  ini.WriteString("option", "other", " padded ");  // same section, found by lookup
  EXPECT_EQ(ini.CachedSection(), "option");
  EXPECT_EQ(ini.CachedIndex(), 0);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Option"}));
  EXPECT_EQ(ini.ReadSectionValues("OPTION"), (std::vector<std::string>{"key=2", "other= padded "}));

  TSafeIniFile reloaded;
  LoadText(reloaded, Saved(ini));
  EXPECT_EQ(reloaded.ReadString("option", "other", ""), "padded");
}

TEST(SafeIniFile, CacheNeverPointsAtAnotherSection) {
  TSafeIniFile ini;
  ini.WriteString("a", "k", "1");
  ini.WriteString("b", "k", "2");
  ini.EraseSection("a");  // "b" moves to index 0
  EXPECT_EQ(ini.CachedIndex(), -1);
  EXPECT_EQ(ini.CachedSection(), "");
  ini.WriteString("b", "k", "3");
  EXPECT_EQ(ini.ReadSectionValues("b"), (std::vector<std::string>{"k=3"}));

  LoadText(ini, "[x]\r\n[y]\r\n");  // a new content replaces the cached one
  ini.WriteString("b", "k", "4");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"x", "y", "b"}));
  EXPECT_EQ(ini.ReadString("b", "k", ""), "4");
}

TEST(SafeIniFile, ModifiedFollowsRealChanges) {
  TSafeIniFile ini;
  LoadText(ini, "[s]\r\nk=1\r\n");
  ini.SetModified(false);
  ini.DeleteKey("s", "missing");
  ini.DeleteKey("missing", "k");
  ini.EraseSection("missing");
  EXPECT_FALSE(ini.Modified());
  ini.DeleteKey("S", "K");
  EXPECT_TRUE(ini.Modified());
  EXPECT_FALSE(ini.ValueExists("s", "k"));
  ini.SetModified(false);
  ini.EraseSection("s");
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ini.ReadSections().size(), 0u);
}

TEST(SafeIniFile, SavedFormIsByteExact) {
  TSafeIniFile ini;
  ini.WriteString("s1", "k", "v");
  ini.WriteString("S2", "a", "1");
  ini.WriteString("S2", "b", "\xC3\xA4");
  ini.WriteString("empty", "x", "");
  ini.DeleteKey("empty", "x");
  // FF FE, then every character as two bytes, low byte first; CR LF after every line and an
  // empty line after every section.
  std::string expected = "\xFF\xFE";
  for (char c : std::string("[s1]\r\nk=v\r\n\r\n[S2]\r\na=1\r\nb=")) expected += {c, '\0'};
  expected += "\xE4";
  expected += '\0';
  for (char c : std::string("\r\n\r\n[empty]\r\n\r\n")) expected += {c, '\0'};
  EXPECT_EQ(Saved(ini), expected);

  TMemoryStream stream(std::string(5000, 'x'));  // a longer old content is replaced entirely
  stream.Seek(100, TSeekOrigin::Begin);
  ini.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(), expected);

  TSafeIniFile empty;
  EXPECT_EQ(Saved(empty), "\xFF\xFE");
}

TEST(SafeIniFile, StreamLoadReadsFromTheStartAndSurvivesRoundTrips) {
  TMemoryStream stream("[s]\r\nk=v\r\n");
  stream.Seek(0, TSeekOrigin::End);
  TSafeIniFile ini;
  ini.LoadFromStream(stream);
  EXPECT_EQ(ini.ReadString("s", "k", ""), "v");
  const std::string once = Saved(ini);
  TSafeIniFile again;
  LoadText(again, once);
  EXPECT_EQ(Saved(again), once);
}

// ---- files ----

// Windows-style paths on the fake platform: '\' folders, drive letters, ".\" for a bare name.
TEST(SafeIniFileOnFake, WindowsPaths) {
  TFakePlatformScope fake;
  TFakeFileSystem& files = fake->FakeFiles();
  files.AddDrive("D:");
  files.ForceFolders("D:\\Work");
  files.SetCurrentFolder("D:\\Work");
  {
    TSafeIniFile ini("D:\\Games\\Quenvo\\settings.ini", TTextEncoding::Utf16Le);
    EXPECT_EQ(ini.LastError(), 0);
  }
  std::string bytes;
  EXPECT_EQ(files.ReadAll("d:\\games\\quenvo\\SETTINGS.INI", bytes), 0);
  EXPECT_EQ(bytes, "\xFF\xFE");

  TSafeIniFile bare;
  bare.WriteString("s", "k", "v");
  bare.SaveToFile("bare.ini");
  EXPECT_EQ(bare.LastError(), 0);
  EXPECT_TRUE(files.FileExists("D:\\Work\\bare.ini"));

  files.AddFile("D:\\ro.ini", "[s]\r\nk=1\r\n", faReadOnly | faHidden | faArchive);
  {
    TSafeIniFile ini("D:\\ro.ini");
    ini.WriteString("s", "k", "2");
  }
  EXPECT_EQ(files.GetAttributes("D:\\ro.ini"), uint32_t(faReadOnly | faHidden | faArchive));
  TSafeIniFile check("D:\\ro.ini");
  EXPECT_EQ(check.ReadString("s", "k", ""), "2");
}

class SafeIniFileOnDisk : public TTempFolderTest {
 protected:
  TFileSystem& Files() { return TPlatform::Current().Files(); }
};

TEST_F(SafeIniFileOnDisk, CreationMakesFolderAndEmptyFileOnly) {
  const struct {
    const char* Name;
    std::optional<TTextEncoding> Encoding;
    std::string Bytes;
  } cases[] = {{"none", std::nullopt, ""},
               {"ansi", TTextEncoding::Ansi, ""},
               {"utf16", TTextEncoding::Utf16Le, "\xFF\xFE"},
               {"utf8", TTextEncoding::Utf8, "\xEF\xBB\xBF"}};
  for (const auto& c : cases) {
    const std::string path = Path(std::string(c.Name) + "/deeper/settings.ini");
    {
      TSafeIniFile ini(path, c.Encoding);
      EXPECT_EQ(ini.LastError(), 0) << c.Name;
      EXPECT_FALSE(ini.NoAutoSave());
      EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(ReadBytes(path), c.Bytes) << c.Name;
  }
}

TEST_F(SafeIniFileOnDisk, LoadAtCreationIsNoChangeAndFreeSavesChanges) {
  const std::string path = Path("a.ini");
  const std::string original = "; comment\n[s]\nk = v\n";
  WriteBytes(path, original);
  {
    TSafeIniFile ini(path);
    EXPECT_FALSE(ini.Modified());
  }
  EXPECT_EQ(ReadBytes(path), original);  // untouched

  {
    TSafeIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
    ini.WriteString("s", "n", "2");
  }
  EXPECT_EQ(ReadBytes(path), "\xFF\xFE" + Utf16("[s]\r\nk=v\r\nn=2\r\n\r\n"));

  TSafeIniFile ini(path);
  ini.WriteString("s", "n", "3");
  ini.UpdateFile();
  EXPECT_EQ(ini.LastError(), 0);
  EXPECT_FALSE(ini.Modified());
  ini.LoadFromFile(Path("missing.ini"));  // a missing file is an empty content, no error
  EXPECT_EQ(ini.LastError(), 0);
  EXPECT_TRUE(ini.ReadSections().empty());
}

TEST_F(SafeIniFileOnDisk, ReadOnlyHiddenFileIsSavedAndKeepsItsAttributes) {
  const std::string path = Path("guarded.ini");
  WriteBytes(path, "[s]\r\nk=1\r\n");
  ASSERT_EQ(Files().SetAttributes(path, faReadOnly | faHidden), 0);
  // Hidden lives in an extended attribute; some file systems have none.
  const uint32_t wanted = Files().GetAttributes(path) & (faReadOnly | faHidden);
  ASSERT_TRUE(wanted & faReadOnly);
  {
    TSafeIniFile ini(path);
    ini.WriteString("s", "k", "2");
  }
  TSafeIniFile check(path);
  EXPECT_EQ(check.ReadString("s", "k", ""), "2");
  EXPECT_EQ(Files().GetAttributes(path) & (faReadOnly | faHidden), wanted);
}

TEST_F(SafeIniFileOnDisk, AllOddAttributeBitsAreResetToArchive) {
  const std::string path = Path("odd.ini");
  WriteBytes(path, "[s]\r\n");
  ASSERT_EQ(Files().SetAttributes(path, 0x3127), 0);
  if ((Files().GetAttributes(path) & 0x3127) != 0x3127) GTEST_SKIP() << "no extended attributes here";
  TSafeIniFile ini(path);
  ini.WriteString("s", "k", "1");
  ini.UpdateFile();
  EXPECT_EQ(ini.LastError(), 0);
  EXPECT_EQ(Files().GetAttributes(path) & (faReadOnly | faHidden), 0u);
}

// A file that exists but cannot be read: a symbolic link pointing at itself (as root, permission
// bits stop nothing) and a folder in its place.
TEST_F(SafeIniFileOnDisk, UnreadableFileIsNeverSavedAutomatically) {
  const std::string loop = Path("loop.ini");
  ASSERT_EQ(symlink(loop.c_str(), loop.c_str()), 0);
  const std::string folder = Path("folder.ini");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);

  for (const std::string& path : {loop, folder}) {
    {
      TSafeIniFile ini(path);
      EXPECT_NE(ini.LastError(), 0) << path;
      EXPECT_TRUE(ini.NoAutoSave());
      ini.WriteString("s", "k", "lost");
    }
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_FALSE(S_ISREG(info.st_mode)) << path << " was overwritten";
  }

  TSafeIniFile ini(loop);
  ini.WriteString("s", "k", "kept");
  ini.UpdateFile();  // an explicit save still writes
  EXPECT_EQ(ini.LastError(), 0);
  EXPECT_FALSE(ini.Modified());
  TSafeIniFile check(loop);
  EXPECT_EQ(check.ReadString("s", "k", ""), "kept");
}

TEST_F(SafeIniFileOnDisk, FailedSaveKeepsModifiedAndRecordsTheError) {
  WriteBytes(Path("file"), "x");
  TSafeIniFile ini;
  ini.WriteString("s", "k", "v");
  ini.SaveToFile(Path("file/sub/a.ini"));  // the folder cannot be made under a file
  EXPECT_NE(ini.LastError(), 0);
  EXPECT_TRUE(ini.Modified());

  const std::string folder = Path("file/sub/");
  try {
    TSafeIniFile::ForceFolder(folder);
    ADD_FAILURE() << "no error raised";
  } catch (const EFolderError& e) {
    const std::string message = e.what(), tail = " \"" + folder + "\"";
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
    EXPECT_NE(e.Code(), 0);
  }
}

TEST_F(SafeIniFileOnDisk, FailedSaveStillRestoresAttributes) {
  // A name so long that no temporary file can be made beside it (also not as root).
  const std::string path = Path(std::string(246, 'n') + ".ini");
  WriteBytes(path, "[s]\r\n");
  ASSERT_EQ(Files().SetAttributes(path, faReadOnly | faHidden), 0);
  const uint32_t wanted = Files().GetAttributes(path) & (faReadOnly | faHidden);
  TSafeIniFile ini(path);
  ini.WriteString("s", "k", "1");
  ini.UpdateFile();
  EXPECT_NE(ini.LastError(), 0);
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(Files().GetAttributes(path) & (faReadOnly | faHidden), wanted);
  EXPECT_EQ(ReadBytes(path), "[s]\r\n");
  ini.SetNoAutoSave(true);
}

TEST_F(SafeIniFileOnDisk, BareNameMeansTheCurrentFolder) {
  const fs::path previous = fs::current_path();
  fs::current_path(FDir);
  {
    TSafeIniFile ini;
    ini.WriteString("s", "k", "here");
    ini.SaveToFile("bare.ini");
    EXPECT_EQ(ini.LastError(), 0);
  }
  fs::current_path(previous);
  TSafeIniFile check(Path("bare.ini"));
  EXPECT_EQ(check.ReadString("s", "k", ""), "here");
}

// A child saves a large file over and over, alternating two generations of values, and is
// killed at a random moment: the file on disk is always one whole generation.
TEST_F(SafeIniFileOnDisk, SaveKilledMidwayLeavesOldOrNewContent) {
  const std::string path = Path("big.ini");
  constexpr int kKeys = 20000;
  auto fill = [&](TSafeIniFile& ini, char generation) {
    for (int i = 0; i < kKeys; ++i)
      ini.WriteString("s" + std::to_string(i % 50), "key" + std::to_string(i), std::string(20, generation));
  };
  {
    TSafeIniFile ini(path);
    fill(ini, 'a');
  }
  for (int round = 0; round < 6; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TSafeIniFile ini(path);
      for (int i = 0;; ++i) {
        fill(ini, i % 2 ? 'a' : 'b');
        ini.UpdateFile();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150 + 97 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    TSafeIniFile check(path);
    check.SetNoAutoSave(true);
    ASSERT_EQ(check.LastError(), 0);
    const char generation = check.ReadString("s0", "key0", "?")[0];
    ASSERT_TRUE(generation == 'a' || generation == 'b') << "round " << round;
    int found = 0;
    for (int i = 0; i < kKeys; ++i)
      found += check.ReadString("s" + std::to_string(i % 50), "key" + std::to_string(i), "") ==
               std::string(20, generation);
    EXPECT_EQ(found, kKeys) << "round " << round;
  }
}

}  // namespace
