#include "Installer/Downloader/InstallerLanguage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Installer/Downloader/NoticeLanguage.h"
#include "platform/Resources.h"
#include "platform/fake/FakeDebugOutput.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePlatformScope.h"
#include "public/rdcontrol/ComboBox.h"
#include "public/rdcontrol/PropertyResolver.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/Translate.h"
#include "support/Flagship.h"
#include "support/Language.h"

namespace {

// Every Caption and Hint of the window's owned components, by component name.
std::map<std::string, std::string> Texts(TComponent& window) {
  std::map<std::string, std::string> texts;
  for (int i = 0; i < window.ComponentCount(); ++i) {
    TComponent& c = *window.Component(i);
    texts[c.Name() + ".Caption"] = PropertyTextOr(c, "Caption", "-");
    texts[c.Name() + ".Hint"] = PropertyTextOr(c, "Hint", "-");
  }
  return texts;
}

struct TMainWindow {
  TFakePlatformScope Fake;
  TRdForm Window;
  TComboBox* LanguageBox{nullptr};
  TInstallerLanguage Language;

  TMainWindow() {
    EXPECT_TRUE(Window.LoadDescriptionResource("TfrmQVBDownloader"));
    LanguageBox = dynamic_cast<TComboBox*>(Window.FindComponent("Cbx_Language"));
    EXPECT_NE(LanguageBox, nullptr);
  }
  TComponent& Find(const char* name) {
    TComponent* c = Window.FindComponent(name);
    EXPECT_NE(c, nullptr) << name;
    return *c;
  }
  void Scribble(const char* name, const char* property = "Caption") {
    ASSERT_TRUE(SetPropertyText(Find(name), property, "scribbled")) << name;
  }
};

TEST(InstallerLanguage, StartUpLoadsEnglishAndTranslatesTheMainWindow) {
  TMainWindow f;
  EXPECT_EQ(f.Language.GetLangMsg("M_SysSurrport", "default"), "default");  // no translator yet
  EXPECT_EQ(f.Language.GetLangText("QVB_frmQVBDownloader", "lblCaption.Caption", "default"), "default");
  EXPECT_FALSE(f.Language.LoadLanguage("English"));

  // Texts the description already shows in English prove nothing: scribble over them first.
  struct TCase {
    const char* Name;
    const char* Property;
    const char* Expected;
  };
  const TCase cases[] = {
      {"lbl_AgreenInstall", "Caption", "Install Now"},
      {"lblCaption", "Caption", "Quenvo VPN Browser Installer"},
      {"btnBroswe", "Caption", "Browse..."},
      {"cbxCreateIcon", "Caption", "Create a desktop icon"},
      {"lbl_OptionpgBack", "Caption", "Back"},
      {"lbl_DownloadpgTitle", "Caption", "Installation is in progress..."},
      {"lbl_Option", "Caption", "Customize..."},
  };
  for (const TCase& c : cases) f.Scribble(c.Name, c.Property);
  f.LanguageBox->Items().SetLines({"stale"});
  std::vector<std::string> calls;
  f.Language.OnLanguageApplied = [&] { calls.push_back("layout"); };
  f.Language.OnStartUpApplied = [&] { calls.push_back(f.Language.GetLangMsg("M_TrayTips", "")); };

  f.Language.StartUp(&f.Window, f.LanguageBox);
  for (const TCase& c : cases)
    EXPECT_EQ(PropertyTextOr(f.Find(c.Name), c.Property, ""), c.Expected) << c.Name;
  EXPECT_EQ(calls, (std::vector<std::string>{"layout", "Installing Quenvo VPN Browser..."}));
  EXPECT_EQ(f.LanguageBox->Items().Lines(), std::vector<std::string>{"English"});
  EXPECT_EQ(f.LanguageBox->ItemIndex(), 0);
  EXPECT_EQ(f.Language.LanguageFiles(), std::vector<std::string>{"English"});
  EXPECT_EQ(f.Language.CurLanguage(), "English");
  EXPECT_EQ(f.Language.Language()->Prefix(), "QVB");
  EXPECT_EQ(f.Fake->FakeDebug().Lines(), std::vector<std::string>{"********** FLanguageName: English"});
  EXPECT_EQ(f.Language.GetLangMsg("m_apply", "default"), "Apply");
  EXPECT_EQ(f.Language.GetLangMsg("M_Missing", "default"), "default");
  EXPECT_EQ(f.Language.GetLangText("qvb_frmqvbdownloader", "CBXCREATEICON.CAPTION", ""), "Create a desktop icon");
}

TEST(InstallerLanguage, TranslatingAgainChangesNothingAndKeepsTheSelection) {
  TMainWindow f;
  f.Language.StartUp(&f.Window, f.LanguageBox);
  const auto once = Texts(f.Window);
  f.Language.Cbx_LanguageChange(&f.Window, f.LanguageBox);
  TranslateComponent(*f.Language.Language(), &f.Window);
  EXPECT_EQ(Texts(f.Window), once);
  EXPECT_EQ(f.LanguageBox->ItemIndex(), 0);

  // A window that lost its name is left alone.
  f.Scribble("lbl_AgreenInstall");
  f.Window.SetName("");
  TranslateComponent(*f.Language.Language(), &f.Window);
  EXPECT_EQ(PropertyTextOr(f.Find("lbl_AgreenInstall"), "Caption", ""), "scribbled");
}

TEST(InstallerLanguage, SwitchingLoadsTheSelectedLanguageOnly) {
  TMainWindow f;
  f.Language.StartUp(&f.Window, f.LanguageBox);
  f.Scribble("lbl_AgreenInstall");
  for (int index : {-1, 1}) {  // outside the list: nothing happens
    f.LanguageBox->SetItemIndex(index);
    f.Language.Cbx_LanguageChange(&f.Window, f.LanguageBox);
    EXPECT_EQ(PropertyTextOr(f.Find("lbl_AgreenInstall"), "Caption", ""), "scribbled") << index;
  }
  f.LanguageBox->SetItemIndex(0);
  f.Language.Cbx_LanguageChange(&f.Window, f.LanguageBox);
  EXPECT_EQ(PropertyTextOr(f.Find("lbl_AgreenInstall"), "Caption", ""), "Install Now");
}

TEST(InstallerLanguage, LoadLanguageNeedsANameAndAResource) {
  TFakePlatformScope fake;
  TInstallerLanguage language;
  language.StartUp(nullptr, nullptr);
  // Even a resource of the empty name is not looked for.
  static const char kEmptyNamed[] = "\xFF\xFE[\0Q\0V\0B\0_\0M\0]\0\r\0\n\0M\0_\0A\0p\0p\0l\0y\0=\0x\0";
  RegisterResource("", kEmptyNamed, sizeof kEmptyNamed - 1);
  EXPECT_FALSE(language.LoadLanguage(""));
  EXPECT_FALSE(language.LoadLanguage("German"));
  EXPECT_EQ(language.GetLangMsg("M_Apply", ""), "Apply");  // the English text stays
  EXPECT_TRUE(language.LoadLanguage("eNgLiSh"));
}

TEST(NoticeLanguage, OneTranslatorThatLoadsNothingAndKeepsTheDesignedTexts) {
  TFakePlatformScope fake;
  ResetNoticeLanguage();
  ResetFlagshipCache();
  TRdForm dialog;
  ASSERT_TRUE(dialog.LoadDescriptionResource("TForm_Notice"));
  const auto designed = Texts(dialog);
  const std::string dataFolder = GetFlagshipDataFolder();
  ASSERT_FALSE(fake->Files().FolderExists(dataFolder));

  TranslateNoticeDialog(&dialog);
  TLanguage* language = NoticeLanguage();
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->Prefix(), "QMRFeed");
  EXPECT_EQ(language->Text().ReadSections().size(), 0u);  // no language file is ever listed
  EXPECT_EQ(Texts(dialog), designed);
  EXPECT_TRUE(fake->Files().FolderExists(dataFolder));  // reading main.ini made its folder

  TRdForm second;
  ASSERT_TRUE(second.LoadDescriptionResource("TForm_Notice"));
  TranslateNoticeDialog(&second);
  EXPECT_EQ(NoticeLanguage(), language);
  ResetNoticeLanguage();
}

}  // namespace
