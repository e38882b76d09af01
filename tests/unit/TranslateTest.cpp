#include "public/rdcontrol/Translate.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/MemoryStream.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakePlatformScope.h"
#include "public/rdcontrol/ImageNote.h"
#include "public/rdcontrol/LabelNote.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/StringList.h"
#include "public/rdcontrol/WinControl.h"
#include "support/Language.h"

namespace {

// A control of any class name with a published Caption, standing in for the platform's kinds.
// A caption of "throw" makes its setter fail, as a broken control's setter might.
template <const char* KindName, const char* BaseName = nullptr>
class TKind : public TControl {
public:
  using TControl::TControl;
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TPropertyTable<TKind>(KindName, Base())
            .String("Caption", &TKind::Caption, &TKind::SetCaption)
            .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  static const TClassInfo* Base() {
    if constexpr (BaseName != nullptr)
      return &TKind<BaseName>::StaticClass();
    else
      return &TControl::StaticClass();
  }
  void SetCaption(const std::string& text) override {
    if (text == "throw") throw std::runtime_error("setter failed");
    TControl::SetCaption(text);
  }
};

// A combo box whose item list, like the platform's, loses the selection when it is replaced.
constexpr char kComboBox[] = "TComboBox";
class TTestComboBox : public TWinControl {
public:
  explicit TTestComboBox(TComponent* owner) : TWinControl(owner) {
    FItems.OnChange = [this] { FItemIndex = -1; };
  }
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TPropertyTable<TTestComboBox>(kComboBox, &TWinControl::StaticClass())
                                       .Strings("Items", [](TTestComboBox& c) -> TStringList& { return c.FItems; })
                                       .Integer("ItemIndex", &TTestComboBox::ItemIndex, &TTestComboBox::SetItemIndex)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int index) { FItemIndex = index; }
  TStringList FItems;
  int FItemIndex{-1};
};

constexpr char kLabel[] = "TLabel", kMyLabel[] = "TMyLabel", kRdLabel[] = "TRdLabel", kButton[] = "TButton",
               kGroupBox[] = "TGroupBox", kCheckBox[] = "TCheckBox", kRadioButton[] = "TRadioButton",
               kMenuItem[] = "TMenuItem", kToolButton[] = "TToolButton", kSpeedButton[] = "TSpeedButton",
               kTabSheet[] = "TTabSheet", kImageButton[] = "TRdImageButton", kEdit[] = "TEdit",
               kReportTab[] = "TReportTab", kForm[] = "TForm";

struct TWindowFixture {
  TFakePlatformScope Fake;
  TLanguage Language{"QVB"};
  TKind<kForm> Window{nullptr};

  TWindowFixture() {
    Window.SetName("frmTest");
    Window.SetCaption("designed window");
  }
  void Load(const std::string& text) {
    TMemoryStream stream(EncodeUtf16Le(text));
    Language.LoadFromResource(stream);
  }
  template <class T>
  T& Add(const std::string& name, const std::string& caption = "designed", TComponent* owner = nullptr) {
    auto* c = new T(owner ? owner : &Window);
    c->SetName(name);
    c->SetCaption(caption);
    return *c;
  }
};

TEST(Translate, EachKindOfTheTableTakesItsCaption) {
  TWindowFixture f;
  TControl* const controls[] = {
      &f.Add<TKind<kLabel>>("c0"),       &f.Add<TKind<kMyLabel, kLabel>>("c1"), &f.Add<TKind<kRdLabel>>("c2"),
      &f.Add<TKind<kButton>>("c3"),      &f.Add<TKind<kGroupBox>>("c4"),        &f.Add<TKind<kCheckBox>>("c5"),
      &f.Add<TKind<kRadioButton>>("c6"), &f.Add<TKind<kMenuItem>>("c7"),        &f.Add<TKind<kToolButton>>("c8"),
      &f.Add<TKind<kSpeedButton>>("c9"), &f.Add<TKind<kTabSheet>>("c10"),       &f.Add<TKind<kImageButton>>("c11"),
  };
  auto& edit = f.Add<TKind<kEdit>>("edt");  // not a kind the table names
  auto& untranslated = f.Add<TKind<kLabel>>("lblNoKey");
  std::string text = "[QVB_frmTest]\r\nfrmTest.Caption=window\r\nedt.Caption=changed\r\n";
  for (size_t i = 0; i < std::size(controls); ++i) text += "c" + std::to_string(i) + ".Caption=text " + std::to_string(i) + "\r\n";
  f.Load(text);

  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(f.Window.Caption(), "window");
  for (size_t i = 0; i < std::size(controls); ++i)
    EXPECT_EQ(controls[i]->Caption(), "text " + std::to_string(i)) << controls[i]->ClassName();
  EXPECT_EQ(edit.Caption(), "designed");
  EXPECT_EQ(untranslated.Caption(), "designed");  // a key the text lacks keeps the shown text

  TranslateComponent(f.Language, &f.Window);  // twice gives what once gave
  for (size_t i = 0; i < std::size(controls); ++i) EXPECT_EQ(controls[i]->Caption(), "text " + std::to_string(i));
}

TEST(Translate, ANamelessWindowOrAWindowWithoutSectionKeepsItsTexts) {
  TWindowFixture f;
  auto& label = f.Add<TKind<kLabel>>("lbl");
  f.Load("[QVB_]\r\n.Caption=nameless\r\nlbl.Caption=from nameless section\r\n"
         "[QVB_frmTest]\r\nlbl.Caption=translated\r\n");
  f.Window.SetName("");
  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(label.Caption(), "designed");
  EXPECT_EQ(f.Window.Caption(), "designed window");

  f.Window.SetName("frmOther");
  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(label.Caption(), "designed");
  EXPECT_EQ(f.Window.Caption(), "designed window");  // no key for the window's own caption
  TranslateComponent(f.Language, nullptr);
}

TEST(Translate, HintsOnlyWhenEnabledAndIndexedItems) {
  TWindowFixture f;
  auto& button = f.Add<TKind<kImageButton>>("btn");
  auto& quiet = f.Add<TKind<kImageButton>>("btnQuiet");
  button.SetShowHint(true);
  auto* image = new TImageNote(&f.Window);
  image->SetName("img");
  image->SetShowHint(true);
  auto* quietImage = new TImageNote(&f.Window);
  quietImage->SetName("imgQuiet");
  auto* combo = new TTestComboBox(&f.Window);
  combo->SetName("cbx");
  combo->FItems.SetLines({"one", "two", "three"});
  combo->SetItemIndex(2);
  auto* note = new TLabelNote(&f.Window);
  note->SetName("note");
  note->AddItem();
  note->AddItem();
  note->SetTextIndex(1);
  f.Load("[QVB_frmTest]\r\n"
         "btn.Caption=Close\r\nbtn.Hint=Close hint\r\nbtnQuiet.Caption=Quiet\r\nbtnQuiet.Hint=not shown\r\n"
         "img.Hint=Image hint\r\nimgQuiet.Hint=not shown\r\n"
         "cbx.Items[0].Caption=Eins\r\ncbx.Items[2].Caption=Drei\r\ncbx.Items[3].Caption=beyond\r\n"
         "note.Items[0].Caption=First\r\nnote.Items[1].Caption=Second\r\nnote.Caption=not a key of a note\r\n");

  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(button.Caption(), "Close");
  EXPECT_EQ(button.Hint(), "Close hint");
  EXPECT_EQ(quiet.Caption(), "Quiet");
  EXPECT_EQ(quiet.Hint(), "");
  EXPECT_EQ(image->Hint(), "Image hint");
  EXPECT_EQ(quietImage->Hint(), "");
  EXPECT_EQ(combo->FItems.Lines(), (std::vector<std::string>{"Eins", "two", "Drei"}));
  EXPECT_EQ(combo->ItemIndex(), 2);  // the selection survives the new item texts
  EXPECT_EQ(note->Item(0)->Text(), "First");
  EXPECT_EQ(note->Item(1)->Text(), "Second");
  EXPECT_EQ(note->Caption(), "Text_1");  // shown text refreshes only when an index is set
  note->SetTextIndex(1);
  EXPECT_EQ(note->Caption(), "Second");
}

TEST(Translate, ReportTabsUseTheirOwnSectionAndOnlyOwnedComponentsCount) {
  TWindowFixture f;
  auto& tab = f.Add<TKind<kReportTab>>("rptMain");
  auto& inner = f.Add<TKind<kLabel>>("lblInner", "designed", &tab);
  auto& plainOwner = f.Add<TKind<kEdit>>("pnl");
  auto& hidden = f.Add<TKind<kLabel>>("lblHidden", "designed", &plainOwner);
  f.Load("[QVB_frmTest]\r\nlblInner.Caption=wrong section\r\nlblHidden.Caption=not owned by the window\r\n"
         "[QVB_rptMain]\r\nrptMain.Caption=Report\r\nlblInner.Caption=Inner\r\n");
  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(tab.Caption(), "Report");
  EXPECT_EQ(inner.Caption(), "Inner");
  EXPECT_EQ(hidden.Caption(), "designed");
}

TEST(Translate, AFailingSetterStopsTheWalkInCreationOrder) {
  TWindowFixture f;
  auto& first = f.Add<TKind<kLabel>>("lblFirst");
  f.Add<TKind<kButton>>("btnBroken");
  auto& later = f.Add<TKind<kLabel>>("lblLater");
  f.Load("[QVB_frmTest]\r\nlblFirst.Caption=one\r\nbtnBroken.Caption=throw\r\nlblLater.Caption=three\r\n");
  TranslateComponent(f.Language, &f.Window);
  EXPECT_EQ(first.Caption(), "one");
  EXPECT_EQ(later.Caption(), "designed");
}

}  // namespace
