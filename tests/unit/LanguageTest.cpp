#include "support/Language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MemoryStream.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeSpecialFolders.h"

namespace {

void Load(TLanguage& language, const std::string& text) {
  TMemoryStream stream(EncodeUtf16Le(text));
  language.LoadFromResource(stream);
}

TEST(Language, MessagesComeOnlyFromThePrefixSection) {
  TFakePlatformScope fake;
  TLanguage language("QVB");
  Load(language,
       "[QVB_frmQVBDownloader]\r\nbtnClose.Hint=Close\r\nM_Window=window text\r\n"
       "[QMRFeed_M]\r\nM_Other=other prefix\r\n"
       "[qvb_m]\r\nM_Apply=Apply\r\nM_Empty=\r\nM_Twice=first\r\nM_Twice=second\r\n");
  struct TCase {
    const char* Key;
    const char* Expected;
  };
  const TCase cases[] = {
      {"M_Apply", "Apply"}, {"m_apply", "Apply"}, {"M_Empty", ""}, {"M_Twice", "second"},
      {"M_Window", "<def>"},  // a window text is no message
      {"M_Other", "<def>"},   // nor is another translator's
      {"M_Missing", "<def>"},
  };
  for (const TCase& c : cases) EXPECT_EQ(language.GetMessageDef(c.Key, "<def>"), c.Expected) << c.Key;
  EXPECT_EQ(language.ReadText("QVB_FRMQVBDOWNLOADER", "BTNCLOSE.HINT", "<def>"), "Close");
  EXPECT_EQ(language.ReadText("QVB_frmQVBDownloader", "M_Missing", "<def>"), "<def>");
}

TEST(Language, ALoadReplacesTheTextAndTheMessages) {
  TFakePlatformScope fake;
  TLanguage language("QVB");
  Load(language, "[QVB_M]\r\nM_Apply=Apply\r\nM_Next=Next\r\n[QVB_X]\r\nK=old\r\n");
  Load(language, "[QVB_M]\r\nM_Apply=Anwenden\r\n");
  EXPECT_EQ(language.GetMessageDef("M_Apply", ""), "Anwenden");
  EXPECT_EQ(language.GetMessageDef("M_Next", "<def>"), "<def>");
  EXPECT_EQ(language.ReadText("QVB_X", "K", "<def>"), "<def>");
  Load(language, "[Main]\r\nDisplayName=Empty\r\n");  // no message section at all
  EXPECT_EQ(language.Messages().Count(), 0);
  EXPECT_EQ(language.GetMessageDef("M_Apply", "<def>"), "<def>");
}

TEST(Language, LanguageFilesLoadOnlyWhenListedAndPresent) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Available;
    std::vector<std::string> Files;  // in the language folder
    const char* Expected;           // M_Apply after the call
  };
  const TCase cases[] = {
      {"German", {}, {"German", "English"}, "previous"},  // nothing listed: the installer's case
      {"German", {"german"}, {"German"}, "German"},
      {"German", {"German", "English"}, {"English"}, "English"},  // file missing: English instead
      {"French", {"German", "English"}, {"German", "English"}, "English"},
      {"German", {"German"}, {}, "previous"},
      {"", {"English"}, {"English"}, "English"},
  };
  for (const TCase& c : cases) {
    TFakePlatformScope fake;
    fake->FakeFolders().SetFolder(TFolderKind::ExeFolder, "C:\\Setup\\");
    for (const std::string& file : c.Files)
      fake->FakeFiles().AddFile("C:\\Setup\\Language\\" + file + ".lng", EncodeUtf16Le("[QVB_M]\r\nM_Apply=" + file + "\r\n"));
    TLanguage language("QVB");
    EXPECT_EQ(language.LanguageFolder(), "C:\\Setup\\Language");
    Load(language, "[QVB_M]\r\nM_Apply=previous\r\n");
    language.AvailableLanguages() = c.Available;
    language.LoadLanguageFile(c.Name);
    EXPECT_EQ(language.GetMessageDef("M_Apply", ""), c.Expected) << "'" << c.Name << "'";
  }
}

}  // namespace
