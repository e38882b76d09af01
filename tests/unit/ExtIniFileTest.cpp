#include "support/ExtIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MemoryStream.h"
#include "platform/TextCodec.h"

namespace {

// One text that carries every parsing rule at once; the lookups below each hit one rule.
const char* const kText =
    "DisplayName=before any section\r\n"
    "[QVB_M]\r\n"
    "; M_Commented=comment\r\n"
    "M_Apply=Apply\r\n"
    "M_Empty=\r\n"
    "M_Twice=first\r\n"
    "M_Twice=second\r\n"
    " \t M_Blanks \t =  \t spaced value \t \r\n"
    "M_Literal=\"quoted\" %s <a>EULA</a> C:\\App\\\r\n"
    "M_Equals=a=b=c\r\n"
    "bare line without equals\r\n"
    "M_LoneCr=cr\r"
    "M_LoneLf=lf\n"
    "[ Old ]\r\n"
    "OnlyInOld=1\r\n"
    "Shared=old\r\n"
    "[old]\r\n"
    "Shared=new\r\n";

std::string ReadFrom(const std::string& bytes, const char* section, const char* key) {
  TExtIniFile ini;
  ini.SetText(bytes);
  return ini.ReadString(section, key, "<def>");
}

TEST(ExtIniFile, LookupsFollowTheTextRules) {
  TExtIniFile ini;
  ini.SetText(kText);
  struct TCase {
    const char* Section;
    const char* Key;
    const char* Expected;
  };
  const TCase cases[] = {
      {"QVB_M", "M_Apply", "Apply"},
      {"qvb_m", "m_apply", "Apply"},              // section and key ignore case
      {"QVB_M", "M_Empty", ""},                   // an empty value is a value, not the default
      {"QVB_M", "M_Twice", "second"},             // the later line of a key wins
      {"QVB_M", "M_Blanks", "spaced value"},      // key and value trimmed
      {"QVB_M", "M_Literal", "\"quoted\" %s <a>EULA</a> C:\\App\\"},
      {"QVB_M", "M_Equals", "a=b=c"},             // the key ends at the first "="
      {"QVB_M", "M_LoneCr", "cr"},
      {"QVB_M", "M_LoneLf", "lf"},
      {"QVB_M", "; M_Commented", "<def>"},
      {"QVB_M", "M_Commented", "<def>"},
      {"QVB_M", "bare line without equals", "<def>"},
      {"QVB_M", "DisplayName", "<def>"},          // lines before the first section are dropped
      {"Old", "Shared", "new"},                   // a repeated section: the later one is found
      {"Old", "OnlyInOld", "<def>"},              // ... and the earlier one is hidden
      {"Missing", "M_Apply", "<def>"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ini.ReadString(c.Section, c.Key, "<def>"), c.Expected) << c.Section << "/" << c.Key;

  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"QVB_M", "Old", "old"}));
  EXPECT_EQ(ini.ReadSection("QVB_M"),
            (std::vector<std::string>{"M_Apply", "M_Empty", "M_Twice", "M_Twice", "M_Blanks", "M_Literal",
                                      "M_Equals", "M_LoneCr", "M_LoneLf"}));
  const std::vector<std::string> lines = ini.ReadSectionValues("QVB_M");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[4], "M_Blanks=spaced value");
  EXPECT_EQ(lines[7], "bare line without equals");
  EXPECT_TRUE(ini.ValueExists("qvb_m", "M_EMPTY"));
  EXPECT_FALSE(ini.ValueExists("QVB_M", "bare line without equals"));
}

TEST(ExtIniFile, EncodingComesFromTheByteOrderMark) {
  const std::string text = "[S]\r\nK=\xC3\x9C" "bernehmen \xE2\x82\xAC\r\n";  // "Übernehmen €"
  std::string be = EncodeUtf16Le(text, false);
  for (size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::string Expected;
  };
  const TCase cases[] = {
      {"UTF-16 LE", EncodeUtf16Le(text), "\xC3\x9C" "bernehmen \xE2\x82\xAC"},
      {"UTF-16 BE", "\xFE\xFF" + be, "\xC3\x9C" "bernehmen \xE2\x82\xAC"},
      {"UTF-8", "\xEF\xBB\xBF" + text, "\xC3\x9C" "bernehmen \xE2\x82\xAC"},
      {"ANSI", "[S]\r\nK=\xDC" "bernehmen \x80\r\n", "\xC3\x9C" "bernehmen \xE2\x82\xAC"},
  };
  for (const TCase& c : cases) EXPECT_EQ(ReadFrom(c.Bytes, "s", "k"), c.Expected) << c.Name;
}

TEST(ExtIniFile, GarbageNeverBreaksTheStore) {
  const std::string cases[] = {
      "",
      "[",
      "]",
      "[]\r\n=\r\n",
      std::string("\xFF\xFE[\x00S\x00]\x00\n\x00\x00\xD8=\x00", 13),  // lone surrogate, odd length
      std::string("[S]\r\nK\0=\0V\r\n", 12),
      "[S]\r\n\r\n\r\n;\r\n[S2]",
  };
  for (const std::string& bytes : cases) {
    TExtIniFile ini;
    ini.SetText(bytes);
    for (const std::string& section : ini.ReadSections())
      for (const std::string& key : ini.ReadSection(section)) EXPECT_TRUE(ini.ValueExists(section, key));
  }
  EXPECT_EQ(ReadFrom("[]\r\n=empty key\r\n", "", ""), "empty key");
}

TEST(ExtIniFile, WritesChangeMemoryAndHideNothingStale) {
  TExtIniFile ini;
  ini.SetText("[A]\r\nK=1\r\nK=2\r\n[B]\r\nX=1\r\n[a]\r\nK=3\r\nK=4\r\n");
  ini.WriteString("a", "k", "5");  // replaces the line that lookups find
  EXPECT_EQ(ini.ReadString("A", "K", ""), "5");
  EXPECT_EQ(ini.ReadSectionValues("A"), (std::vector<std::string>{"K=3", "k=5"}));
  ini.WriteString("New", "Key", "v");
  EXPECT_EQ(ini.ReadString("NEW", "KEY", ""), "v");

  ini.DeleteKey("A", "K");  // both lines: the earlier one must not come back
  EXPECT_FALSE(ini.ValueExists("A", "K"));
  ini.EraseSection("A");    // both sections of that name
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_EQ(ini.ReadString("A", "K", "<def>"), "<def>");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "New"}));
}

TEST(ExtIniFile, LoadingReplacesTheContentOrLeavesItAlone) {
  TExtIniFile ini;
  ini.SetText("[S]\r\nK=old\r\n");
  ini.LoadFromFile("/nonexistent/folder/ENGLISH.lng");
  EXPECT_EQ(ini.ReadString("S", "K", ""), "old");  // an unreadable file changes nothing

  TMemoryStream stream("[Skipped]\r\nK=head\r\n[S]\r\nK=new\r\n");
  stream.SetPosition(19);  // the stream's text from its position on
  ini.LoadFromStream(stream);
  EXPECT_EQ(ini.ReadString("S", "K", ""), "new");
  EXPECT_FALSE(ini.SectionExists("Skipped"));
}

}  // namespace
