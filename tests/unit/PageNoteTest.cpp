#include <gtest/gtest.h>

#include <map>

#include "platform/EventLoop.h"
#include "platform/HeadlessWindowSystem.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdImageButton.h"

namespace {

// A window with a page container; pages are added in code as the description reader adds them.
class PageNoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Note = new TPageNote(&Form);
    Note->SetParent(&Form);
  }
  TPageTab* AddPage(const std::string& name) {
    auto* page = new TPageTab(&Form);
    page->SetName(name);
    page->SetCaption("caption");
    page->SetParent(Note);
    return page;
  }
  std::string Order() const {
    std::string out;
    for (int i = 0; i < Note->TabCount(); ++i) out += Note->Page(i)->Name();
    return out;
  }
  // The pages shown, which must be exactly the current one.
  std::string Shown() const {
    std::string out;
    for (int i = 0; i < Note->TabCount(); ++i)
      if (Note->Page(i)->Visible()) out += Note->Page(i)->Name();
    return out;
  }

  TRdForm Form;
  TPageNote* Note{};
};

TEST_F(PageNoteTest, NewPagesGoAfterTheCurrentOneAndBecomeCurrent) {
  EXPECT_EQ(Note->TabIndex(), -1);
  EXPECT_EQ(Note->Width(), 150);
  TPageTab* a = AddPage("A");
  EXPECT_EQ(Note->TabIndex(), 0);
  EXPECT_EQ(a->Align(), alClient);
  EXPECT_EQ(a->BevelOuter(), bvNone);
  EXPECT_EQ(a->Caption(), "");
  AddPage("B");
  AddPage("C");
  EXPECT_EQ(Order(), "ABC");
  Note->SetTabIndex(0);
  AddPage("D");  // right after A
  EXPECT_EQ(Order(), "ADBC");
  EXPECT_EQ(Note->TabIndex(), 1);
  EXPECT_EQ(Shown(), "D");
  EXPECT_EQ(a->BoundsRect(), Note->ClientRect()) << "a page fills its container";
}

TEST_F(PageNoteTest, IndexesOutsideTheListOrTheCurrentOneChangeNothing) {
  AddPage("A");
  AddPage("B");
  AddPage("C");
  Note->SetTabIndex(1);
  for (int index : {1, -1, 3, 99}) {
    Note->SetTabIndex(index);
    EXPECT_EQ(Note->TabIndex(), 1) << index;
    EXPECT_EQ(Shown(), "B") << index;
  }
  Note->SetActivePage(nullptr);
  EXPECT_EQ(Note->TabIndex(), 1);
  TPageNote other(nullptr);
  auto* foreign = new TPageTab(&other);
  foreign->SetParent(&other);
  EXPECT_TRUE(Note->SetActivePage(foreign));
  EXPECT_EQ(Note->TabIndex(), 1) << "a page of another container is ignored";
}

// A page that notes, at each change of its visibility, how many pages of its container show.
class TWatchedPage : public TPageTab {
 public:
  using TPageTab::TPageTab;
  std::vector<int>* Log{nullptr};

 protected:
  void VisibleChanged() override {
    TPageNote* note = PageNote();
    if (!Log || !note) return;
    int shown = 0;
    for (int i = 0; i < note->TabCount(); ++i) shown += note->Page(i)->Visible();
    Log->push_back(shown);
  }
};

// The new page is shown and raised before the old one is hidden, so the area never shows empty.
TEST_F(PageNoteTest, SwitchShowsTheNewPageBeforeHidingTheOld) {
  std::vector<int> log;
  auto* a = new TWatchedPage(&Form);
  a->SetParent(Note);
  auto* b = new TWatchedPage(&Form);
  b->SetParent(Note);
  Note->SetTabIndex(0);
  a->Log = b->Log = &log;
  Note->SetTabIndex(1);
  EXPECT_EQ(log, (std::vector<int>{2, 1})) << "B shows (two visible), then A hides (one)";
  EXPECT_EQ(Note->Controls(Note->ControlCount() - 1), b) << "the new page is on top";
  EXPECT_TRUE(b->Visible());
  EXPECT_FALSE(a->Visible());
}

TEST_F(PageNoteTest, RemovingPagesSelectsThePageThatTookThePlace) {
  struct TCase {
    int Current;
    const char* Remove;
    const char* Order;
    int Index;
  };
  const TCase cases[] = {
      {1, "B", "AC", 1},  // the current page of three: the one that took its position
      {2, "C", "AB", 0},  // the last one: index 0
      {0, "A", "BC", 0},
  };
  for (const TCase& c : cases) {
    TRdForm form;
    auto* note = new TPageNote(&form);
    note->SetParent(&form);
    std::map<std::string, TPageTab*> pages;
    for (const char* n : {"A", "B", "C"}) {
      auto* p = new TPageTab(&form);
      p->SetName(n);
      p->SetParent(note);
      pages[n] = p;
    }
    note->SetTabIndex(c.Current);
    delete pages[c.Remove];
    std::string order;
    for (int i = 0; i < note->TabCount(); ++i) order += note->Page(i)->Name();
    EXPECT_EQ(order, c.Order) << c.Remove;
    EXPECT_EQ(note->TabIndex(), c.Index) << c.Remove;
    EXPECT_TRUE(note->ActivePage()->Visible()) << c.Remove;
  }
  TPageTab* only = AddPage("Only");
  delete only;
  EXPECT_EQ(Note->TabIndex(), -1);
  EXPECT_EQ(Note->ActivePage(), nullptr);
}

TEST_F(PageNoteTest, FreeingTheContainerFreesItsPages) {
  AddPage("A");
  AddPage("B");
  EXPECT_EQ(Form.ComponentCount(), 3);
  delete Note;
  EXPECT_EQ(Form.ComponentCount(), 0) << "the pages left their owner as they went";
}

TEST_F(PageNoteTest, ShowControlMovesStrayChildrenOntoTheActivePage) {
  AddPage("A");
  TPageTab* b = AddPage("B");
  auto* stray = new TRdImageButton(&Form);
  stray->SetParent(Note);
  Note->ShowControl(Note->Page(0));
  EXPECT_EQ(Note->TabIndex(), 0);
  EXPECT_EQ(stray->Parent(), Note->Page(0));
  EXPECT_FALSE(b->Visible());
}

// An empty page lets the mouse through to what lies below; its children still take their own.
TEST_F(PageNoteTest, EmptyPageAreaIsTransparentToTheMouse) {
  Note->SetBounds(0, 0, 200, 100);
  TPageTab* page = AddPage("A");
  auto* button = new TRdImageButton(&Form);
  button->SetParent(page);
  button->SetBounds(10, 10, 50, 20);
  EXPECT_EQ(Form.ControlAtPos({20, 20}), button);
  EXPECT_EQ(Form.ControlAtPos({150, 50}), Note) << "the page's own area passes through";
  Note->SetEditTabs(true);
  EXPECT_EQ(Form.ControlAtPos({150, 50}), page);
}

}  // namespace
