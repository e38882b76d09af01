#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "support/IniFile.h"
#include "support/IniService.h"
#include "tests/unit/TempFolderTest.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public TTempFolderTest {
 protected:
  TFileSystem& Files() { return TPlatform::Current().Files(); }
};

// ---- reads ----

TEST_F(IniFileTest, ReadsAsTheProfileService) {
  WriteBytes(Path("r.ini"),
             "top=before any section\r\n"
             "; comment\r\n"
             "[ Main ]  ; trailing text\r\n"
             "  Key  =  spaced value  \r\n"
             "key=second\r\n"
             ";hidden=1\r\n"
             "dq=\"quoted \"\r\n"
             "sq='x'\r\n"
             "odd=\"x'\r\n"
             "empty=\r\n"
             "noequals\r\n"
             "[main]\r\n"
             "key=other section\r\n"
             "only=later\r\n");
  TIniFile ini(Path("r.ini"));
  const struct {
    const char *Section, *Key, *Expected;
  } cases[] = {{"main", "key", "spaced value"},  // first section, first key
               {"MAIN", "KEY", "spaced value"},
               {" main ", " key ", "spaced value"},
               {"main", "hidden", "<d>"},
               {"main", ";hidden", "<d>"},
               {"main", "dq", "quoted "},
               {"main", "sq", "x"},
               {"main", "odd", "\"x'"},
               {"main", "empty", ""},
               {"main", "noequals", "<d>"},
               {"main", "only", "<d>"},
               {"", "top", "<d>"},
               {"missing", "key", "<d>"}};
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(c.Section, c.Key, "<d>"), c.Expected) << c.Section << "/" << c.Key;
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main"}));
  EXPECT_EQ(ini.ReadSection("main"), (std::vector<std::string>{"Key", "dq", "sq", "odd", "empty"}));
  EXPECT_TRUE(ini.SectionExists("MAIN"));
  EXPECT_TRUE(ini.ValueExists("main", "empty"));
  EXPECT_FALSE(ini.ValueExists("main", "only"));

  TIniFile missing(Path("missing.ini"));
  EXPECT_EQ(missing.ReadString("a", "b", "def"), "def");
  EXPECT_TRUE(missing.ReadSections().empty());
  EXPECT_FALSE(fs::exists(Path("missing.ini")));  // reading creates no file
}

TEST_F(IniFileTest, NumbersAndLongValues) {
  const std::string longValue(5000, 'v');
  TIniFile ini(Path("n.ini"));
  ini.WriteString("s", "hex", "0x1F");
  ini.WriteString("s", "bad", "12abc");
  ini.WriteInteger("s", "int", -3);
  ini.WriteBool("s", "yes", true);
  ini.WriteString("s", "long", longValue);
  EXPECT_EQ(ini.ReadInteger("s", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("s", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("s", "int", 0), -3);
  EXPECT_TRUE(ini.ReadBool("s", "yes", false));
  EXPECT_TRUE(ini.ReadBool("s", "none", true));
  EXPECT_EQ(ini.ReadString("s", "long", ""), longValue);
  // A section list far past the 16384 characters of one buffer.
  std::string text = "[s]\r\n";
  for (int i = 0; i < 1500; ++i) text += "[section" + std::to_string(i) + "]\r\nk=v\r\n";
  WriteBytes(ini.FileName(), text);
  const std::vector<std::string> sections = ini.ReadSections();
  ASSERT_EQ(sections.size(), 1501u);
  EXPECT_EQ(sections.back(), "section1499");
}

TEST_F(IniFileTest, BareNameMeansTheCurrentFolder) {
  WriteBytes(Path("bare.ini"), "[s]\r\nk=from current folder\r\n");
  const fs::path previous = fs::current_path();
  fs::current_path(FDir);
  TIniFile ini("bare.ini");
  EXPECT_EQ(ini.FileName(), "./bare.ini");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "from current folder");
  ini.WriteString("s", "n", "1");
  fs::current_path(previous);
  EXPECT_EQ(TIniService::ReadString(Path("bare.ini"), "s", "n", ""), "1");
}

TEST_F(IniFileTest, CreationMakesTheFolderAndClearsReadOnly) {
  TIniFile deep(Path("a/b/c.ini"));
  EXPECT_TRUE(fs::is_directory(Path("a/b")));
  EXPECT_FALSE(fs::exists(Path("a/b/c.ini")));

  WriteBytes(Path("ro.ini"), "[s]\r\nk=1\r\n");
  ASSERT_EQ(Files().SetAttributes(Path("ro.ini"), faReadOnly), 0);
  EXPECT_EQ(TIniService::WriteString(Path("ro.ini"), "s", "k", "2"), EACCES);  // the service refuses
  TIniFile ini(Path("ro.ini"));
  EXPECT_FALSE(Files().GetAttributes(Path("ro.ini")) & faReadOnly);
  ini.WriteString("s", "k", "2");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "2");

  WriteBytes(Path("file"), "x");
  TIniFile impossible(Path("file/sub/x.ini"));  // quietly nothing
  impossible.WriteString("s", "k", "v");        // quietly lost
  EXPECT_EQ(impossible.ReadString("s", "k", "d"), "d");
}

TEST(IniFileOnFake, BareNameAndFoldersWithWindowsPaths) {
  TFakePlatformScope fake;
  TFakeFileSystem& files = fake->FakeFiles();
  files.SetCurrentFolder("C:\\Setup");
  files.AddFile("C:\\Setup\\test.ini", "[Update]\r\nUrl=http://local\r\n");
  TIniFile bare("test.ini");
  EXPECT_EQ(bare.FileName(), ".\\test.ini");
  EXPECT_EQ(bare.ReadString("update", "url", ""), "http://local");

  TIniFile deep("C:\\Data\\Sub\\x.ini");
  EXPECT_TRUE(files.FolderExists("C:\\Data\\Sub"));
  deep.WriteString("s", "k", "v");
  EXPECT_EQ(TIniService::ReadString("c:\\data\\sub\\X.INI", "S", "K", ""), "v");
}

// ---- writes keep the rest of the file ----

struct TWriteCase {
  const char* Name;
  std::string Before;
  std::string After;
};
void PrintTo(const TWriteCase& c, std::ostream* os) { *os << c.Name; }

class IniServiceWrite : public IniFileTest, public ::testing::WithParamInterface<TWriteCase> {};

// Every case: "[a]/z" := "3", then "[new]/k" := "v".
TEST_P(IniServiceWrite, ChangesOnlyWhatItMust) {
  const std::string path = Path("w.ini");
  if (!GetParam().Before.empty()) WriteBytes(path, GetParam().Before);
  TIniFile ini(path);
  ini.WriteString("a", "z", "3");
  ini.WriteString("new", "k", "v");
  EXPECT_EQ(ReadBytes(path), GetParam().After);
}

std::string Le(const std::string& utf8) {
  return "\xFF\xFE" + EncodeUtf16Le(utf8, false);
}
std::string Be(const std::string& utf8) {
  return "\xFE\xFF" + EncodeText(utf8, TTextEncoding::Utf16Be);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniServiceWrite,
    ::testing::Values(
        TWriteCase{"NewFileIsUtf16", "", Le("[a]\r\nz=3\r\n\r\n[new]\r\nk=v\r\n")},
        TWriteCase{"AnsiKeepsCommentsBlanksAndBytes",
                   "; caf\xE9\r\n[a]\r\n x = 1 \r\n\r\n[b]\r\ny=\x81\xE9\r\n",
                   "; caf\xE9\r\n[a]\r\n x = 1 \r\nz=3\r\n\r\n[b]\r\ny=\x81\xE9\r\n\r\n[new]\r\nk=v\r\n"},
        TWriteCase{"ReplacesWithTheCallersSpelling", "[A]\nZ = old\n", "[A]\nz=3\n\n[new]\nk=v\n"},
        TWriteCase{"Utf16LeStays", Le("[a]\r\nx=\xC3\xA4\r\n"),
                   Le("[a]\r\nx=\xC3\xA4\r\nz=3\r\n\r\n[new]\r\nk=v\r\n")},
        TWriteCase{"Utf16BeStays", std::string("\xFE\xFF\0[\0a\0]\0\n", 10), Be("[a]\nz=3\n\n[new]\nk=v\n")},
        TWriteCase{"Utf8MarkStays", "\xEF\xBB\xBF[a]\r\n", "\xEF\xBB\xBF[a]\r\nz=3\r\n\r\n[new]\r\nk=v\r\n"},
        TWriteCase{"BlankLineOnly", "\r\n", "\r\n[a]\r\nz=3\r\n\r\n[new]\r\nk=v\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(IniFileTest, AnsiFileBecomesUtf16OnlyForCharactersItCannotHold) {
  const std::string path = Path("ansi.ini");
  WriteBytes(path, "[a]\r\nx=caf\xE9\r\n");
  TIniFile ini(path);
  ini.WriteString("a", "euro", "\xE2\x82\xAC");  // in Windows-1252 as 0x80
  EXPECT_EQ(ReadBytes(path), "[a]\r\nx=caf\xE9\r\neuro=\x80\r\n");
  ini.WriteString("a", "zh", "\xD0\x96");  // Cyrillic: not in the code page
  EXPECT_EQ(ReadBytes(path), Le("[a]\r\nx=caf\xC3\xA9\r\neuro=\xE2\x82\xAC\r\nzh=\xD0\x96\r\n"));
  EXPECT_EQ(ini.ReadString("a", "zh", ""), "\xD0\x96");
}

TEST_F(IniFileTest, DeletesAndRefusedWrites) {
  const std::string path = Path("d.ini");
  const std::string before = "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n[A]\r\nw=4\r\n";
  WriteBytes(path, before);
  // Text that would turn into other lines or other keys is refused, the file stays as it was.
  const struct {
    const char *Section, *Key, *Value;
  } refused[] = {{"a", "x", "1\r\n[b]"}, {"a", "x\n", "1"}, {"a\r", "x", "1"}, {"a]", "x", "1"},
                 {"a", "k=v", "1"},      {"a", "", "1"},    {"a", ";x", "1"},  {"a", "[x", "1"}};
  for (const auto& c : refused) EXPECT_EQ(TIniService::WriteString(path, c.Section, c.Key, c.Value), EINVAL);
  EXPECT_EQ(ReadBytes(path), before);

  TIniFile ini(path);
  ini.DeleteKey("a", "missing");
  EXPECT_EQ(ReadBytes(path), before);  // nothing changed, nothing written
  ini.DeleteKey("A", "X");
  ini.EraseSection("A");  // both sections of the name
  EXPECT_EQ(ReadBytes(path), "[b]\r\nz=3\r\n");
}

TEST_F(IniFileTest, UpdateAppliesManyChangesInOneWriteAndNeverOverAnUnreadableFile) {
  const std::string path = Path("state.ini");
  WriteBytes(path, "[GLOBAL]\r\nUrl=old\r\n[PART_0]\r\nDataCount=1\r\n[PART_1]\r\nDataCount=2\r\n");
  const int error = TIniService::Update(path, [](TIniService& ini) {
    for (const std::string& name : ini.SectionNames())
      if (StartsText("PART_", name)) ini.DeleteSection(name);
    ini.DeleteSection("GLOBAL");
    ini.SetValue("GLOBAL", "Url", "new");
    ini.SetValue("PART_0", "DataCount", "5");
    return 0;
  });
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadBytes(path), "[GLOBAL]\r\nUrl=new\r\n\r\n[PART_0]\r\nDataCount=5\r\n");

  EXPECT_EQ(TIniService::Update(path,
                                [](TIniService& ini) {
                                  ini.SetValue("GLOBAL", "Url", "dropped");
                                  return EINTR;
                                }),
            EINTR);
  EXPECT_EQ(TIniService::ReadString(path, "GLOBAL", "Url", ""), "new");

  ASSERT_EQ(mkdir(Path("folder.ini").c_str(), 0700), 0);
  EXPECT_NE(TIniService::WriteString(Path("folder.ini"), "s", "k", "v"), 0);
  EXPECT_TRUE(fs::is_directory(Path("folder.ini")));
}

TEST_F(IniFileTest, WritesKeepTheHiddenAttribute) {
  const std::string path = Path("h.ini");
  WriteBytes(path, "[s]\r\n");
  ASSERT_EQ(Files().SetAttributes(path, faHidden | faArchive), 0);
  if (!(Files().GetAttributes(path) & faHidden)) GTEST_SKIP() << "no extended attributes here";
  TIniFile ini(path);
  ini.WriteString("s", "k", "v");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "v");
  EXPECT_TRUE(Files().GetAttributes(path) & faHidden);
}

}  // namespace
