#include <gtest/gtest.h>

#include "public/rdcontrol/FormValue.h"

namespace {

TFormValue Collection(std::vector<TFormItem> items) {
  TFormValue v;
  v.Kind = TFormValue::vCollection;
  v.Collection = std::move(items);
  return v;
}

// Every value kind of the form syntax: what it reads as, and that writing it reads back the same.
TEST(FormValueTest, EveryValueKindReadsAndWritesBack) {
  struct TCase {
    const char* Text;
    TFormValue Expected;
  };
  const TCase cases[] = {
      {"12", TFormValue::Integer(12)},
      {"-3", TFormValue::Integer(-3)},
      {"$FF", TFormValue::Integer(255)},
      {"-9223372036854775808", TFormValue::Integer(INT64_MIN)},
      {"1.5", TFormValue::FloatValue(1.5)},
      {"2.5s", TFormValue::FloatValue(2.5, 's')},
      {"1.25c", TFormValue::FloatValue(1.25, 'c')},
      {"45000.5d", TFormValue::FloatValue(45000.5, 'd')},
      {"1E3", TFormValue::FloatValue(1000)},
      {"'It''s'", TFormValue::String("It's")},
      {"''", TFormValue::String("")},
      {"'a'#13#10'b'", TFormValue::String("a\r\nb")},
      {"'ab' +\n  'cd'", TFormValue::String("abcd")},
      {"#1055#1088#1080", TFormValue::String("\xD0\x9F\xD1\x80\xD0\xB8")},
      {"#55357#56832", TFormValue::String("\xF0\x9F\x98\x80")},  // a surrogate pair is one character
      {"'caf\xC3\xA9'", TFormValue::String("caf\xC3\xA9")},
      {"True", TFormValue::Ident("True")},
      {"Form1.Button1", TFormValue::Ident("Form1.Button1")},
      {"[akLeft, akTop]", TFormValue::Set({"akLeft", "akTop"})},
      {"[]", TFormValue::Set({})},
      {"(\n 'a'\n 'b'\n 3)",
       TFormValue::List({TFormValue::String("a"), TFormValue::String("b"), TFormValue::Integer(3)})},
      {"()", TFormValue::List({})},
      {"{0A1B2C}", TFormValue::Binary("\x0A\x1B\x2C")},
      {"{\n  0a1b\n  2c}", TFormValue::Binary("\x0A\x1B\x2C")},
      {"<\n item\n  Name = 'x'\n end\n item [2]\n  Tag = 1\n  Font.Style = [fsBold]\n end>",
       Collection(
           {TFormItem{std::nullopt, {{"Name", TFormValue::String("x"), 0}}},
            TFormItem{
                2, {{"Tag", TFormValue::Integer(1), 0}, {"Font.Style", TFormValue::Set({"fsBold"}), 0}}}})},
      {"<>", Collection({})},
  };
  for (const TCase& c : cases) {
    TFormValue v = ParseFormValue(c.Text);
    EXPECT_EQ(v, c.Expected) << c.Text;
    std::string written = FormatFormValue(v, 4);
    EXPECT_EQ(ParseFormValue(written), v) << c.Text << " written as " << written;
  }
}

TEST(FormValueTest, LongStringsSplitIntoPiecesThatReadBackWhole) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "Zeile \xE2\x82\xAC" + std::to_string(i) + "'\r\n";
  text += "\xF0\x9F\x98\x80";
  std::string written = FormatFormValue(TFormValue::String(text), 2);
  EXPECT_NE(written.find(" +\n    "), std::string::npos) << "pieces joined by ' +' and a line break";
  EXPECT_EQ(ParseFormValue(written), TFormValue::String(text));
}

TEST(FormValueTest, LiteralValuesFromSkinSections) {
  EXPECT_EQ(ParseLiteralValue("-12"), TFormValue::Integer(-12));
  EXPECT_EQ(ParseLiteralValue("taCenter"), TFormValue::Ident("taCenter"));
  EXPECT_EQ(ParseLiteralValue("Hello world"), TFormValue::String("Hello world"));
  EXPECT_EQ(ParseLiteralValue("'quoted'"), TFormValue::String("quoted"));
  EXPECT_EQ(ParseLiteralValue("[fsBold]"), TFormValue::Set({"fsBold"}));
  EXPECT_THROW(ParseLiteralValue("'open"), TFormSyntaxError);
}

TEST(FormValueTest, SyntaxErrorsNameTheirLine) {
  struct TCase {
    const char* Text;
    int Line;
  };
  const TCase cases[] = {
      {"object A: TX\n  Caption = 'abc\nend", 2},              // unterminated string
      {"object A: TX\n  Left = 1\n  Top 2\nend", 3},           // '=' missing
      {"object A: TX\n  S = [a b]\nend", 2},                   // ',' missing in a set
      {"object A: TX\n  D = {0A1\n  }\nend", 3},               // odd number of hex digits
      {"object A: TX\n  D = {0G}\nend", 2},                    // not a hex digit
      {"object A: TX\n  N = 99999999999999999999\nend", 2},    // beyond 64 bits
      {"object A: TX\n  N = 12px\nend", 2},                    // malformed number
      {"object A: TX\n  L = <item X = 1>\nend", 2},            // item without end
      {"object A: TX\n  object B: TY\n    Left = 1\nend", 4},  // one end missing
      {"object A: TX\nend\nobject B: TY\nend", 3},             // two roots
      {"objec A: TX\nend", 1},
  };
  for (const TCase& c : cases) {
    try {
      ParseFormText(c.Text);
      ADD_FAILURE() << "no error for: " << c.Text;
    } catch (const TFormSyntaxError& e) {
      EXPECT_EQ(e.Line(), c.Line) << c.Text << " -> " << e.what();
      EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.Line)), std::string::npos);
    }
  }
}

TEST(FormValueTest, NestingDeeperThanTheLimitIsRefused) {
  std::string deep = std::string(100000, '(') + std::string(100000, ')');
  EXPECT_THROW(ParseFormValue(deep), TFormSyntaxError);
  std::string objects;
  for (int i = 0; i < 5000; ++i) objects += "object A: TX\n";
  for (int i = 0; i < 5000; ++i) objects += "end\n";
  EXPECT_THROW(ParseFormText(objects), TFormSyntaxError);
}

TEST(FormValueTest, ObjectTreesWriteBackUnchanged) {
  const char* text =
      "inherited Form1: TForm1\n"
      "  Caption = 'Main'\n"
      "  object Panel1: TPanel [2]\n"
      "    Align = alClient\n"
      "    object TMenuItem\n"
      "    end\n"
      "  end\n"
      "end\n";
  TFormObject root = ParseFormText(text);
  EXPECT_EQ(root.Kind, TFormObject::okInherited);
  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Order, 2);
  EXPECT_EQ(root.Children[0].Children[0].Name, "");
  EXPECT_EQ(root.Children[0].Children[0].ClassName, "TMenuItem");
  EXPECT_EQ(FormatFormText(root), text);
}

}  // namespace
