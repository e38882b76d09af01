#include <gtest/gtest.h>

#include "public/rdcontrol/ComboBox.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/PropertyResolver.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdHtmLabel.h"
#include "public/rdcontrol/RdImageButton.h"

namespace {

// A small window: a button, a licence label with two links, pages and a combo box.
class PropertyResolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.SetName("Form1");
    Button = new TRdImageButton(&Form);
    Button->SetName("btn");
    Button->SetParent(&Form);
    Label = new TRdHtmLabel(&Form);
    Label->SetName("lic");
    Label->SetParent(&Form);
    Label->LinkItems().Add();
    Label->LinkItems().Add();
    Note = new TPageNote(&Form);
    Note->SetName("note");
    Note->SetParent(&Form);
    for (const char* name : {"pageA", "pageB"}) {
      auto* page = new TPageTab(&Form);
      page->SetName(name);
      page->SetParent(Note);
    }
    Combo = new TComboBox(&Form);
    Combo->SetName("cbx");
    Combo->Items().SetLines({"English", "Deutsch"});
  }

  TRdForm Form;
  TRdImageButton* Button{};
  TRdHtmLabel* Label{};
  TPageNote* Note{};
  TComboBox* Combo{};
};

TEST_F(PropertyResolverTest, NestedAndIndexedPathsReachTheirObjects) {
  ASSERT_TRUE(SetPropertyValue(*Button, "Font.Color", TFormValue::Ident("clRed")));
  EXPECT_EQ(Button->Font().Color(), clRed);
  EXPECT_FALSE(Button->ParentFont()) << "a font change stops following the parent's font";

  ASSERT_TRUE(SetPropertyValue(*Button, "ImageOption.Left", TFormValue::Integer(63)));
  EXPECT_EQ(Button->ImageOption().Left(), 63);

  ASSERT_TRUE(SetPropertyValue(*Label, "LinkItems[1].Font.Color", TFormValue::Integer(0x807366)));
  EXPECT_EQ(Label->Link(1)->Font().Color(), 0x807366u);
  EXPECT_NE(Label->Link(0)->Font().Color(), 0x807366u);

  ASSERT_TRUE(SetPropertyText(*Combo, "Items[1]", "German"));
  EXPECT_EQ(Combo->Items().Strings(1), "German");

  TFormValue v;
  ASSERT_TRUE(GetPropertyValue(*Label, "LinkItems[1].Font.Color", v));
  EXPECT_EQ(v, TFormValue::Integer(0x807366));
  // Names ignore letter case, as the platform's do.
  ASSERT_TRUE(GetPropertyValue(*Button, "imageoption.LEFT", v));
  EXPECT_EQ(v, TFormValue::Integer(63));
}

TEST_F(PropertyResolverTest, IndexBeyondTheCollectionSkipsTheKey) {
  TPropertyResult r = SetPropertyValue(*Label, "LinkItems[2].Font.Color", TFormValue::Integer(1));
  EXPECT_EQ(r.Status, TPropertyResult::tsSkipped);
  EXPECT_EQ(r.Segment, "LinkItems[2]");
  EXPECT_EQ(Label->LinkItems().Count(), 2) << "a skipped key adds no item";
  EXPECT_EQ(SetPropertyText(*Combo, "Items[2]", "x").Status, TPropertyResult::tsSkipped);
}

TEST_F(PropertyResolverTest, FailuresNameTheSegment) {
  struct TCase {
    TPersistent* Object;
    const char* Path;
    TFormValue Value;
    TPropertyResult::TStatus Status;
    const char* Segment;
  };
  const TCase cases[] = {
      {nullptr, "Colour", TFormValue::Integer(1), TPropertyResult::tsUnknownProperty, "Colour"},
      {nullptr, "Font.Colour", TFormValue::Integer(1), TPropertyResult::tsUnknownProperty, "Colour"},
      {nullptr, "Caption.Length", TFormValue::Integer(1), TPropertyResult::tsNotAnObject, "Caption"},
      {nullptr, "Font", TFormValue::Integer(1), TPropertyResult::tsNotAnObject, "Font"},
      {nullptr, "ImageOption[0].Left", TFormValue::Integer(1), TPropertyResult::tsNotAnObject,
       "ImageOption[0]"},
      {nullptr, "FoundTextEllipsis", TFormValue::Boolean(true), TPropertyResult::tsReadOnly,
       "FoundTextEllipsis"},
      {nullptr, "Left", TFormValue::String("abc"), TPropertyResult::tsBadValue, "Left"},
      {nullptr, "Left", TFormValue::Integer(int64_t(1) << 40), TPropertyResult::tsBadValue, "Left"},
      {nullptr, "ButtonCaptionAlignment", TFormValue::Ident("taMiddle"), TPropertyResult::tsBadValue,
       "ButtonCaptionAlignment"},
      {nullptr, "Font.Style", TFormValue::Set({"fsBold", "fsWide"}), TPropertyResult::tsBadValue, "Style"},
      {nullptr, "ImageOption.Left.", TFormValue::Integer(1), TPropertyResult::tsUnknownProperty, ""},
  };
  for (const TCase& c : cases) {
    TPersistent& target = c.Object ? *c.Object : *Button;
    TPropertyResult r = SetPropertyValue(target, c.Path, c.Value);
    EXPECT_EQ(r.Status, c.Status) << c.Path << ": " << r.Message;
    EXPECT_EQ(r.Segment, c.Segment) << c.Path;
    EXPECT_FALSE(r.Message.empty()) << c.Path;
  }
  EXPECT_EQ(SetPropertyValue(*Label, "LinkItems[x].Font", TFormValue::Integer(1)).Status,
            TPropertyResult::tsBadIndex);
  EXPECT_EQ(Button->Left(), 0) << "a failed write changes nothing";
}

TEST_F(PropertyResolverTest, ValuesParseByPropertyType) {
  struct TCase {
    const char* Path;
    const char* Text;      // as a skin section or a translation gives it
    const char* Expected;  // read back as text
  };
  const TCase cases[] = {
      {"Left", "-12", "-12"},
      {"Caption", "#1 choice (best)", "#1 choice (best)"},  // strings are taken as written
      {"ShowCheckBox", "True", "True"},
      {"Font.Style", "[fsBold, fsUnderline]", "[fsBold, fsUnderline]"},
      {"ButtonCaptionAlignment", "taRightJustify", "taRightJustify"},
      {"Font.Color", "clWhite", "clWhite"},
      {"Font.Color", "16757760", "16757760"},
      {"FontHoverColor", "$00FFFFFF", "clWhite"},
  };
  for (const TCase& c : cases) {
    ASSERT_TRUE(SetPropertyText(*Button, c.Path, c.Text)) << c.Path;
    std::string back;
    ASSERT_TRUE(GetPropertyText(*Button, c.Path, back));
    EXPECT_EQ(back, c.Expected) << c.Path;
  }
  // A name that is no standard colour is a named skin colour, kept as its id.
  ASSERT_TRUE(SetPropertyText(*Button, "Font.Color", "main.text"));
  EXPECT_EQ(Button->Font().Color(), ColorIdOfName("main.text"));
}

TEST_F(PropertyResolverTest, ComponentReferencesResolveAmongTheRootsComponents) {
  ASSERT_TRUE(SetPropertyValue(*Note, "ActivePage", TFormValue::Ident("pageA")));
  EXPECT_EQ(Note->TabIndex(), 0);
  ASSERT_TRUE(SetPropertyValue(*Note, "ActivePage", TFormValue::Ident("Form1.pageB")));
  EXPECT_EQ(Note->TabIndex(), 1);
  TPropertyResult r = SetPropertyValue(*Note, "ActivePage", TFormValue::Ident("pageZ"));
  EXPECT_EQ(r.Status, TPropertyResult::tsBadValue);
  r = SetPropertyValue(*Note, "ActivePage", TFormValue::Ident("btn"));
  EXPECT_EQ(r.Status, TPropertyResult::tsBadValue) << "a button is not a page";
  EXPECT_EQ(Note->TabIndex(), 1);
  TFormValue v;
  ASSERT_TRUE(GetPropertyValue(*Note, "ActivePage", v));
  EXPECT_EQ(v, TFormValue::Ident("pageB"));
}

}  // namespace
