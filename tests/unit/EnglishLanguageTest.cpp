#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/MemoryStream.h"
#include "platform/Resources.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakePlatformScope.h"
#include "support/Language.h"

// The built-in English language text, byte for byte: its encoding and line ends, every line in
// order, and every key found through the translator as the installer asks for it.

namespace {

const char* const kLines[] = {
    "[Main]",
    "DisplayName=English",
    "[QVB_frmQVBDownloader]",
    "lbl_OptionDesc.Caption=Click here to configure settings as per your needs.",
    "btnMin.Hint=Minimize",
    "btnCancel.Caption=Cancel",
    "lbl_Cancel.Caption=Cancel",
    "lbl_AgreenInstall.Caption=Install Now",
    "lbl_LicenseTitle.Caption=License Agreement",
    "lbl_PleaseRead.Caption=Please read the following important information:",
    "lbl_OptionTitle.Caption=Install Options",
    "lbl_ChoosePath.Caption=Choose the folder where to install:",
    "btnBroswe.Caption=Browse...",
    "lbl_Besides.Caption=Besides installing, I also want to:",
    "cbxCreateIcon.Caption=Create a desktop icon",
    "cbxLaunch.Caption=Create a Quick Launch icon",
    "lbl_Host.Caption=Host:",
    "lbl_Port.Caption=Port:",
    "lbl_UserName.Caption=User Name:",
    "lbl_Pwd.Caption=Password:",
    "lbl_Download.Caption=Download",
    "lbl_Install.Caption=Install",
    "lbl_Installing.Caption=Installing...",
    "btnClose.Hint=Close",
    "lbl_OptionpgBack.Caption=Back",
    "lbl_MainpgFunc.Caption=Safe browser with built-in VPN. Secure, Fast and Free!",
    "lblCaption.Caption=Quenvo VPN Browser Installer",
    "lbl_Option.Caption=Customize...",
    "lbl_DownloadpgTitle.Caption=Installation is in progress...",
    "lbl_DownloadpgDes.Caption=Please wait while the program is being installed.",
    "[QVB_M]",
    "M_AreSure=Are you sure to cancel the installation of Quenvo VPN Browser?",
    "M_DiskIsFull=This partition doesn't have enough free space (500MB). Please choose another partition to continue the installation.",
    "M_PathInvaild=The installation directory you entered is incorrect. Please re-enter.",
    "M_InstallProgress=Quenvo VPN Browser Installation Progress",
    "M_MinimizeToTray=Minimize to system tray",
    "M_Finisehd=Finish",
    "M_proxy=Please specify your proxy settings",
    "M_Apply=Apply",
    "M_DownloadTotalSize=Total:",
    "M_DownloadedSize=Downloaded:",
    "M_SettingProxy=Quenvo VPN Browser download failed. Please set the proxy and try again.",
    "M_HintTips=Installation may take a few minutes. Click here to run it in the background.",
    "M_Init=Initializing...",
    "M_PartitionIsFull=This partition doesn't have enough free space (500MB). Please choose another partition to continue the installation.",
    "M_TrayTips=Installing Quenvo VPN Browser...",
    "M_InputPath=You must enter the full path with drive letter. Example: C:\\App",
    "M_Congratulations=Congratulations!",
    "M_Next=Next",
    "M_Installed=Quenvo VPN Browser has been installed successfully!",
    "M_Complete=Installation Completed",
    "M_InstallFailedHint=Failed to install Quenvo VPN Browser! Please close security software and restart your computer to try again.",
    "M_InstallRestartHint=Please manually restart your computer to finish the installation.",
    "M_InstallFailed=Failed to install Quenvo VPN Browser! Please close security software and restart your computer to try again.",
    "lbl_AgreenInstallNew=Install",
    "M_License=By clicking %s, you agree to install Quenvo VPN Browser and accept its <a>EULA</a> & <a>Privacy Policy</a>. ",
    "M_Learnmore=Learn more online",
    "M_NestConfirm=Please choose one option above to continue.",
    "M_cbxTaskbar=Pin to the taskbar",
    "M_MainpgTitle=Ready to install Quenvo VPN Browser",
    "M_MainpgVer=Version",
    "M_SysSurrport=This operating system is not supported. Quenvo VPN Browser can only be installed on 64-bit Windows 7 or higher.",
    "M_DownloadpgInstall=Installing",
    "M_FinishpgSuccTitle=Installation Completed!",
    "M_FinishpgSuccDes=Click %s to enjoy yourself.",
    "M_FinishpgSuccSetDefault=Make Quenvo VPN Browser as your default browser",
    "M_FinishpgSuccRun=Run Now",
    "M_FinishpgFailTitle=Installation Failed!",
    "M_FinishpgFailDes=Please try again later, or contact our technical support.",
    "M_FinishpgFailFeedback=Send feedback",
    "M_NoticeOK=OK",
    "M_NoticeYes=Yes",
    "M_NoticeNo=No",
};

TEST(EnglishLanguageText, IsUtf16LeWithMarkAndCrLfLines) {
  const std::string_view bytes = FindResource("English");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.data(), FindResource("ENGLISH").data());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string_view("\xFF\xFE", 2));
  ASSERT_EQ(bytes.size() % 2, 0u);

  std::string expected;
  for (const char* line : kLines) expected += std::string(line) + "\r\n";
  EXPECT_EQ(std::string(bytes), EncodeUtf16Le(expected));
}

TEST(EnglishLanguageText, EveryKeyResolvesToItsText) {
  TFakePlatformScope fake;
  TLanguage language("QVB");
  TMemoryStream stream{std::string(FindResource("English"))};
  language.LoadFromResource(stream);

  std::string section;
  int keys = 0;
  for (const std::string line : kLines) {
    if (line.front() == '[') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const std::string key = line.substr(0, line.find('='));
    const std::string text = Trim(line.substr(line.find('=') + 1));
    EXPECT_EQ(language.ReadText(section, key, "<def>"), text) << section << "/" << key;
    if (section == "QVB_M") EXPECT_EQ(language.GetMessageDef(LowerCase(key), "<def>"), text) << key;
    ++keys;
  }
  EXPECT_EQ(keys, 70);
  EXPECT_EQ(language.Messages().Count(), 42);
  // The stored line ends with a blank that loading drops.
  EXPECT_EQ(language.GetMessageDef("M_License", ""),
            "By clicking %s, you agree to install Quenvo VPN Browser and accept its <a>EULA</a> & "
            "<a>Privacy Policy</a>.");
}

}  // namespace
