#include <gtest/gtest.h>

#include <map>

#include "public/rdcontrol/ClassRegistry.h"
#include "public/rdcontrol/FormReader.h"
#include "public/rdcontrol/FormWriter.h"
#include "public/rdcontrol/Label.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/PngCodec.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdHtmLabel.h"
#include "public/rdcontrol/RdImageButton.h"
#include "public/rdcontrol/RdImageNote.h"
#include "public/rdcontrol/RdTimer.h"

void PrintTo(const TFormValue& v, std::ostream* os) {
  *os << FormatFormValue(v);
}

namespace {

// A form that records the event bindings its description asks for.
class TRecordingForm : public TRdForm {
 public:
  std::vector<std::string> Bindings;
  void ResolveEvent(TPersistent& target, const std::string& event, const std::string& handler) override {
    auto* c = dynamic_cast<TComponent*>(&target);
    Bindings.push_back((c ? c->Name() : target.ClassName()) + "." + event + "=" + handler);
  }
};

std::string PngData() {
  TBitmap b(2, 2, MakePixel(255, 0, 0, 255));
  std::string png;
  EXPECT_TRUE(TPngCodec::Encode(b, png));
  return std::string(1, char(9)) + "TPngImage" + png;
}

// One value of every kind a description stores, through real components.
const std::string& AllKindsText() {
  static const std::string text = [] {
    std::string data;
    for (unsigned char c : PngData()) data += "0123456789ABCDEF"[c >> 4], data += "0123456789ABCDEF"[c & 15];
    return "object Form1: TRdForm\n"
           "  Caption = 'Fen'#234'tre ' + '''quoted'''\n"
           "  ClientHeight = 200\n"
           "  ClientWidth = 300\n"
           "  Color = 3615788\n"
           "  Font.Name = 'Roboto'\n"
           "  Font.Height = -12\n"
           "  BorderStyle = bsNone\n"
           "  OnCreate = FormCreate\n"
           "  object Note: TPageNote\n"
           "    Width = 300\n"
           "    Height = 200\n"
           "    ActivePage = PageB\n"
           "    object PageA: TPageTab\n"
           "      object Btn: TRdImageButton\n"
           "        Left = -5\n"
           "        Top = 10\n"
           "        Caption = 'Install ' + #8364\n"
           "        Font.Color = clWhite\n"
           "        Font.Style = [fsBold, fsUnderline]\n"
           "        FontHoverColor = -16777201\n"
           "        ButtonCaptionAlignment = taLeftJustify\n"
           "        ImageOption.Left = 63\n"
           "        ImageOption.StretchMode = sdmFill\n"
           "        ImageNormal.Data = {" +
           data +
           "}\n"
           "        ImageOver.Text = 'imgname=images/a.png'\n"
           "        AllSkin.SkinClass = 'btn_close'\n"
           "        AllSkin.IgnoreValues.Strings = ('Font.Color' 'Caption')\n"
           "        OnClick = BtnClick\n"
           "      end\n"
           "    end\n"
           "    object PageB: TPageTab\n"
           "      object Lic: TRdHtmLabel\n"
           "        Lines.Strings = (\n"
           "          'a <a>EULA</a> & <a>Privacy</a>'\n"
           "          'second line')\n"
           "        LinkItems = <\n"
           "          item\n"
           "            Name = 'EULA'\n"
           "            Font.Color = 8418150\n"
           "            OnClick = LicLink0Click\n"
           "          end\n"
           "          item\n"
           "            MaxLine = 1\n"
           "          end>\n"
           "      end\n"
           "    end\n"
           "  end\n"
           "  object Timer1: TRdTimer\n"
           "    Enabled = False\n"
           "    Interval = 100\n"
           "  end\n"
           "end\n";
  }();
  return text;
}

TEST(FormReaderTest, EveryValueKindSurvivesReadWriteRead) {
  TRecordingForm first;
  TFormReadReport report = TFormReader::ReadRoot(first, AllKindsText());
  EXPECT_TRUE(report.Warnings.empty()) << report.Warnings.front();

  auto* btn = dynamic_cast<TRdImageButton*>(first.FindComponent("Btn"));
  auto* lic = dynamic_cast<TRdHtmLabel*>(first.FindComponent("Lic"));
  auto* note = dynamic_cast<TPageNote*>(first.FindComponent("Note"));
  ASSERT_TRUE(btn && lic && note);
  EXPECT_EQ(first.Caption(), "Fen\xC3\xAAtre 'quoted'");
  EXPECT_EQ(btn->Caption(), "Install \xE2\x82\xAC");
  EXPECT_EQ(btn->Left(), -5);
  EXPECT_EQ(btn->Font().Style(), fsBold | fsUnderline);
  EXPECT_EQ(btn->FFontHoverColor, 0xFF00000Fu);
  EXPECT_EQ(btn->ImageNormal().Width(), 2);
  EXPECT_EQ(btn->Picture(TRdImageButton::piImageOver).Text(), "imgname=images/a.png");
  EXPECT_EQ(btn->AllSkin().IgnoreValues().Count(), 2);
  EXPECT_EQ(lic->Caption(), "a <a>EULA</a> & <a>Privacy</a><BR>second line");
  ASSERT_EQ(lic->LinkItems().Count(), 2);
  EXPECT_EQ(lic->Link(0)->Font().Color(), 8418150u);
  EXPECT_EQ(lic->Link(1)->FMaxLine, 1);
  EXPECT_EQ(note->ActivePage(), first.FindComponent("PageB"));
  EXPECT_EQ(btn->Parent(), first.FindComponent("PageA"));
  EXPECT_EQ(btn->Font().Name(), "Roboto") << "font taken from the form until its own values arrive";
  const std::vector<std::string> bindings{"Form1.OnCreate=FormCreate", "Btn.OnClick=BtnClick",
                                          "TRdHtmLabelLink.OnClick=LicLink0Click"};
  EXPECT_EQ(first.Bindings, bindings);

  // Writing, reading back and writing again gives the same description.
  const std::string written = TFormWriter::Write(first);
  TRecordingForm second;
  report = TFormReader::ReadRoot(second, written);
  EXPECT_TRUE(report.Warnings.empty()) << report.Warnings.front();
  EXPECT_EQ(TFormWriter::Write(second), written);
  EXPECT_EQ(TFormWriter::Describe(second), ParseFormText(written));
  EXPECT_EQ(second.Bindings, bindings);
  auto* btn2 = dynamic_cast<TRdImageButton*>(second.FindComponent("Btn"));
  ASSERT_TRUE(btn2);
  EXPECT_EQ(btn2->ImageNormal().Data(), PngData());
  EXPECT_EQ(btn2->Caption(), btn->Caption());
}

TEST(FormReaderTest, UnknownClassesAndPropertiesAreSkippedWithALine) {
  const char* text =
      "object F: TRdForm\n"
      "  Colour = clRed\n"
      "  object Gadget: TNoSuchClass\n"
      "    Left = 1\n"
      "    object Inner: TLabel\n"
      "    end\n"
      "  end\n"
      "  object L: TLabel\n"
      "    Caption = 'kept'\n"
      "    Font.Wibble = 3\n"
      "    Left = 'abc'\n"
      "    FocusControl = Nobody\n"
      "  end\n"
      "end\n";
  TRdForm form;
  TFormReadReport report = TFormReader::ReadRoot(form, text);
  ASSERT_EQ(report.Warnings.size(), 5u);
  EXPECT_NE(report.Warnings[0].find("line 2"), std::string::npos) << report.Warnings[0];
  EXPECT_NE(report.Warnings[1].find("line 3"), std::string::npos) << report.Warnings[1];
  EXPECT_NE(report.Warnings[2].find("line 10"), std::string::npos) << report.Warnings[2];
  EXPECT_NE(report.Warnings[3].find("line 11"), std::string::npos) << report.Warnings[3];
  EXPECT_NE(report.Warnings[4].find("line 12"), std::string::npos) << report.Warnings[4];
  EXPECT_EQ(form.FindComponent("Gadget"), nullptr);
  EXPECT_EQ(form.FindComponent("Inner"), nullptr) << "the children of a skipped object go with it";
  auto* label = dynamic_cast<TLabel*>(form.FindComponent("L"));
  ASSERT_TRUE(label);
  EXPECT_EQ(label->Caption(), "kept");
}

TEST(FormReaderTest, SyntaxErrorChangesNothing) {
  TRdForm form;
  EXPECT_THROW(
      TFormReader::ReadRoot(form, "object F: TRdForm\n  object L: TLabel\n    Caption = 'x\n  end\nend\n"),
      TFormSyntaxError);
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.Name(), "");
}

// While a description loads, the pages' container only records the chosen page; once everything
// is read it shows that page, whichever of TabIndex and ActivePage came first.
TEST(FormReaderTest, StoredPageIsSelectedAfterLoading) {
  const char* text =
      "object F: TRdForm\n"
      "  object N: TPageNote\n"
      "    TabIndex = 1\n"
      "    object P0: TPageTab\n"
      "    end\n"
      "    object P1: TPageTab\n"
      "    end\n"
      "    object P2: TPageTab\n"
      "    end\n"
      "  end\n"
      "end\n";
  TRdForm form;
  TFormReader::ReadRoot(form, text);
  auto* note = dynamic_cast<TPageNote*>(form.FindComponent("N"));
  ASSERT_TRUE(note);
  EXPECT_EQ(note->TabCount(), 3);
  EXPECT_EQ(note->TabIndex(), 1);
  EXPECT_TRUE(note->Page(1)->Visible());
  EXPECT_FALSE(note->Page(0)->Visible());
  EXPECT_FALSE(note->Page(2)->Visible());
  EXPECT_EQ(note->Page(0)->Name(), "P0") << "pages keep their stored order";
}

// The documented default of each published property is what a new object of the class has, so
// the writer's comparison with a new object leaves out exactly the defaults.
TEST(FormReaderTest, RegisteredDefaultsMatchNewObjects) {
  int checked = 0;
  for (const TClassInfo* info : TClassRegistry::All()) {
    if (!info->CanCreate()) continue;
    std::unique_ptr<TComponent> object(info->Create(nullptr));
    for (const TPropInfo* p : info->Properties()) {
      if (!p->Default || !p->Get || p->IsReadOnly()) continue;
      EXPECT_EQ(p->Get(*object), *p->Default) << info->Name() << "." << p->Name;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
