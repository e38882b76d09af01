#include <gtest/gtest.h>

#include "platform/Resources.h"
#include "public/rdcontrol/CCTrayIcon.h"
#include "public/rdcontrol/CheckBox.h"
#include "public/rdcontrol/Edit.h"
#include "public/rdcontrol/FormReader.h"
#include "public/rdcontrol/FormWriter.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdHtmLabel.h"
#include "public/rdcontrol/RdImageButton.h"
#include "public/rdcontrol/RdImageNote.h"
#include "public/rdcontrol/RdLabel.h"
#include "public/rdcontrol/RdProgressBar.h"
#include "public/rdcontrol/RdTimer.h"

namespace {

// The three built-in window descriptions, each loaded into a plain form.
class WindowDescriptionTest : public ::testing::Test {
 protected:
  static std::unique_ptr<TRdForm> Load(const char* resource) {
    auto form = std::make_unique<TRdForm>();
    std::string_view text = FindResource(resource);
    EXPECT_FALSE(text.empty()) << resource;
    TFormReadReport report = TFormReader::ReadRoot(*form, text);
    for (const std::string& w : report.Warnings) ADD_FAILURE() << resource << ": " << w;
    return form;
  }
  template <class T>
  static T* Find(TRdForm& form, const char* name) {
    TComponent* c = form.FindComponent(name);
    EXPECT_TRUE(c) << name << " is missing";
    T* typed = dynamic_cast<T*>(c);
    EXPECT_TRUE(!c || typed) << name << " is a " << c->ClassName();
    return typed;
  }
  // The page a control is on: the nearest TPageTab above it; "all" when none.
  static std::string PageOf(const TControl& c) {
    for (TControl* p = c.Parent(); p; p = p->Parent())
      if (dynamic_cast<TPageTab*>(p)) return p->Name();
    return "all";
  }
};

TEST_F(WindowDescriptionTest, MainWindowHasEveryControlOnItsPage) {
  auto form = Load("TfrmQVBDownloader");
  EXPECT_EQ(form->Name(), "frmQVBDownloader");
  EXPECT_EQ(form->ClientWidth(), 640);
  EXPECT_EQ(form->ClientHeight(), 390);
  EXPECT_EQ(form->BorderStyle(), bsNone);
  EXPECT_EQ(form->Color(), clBlack);
  EXPECT_TRUE(form->AlphaBlend());
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->Font().Name(), "Roboto");
  EXPECT_EQ(form->Caption(), "Quenvo VPN Browser");

  struct TRow {
    const char* Name;
    const char* Class;
    const char* Page;
  };
  const TRow rows[] = {
      {"lbl_Title", "TLabel", "all"},
      {"imgTitle", "TImage", "all"},
      {"lblCaption", "TLabel", "all"},
      {"btnMin", "TRdImageButton", "all"},
      {"btnClose", "TRdImageButton", "all"},
      {"Cbx_Language", "TRdComboBox", "all"},
      {"PageNoteInstall", "TPageNote", "all"},
      {"img_back", "TImage", "all"},
      {"SubBg", "TImage", "PageTab_Main"},
      {"lbl_MainpgTitle", "TLabel", "PageTab_Main"},
      {"lbl_AgreenInstall", "TRdImageButton", "PageTab_Main"},
      {"lbl_Option", "TLabel", "PageTab_Main"},
      {"InstallLicense", "TRdHtmLabel", "PageTab_Main"},
      {"Rdbtn_MainpgVer", "TRdImageButton", "PageTab_Main"},
      {"Image_Optionbg", "TImage", "PageTab_InstallOption"},
      {"lbl_OptionTitle", "TLabel", "PageTab_InstallOption"},
      {"lbl_ChoosePath", "TLabel", "PageTab_InstallOption"},
      {"edtPath", "TRdEdit", "PageTab_InstallOption"},
      {"btnBroswe", "TRdImageButton", "PageTab_InstallOption"},
      {"cbxCreateIcon", "TRdImageButton", "PageTab_InstallOption"},
      {"cbxTaskbar", "TRdImageButton", "PageTab_InstallOption"},
      {"cbxBookmark", "TCheckBox", "PageTab_InstallOption"},
      {"btnOptionInstall", "TRdImageButton", "PageTab_InstallOption"},
      {"lbl_OptionpgBack", "TLabel", "PageTab_InstallOption"},
      {"Image_DownloadBg", "TImage", "PageTab_Download"},
      {"lbl_DownloadpgTitle", "TLabel", "PageTab_Download"},
      {"Label_Cap_DP", "TLabel", "PageTab_Download"},
      {"imgProgress_DP", "TRdProgressBar", "PageTab_Download"},
      {"lblDownloadpgInstalling", "TLabel", "PageTab_Download"},
      {"Label_Initializing_DP", "TLabel", "PageTab_Download"},
      {"Label_DownloadSize_DP", "TLabel", "PageTab_Download"},
      {"Label_DownloadTotalSize_DP", "TLabel", "PageTab_Download"},
      {"lbl_DownloadpgCancel", "TRdLabel", "PageTab_Download"},
      {"img_Install_bg", "TImage", "PageTab_Install"},
      {"lbl_Installing", "TLabel", "PageTab_Install"},
      {"lbl_Download", "TLabel", "PageTab_Install"},
      {"lbl_DownloadedSize", "TLabel", "PageTab_Install"},
      {"imgProgress", "TRdProgressBar", "PageTab_Install"},
      {"ImgBtnProgress", "TRdImageButton", "PageTab_Install"},
      {"lbl_Back", "TLabel", "PageTab_Install"},
      {"Image_FinishedBg", "TImage", "PageTab_Finished"},
      {"lbl_FinishpgTitle", "TLabel", "PageTab_Finished"},
      {"lbl_FinishpgDes", "TLabel", "PageTab_Finished"},
      {"btnFinished", "TRdImageButton", "PageTab_Finished"},
      {"Rdbtn_FinishpgSetDefault", "TRdImageButton", "PageTab_Finished"},
      {"Rdbtn_FinishpgClose", "TRdImageButton", "PageTab_Finished"},
      {"Rdbtn_FinishpgFeedback", "TRdImageButton", "PageTab_Finished"},
      {"Label_Cap_PP", "TLabel", "PageTab_Proxy"},
      {"ImgBtn_Host_PP", "TRdImageButton", "PageTab_Proxy"},
      {"ImgBtn_Port_PP", "TRdImageButton", "PageTab_Proxy"},
      {"ImgBtn_UserName_PP", "TRdImageButton", "PageTab_Proxy"},
      {"ImgBtn_Pwd_PP", "TRdImageButton", "PageTab_Proxy"},
      {"edtHost", "TEdit", "PageTab_Proxy"},
      {"edtPort", "TEdit", "PageTab_Proxy"},
      {"edtUserName", "TEdit", "PageTab_Proxy"},
      {"edtPwd", "TEdit", "PageTab_Proxy"},
      {"btnProxy", "TRdImageButton", "PageTab_Proxy"},
      {"btnCancel", "TRdImageButton", "PageTab_Proxy"},
  };
  for (const TRow& r : rows) {
    auto* c = Find<TControl>(*form, r.Name);
    if (!c) continue;
    EXPECT_EQ(c->ClassName(), r.Class) << r.Name;
    EXPECT_EQ(PageOf(*c), r.Page) << r.Name;
  }
  for (const auto& [name, cls] :
       std::vector<std::pair<const char*, const char*>>{{"Timer_InstallProgress", "TRdTimer"},
                                                        {"Tray", "TCCTrayIcon"},
                                                        {"MadExceptionHandler1", "TMadExceptionHandler"},
                                                        {"RdFormSkinMain", "TRdFormSkin"}}) {
    auto* c = Find<TComponent>(*form, name);
    if (c) EXPECT_EQ(c->ClassName(), cls) << name;
  }

  // The six pages in their order, the Main page showing.
  auto* note = Find<TPageNote>(*form, "PageNoteInstall");
  ASSERT_TRUE(note);
  const char* pages[] = {"PageTab_Main",    "PageTab_InstallOption", "PageTab_Download",
                         "PageTab_Install", "PageTab_Finished",      "PageTab_Proxy"};
  ASSERT_EQ(note->TabCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(note->Page(i)->Name(), pages[i]);
  EXPECT_EQ(note->TabIndex(), 0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(note->Page(i)->Visible(), i == 0) << pages[i];

  // The states and texts the run relies on.
  EXPECT_FALSE(Find<TControl>(*form, "lblCaption")->Visible());
  EXPECT_EQ(Find<TControl>(*form, "lblCaption")->Caption(), "Quenvo VPN Browser Installer");
  EXPECT_FALSE(Find<TControl>(*form, "Cbx_Language")->Visible());
  EXPECT_EQ(Find<TControl>(*form, "btnMin")->Hint(), "Minimize");
  EXPECT_EQ(Find<TControl>(*form, "btnClose")->Hint(), "Close");
  EXPECT_EQ(Find<TControl>(*form, "lbl_AgreenInstall")->Caption(), "Install Now");
  EXPECT_EQ(Find<TControl>(*form, "lbl_Option")->Caption(), "Customize...");
  EXPECT_TRUE(Find<TControl>(*form, "lbl_Option")->Font().Style() & fsUnderline);
  auto* createIcon = Find<TRdImageButton>(*form, "cbxCreateIcon");
  EXPECT_TRUE(createIcon->ShowCheckBox() && createIcon->Checked());
  auto* taskbar = Find<TRdImageButton>(*form, "cbxTaskbar");
  EXPECT_TRUE(taskbar->ShowCheckBox() && taskbar->Checked() && !taskbar->Visible());
  auto* bookmark = Find<TCheckBox>(*form, "cbxBookmark");
  EXPECT_TRUE(!bookmark->Visible() && !bookmark->Checked());
  auto* license = Find<TRdHtmLabel>(*form, "InstallLicense");
  ASSERT_EQ(license->LinkItems().Count(), 2);
  EXPECT_EQ(license->Link(0)->Name(), "EULA");
  EXPECT_EQ(license->Link(1)->Name(), "Privacy Policy");
  EXPECT_EQ(license->PlainText(),
            "By installing or using this product, you agree to its EULA & Privacy Policy \n");
  EXPECT_EQ(Find<TRdProgressBar>(*form, "imgProgress_DP")->Max(), 10000);
  EXPECT_EQ(Find<TRdProgressBar>(*form, "imgProgress_DP")->Width(), 420);
  for (const char* edit : {"edtHost", "edtPort", "edtUserName", "edtPwd"})
    EXPECT_FALSE(Find<TControl>(*form, edit)->Showing()) << edit;
  EXPECT_EQ(Find<TEdit>(*form, "edtPort")->Text(), "80");
  auto* timer = Find<TRdTimer>(*form, "Timer_InstallProgress");
  EXPECT_EQ(timer->Interval(), 100);
  EXPECT_FALSE(timer->Enabled());
  auto* tray = Find<TCCTrayIcon>(*form, "Tray");
  EXPECT_FALSE(tray->Enabled());
  EXPECT_FALSE(tray->FHideOnMinimize);
  EXPECT_EQ(tray->FRestoreOn, TCCTrayIcon::ticNone);
  EXPECT_EQ(tray->IconList(), form->FindComponent("ImageNote_TrayIcon"));
  EXPECT_EQ(tray->PopupMenu(), form->FindComponent("popMenu"));
  for (const char* hidden : {"Rdbtn_FinishpgClose", "Rdbtn_FinishpgFeedback"})
    EXPECT_FALSE(Find<TControl>(*form, hidden)->Visible()) << hidden;
}

TEST_F(WindowDescriptionTest, NoticeWindowsHaveTheirControlsInPlace) {
  struct TRow {
    const char* Window;
    const char* Name;
    const char* Class;
    int Left, Top, Width, Height;  // -1: not fixed
    bool Visible;
  };
  const TRow rows[] = {
      {"TForm_Notice", "Imagebg", "TRdImageButton", 0, 0, 324, 152, true},
      {"TForm_Notice", "Imgborder", "TRdStretchImage", 0, 0, 324, 152, true},
      {"TForm_Notice", "ImageNoteStatus", "TRdImageNote", 16, 22, 30, 30, true},
      {"TForm_Notice", "lblStatusDes", "TRdLabel", 61, 22, 255, -1, true},
      {"TForm_Notice", "ButtonOK", "TRdImageButton", 235, 104, 73, 32, false},
      {"TForm_Notice", "ButtonYes", "TRdImageButton", 154, 104, 73, 32, false},
      {"TForm_Notice", "ButtonNO", "TRdImageButton", 235, 104, 73, 32, false},
      {"TForm_Notice", "Btn_Close", "TRdImageButton", 287, 1, -1, -1, false},
      {"TFormSysNotice", "RdPanel_Main", "TRdPanel", 0, 0, 344, 172, true},
      {"TFormSysNotice", "RdBtn_BorderBg", "TRdImageButton", 0, 0, 344, 172, true},
      {"TFormSysNotice", "Rdbtn_HeadBg", "TRdImageButton", 10, 10, 324, 30, true},
      {"TFormSysNotice", "lbl_Title", "TRdLabel", 20, 17, -1, -1, true},
      {"TFormSysNotice", "lblStatusDes", "TRdLabel", 26, 53, 292, -1, true},
      {"TFormSysNotice", "Image_Move", "TRdImage", 10, 10, 324, 152, true},
      {"TFormSysNotice", "ButtonOK", "TRdImageButton", 245, 114, 73, 32, true},
      {"TFormSysNotice", "Btn_Close", "TRdImageButton", 309, 15, 20, 20, true},
  };
  auto notice = Load("TForm_Notice");
  auto sys = Load("TFormSysNotice");
  for (const TRow& r : rows) {
    TRdForm& form = std::string(r.Window) == "TForm_Notice" ? *notice : *sys;
    auto* c = Find<TControl>(form, r.Name);
    if (!c) continue;
    EXPECT_EQ(c->ClassName(), r.Class) << r.Name;
    EXPECT_EQ(c->Left(), r.Left) << r.Name;
    EXPECT_EQ(c->Top(), r.Top) << r.Name;
    if (r.Width >= 0) EXPECT_EQ(c->Width(), r.Width) << r.Name;
    if (r.Height >= 0) EXPECT_EQ(c->Height(), r.Height) << r.Name;
    EXPECT_EQ(c->Visible(), r.Visible) << r.Name;
    if (form.Name() == "FormSysNotice" && std::string(r.Name) != "RdPanel_Main")
      EXPECT_EQ(c->Parent(), form.FindComponent("RdPanel_Main")) << r.Name;
  }
  EXPECT_EQ(notice->Name(), "Form_Notice");
  EXPECT_EQ(notice->ClientWidth(), 324);
  EXPECT_EQ(notice->ClientHeight(), 152);
  EXPECT_EQ(notice->Color(), 3615788u);
  EXPECT_EQ(notice->Left(), 0);
  EXPECT_EQ(notice->Top(), 0);
  auto* status = Find<TRdImageNote>(*notice, "ImageNoteStatus");
  ASSERT_EQ(status->Items().Count(), 2);
  EXPECT_EQ(status->ImageIndex(), 1);
  EXPECT_EQ(status->Picture().Width(), 30) << "the stored picture shows";
  auto* text = Find<TRdLabel>(*notice, "lblStatusDes");
  EXPECT_EQ(text->Font().Height(), -14);
  EXPECT_EQ(text->Font().Color(), 14863307u);
  EXPECT_TRUE(text->WordWrap() && text->FAutoShowHint && text->FEllipsisPosition == epEndEllipsis);
  EXPECT_EQ(Find<TRdImageButton>(*notice, "Btn_Close")->AllSkin().SkinClass(), "btn_close");
  EXPECT_EQ(Find<TRdImageButton>(*notice, "Imagebg")->ImageNormal().Text(),
            "imgname=images/smallwindow_bg.png");

  EXPECT_EQ(sys->ClientWidth(), 344);
  EXPECT_EQ(sys->ClientHeight(), 172);
  EXPECT_EQ(sys->FormStyle(), fsStayOnTop);
  EXPECT_FALSE(sys->Scaled());
  EXPECT_EQ(Find<TControl>(*sys, "Btn_Close")->Hint(), "Close");
  EXPECT_LE(Find<TControl>(*sys, "lblStatusDes")->Height(), 60);
  EXPECT_EQ(Find<TRdLabel>(*sys, "lbl_Title")->Font().Color(), clWhite);
}

TEST_F(WindowDescriptionTest, DescriptionsWriteBackWithoutLoss) {
  for (const char* resource : {"TfrmQVBDownloader", "TForm_Notice", "TFormSysNotice"}) {
    auto first = Load(resource);
    std::string written = TFormWriter::Write(*first);
    TRdForm second;
    TFormReadReport report = TFormReader::ReadRoot(second, written);
    EXPECT_TRUE(report.Warnings.empty()) << resource << ": " << report.Warnings.front();
    EXPECT_EQ(TFormWriter::Write(second), written) << resource;
    EXPECT_EQ(second.ComponentCount(), first->ComponentCount()) << resource;
  }
}

}  // namespace
