#include "public/rdcontrol/LabelNote.h"

#include <gtest/gtest.h>

#include "public/rdcontrol/PropertyResolver.h"

namespace {

struct TThreeItems {
  TLabelNote Note{nullptr};
  TThreeItems() {
    const char* const names[] = {"a", "shared", "shared"};
    for (const char* name : names) Note.AddItem().SetName(name);
    Note.SetCaption("designed");
  }
};

TEST(LabelNote, NewItemsAreNamedByTheirPlace) {
  TLabelNote note;
  EXPECT_EQ(note.AddItem().Text(), "Text_0");
  EXPECT_EQ(note.AddItem().Text(), "Text_1");
  note.Items().Delete(0);
  EXPECT_EQ(note.AddItem().Text(), "Text_1");  // the count after adding, minus one
  EXPECT_EQ(note.Item(0)->Name(), "");
  EXPECT_EQ(note.Item(0)->DisplayName(), "Text_1");

  note.Item(0)->SetName("kept");
  note.Item(0)->Assign(*note.Item(1));  // copies the text only
  EXPECT_EQ(note.Item(0)->Name(), "kept");
  EXPECT_EQ(note.Item(0)->Text(), "Text_1");
}

TEST(LabelNote, TextIndexAcceptsOnlyAnItemsIndex) {
  struct TCase {
    int Index;
    int ExpectedIndex;
    const char* ExpectedCaption;
  };
  const TCase cases[] = {{1, 1, "Text_1"}, {0, 0, "Text_0"}, {2, 2, "Text_2"},
                         {3, -1, "designed"}, {5, -1, "designed"}, {-1, -1, "designed"}, {-2, -1, "designed"}};
  for (const TCase& c : cases) {
    TThreeItems f;
    f.Note.SetTextIndex(c.Index);
    EXPECT_EQ(f.Note.TextIndex(), c.ExpectedIndex) << c.Index;
    EXPECT_EQ(f.Note.Caption(), c.ExpectedCaption) << c.Index;
  }
  TThreeItems f;
  f.Note.SetTextIndex(1);
  f.Note.SetTextIndex(5);  // ignored: the old index and caption stay
  EXPECT_EQ(f.Note.TextIndex(), 1);
  EXPECT_EQ(f.Note.Caption(), "Text_1");
}

TEST(LabelNote, NameIndexFindsTheFirstExactName) {
  TThreeItems f;
  EXPECT_EQ(f.Note.NameIndex(), "");
  f.Note.SetNameIndex("shared");
  EXPECT_EQ(f.Note.TextIndex(), 1);
  EXPECT_EQ(f.Note.NameIndex(), "shared");
  f.Note.SetNameIndex("SHARED");  // letter case counts
  f.Note.SetNameIndex("missing");
  EXPECT_EQ(f.Note.TextIndex(), 1);
  // Through the published property, as a description or a skin would set it.
  ASSERT_TRUE(SetPropertyText(f.Note, "NameIndex", "a"));
  EXPECT_EQ(f.Note.Caption(), "Text_0");
}

TEST(LabelNote, WhileReadingTheIndexIsOnlyKept) {
  TLabelNote note;
  note.SetCaption("stored caption");
  note.SetStateFlag(csReading, true);
  note.SetTextIndex(4);  // the items are not read yet
  note.SetStateFlag(csReading, false);
  EXPECT_EQ(note.TextIndex(), 4);
  EXPECT_EQ(note.Caption(), "stored caption");
  EXPECT_EQ(note.NameIndex(), "");  // names nothing rather than reading past the items
}

}  // namespace
