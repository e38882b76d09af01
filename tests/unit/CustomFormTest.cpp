#include <gtest/gtest.h>

#include "platform/EventLoop.h"
#include "platform/HeadlessWindowSystem.h"
#include "public/rdcontrol/Edit.h"
#include "public/rdcontrol/Image.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdImageButton.h"

namespace {

constexpr int FormLeft = 100, FormTop = 50;

// A window on a headless screen; input is injected in screen coordinates.
class CustomFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PreviousLoop = TEventLoop::SetMain(&Loop);
    auto system = std::make_unique<THeadlessWindowSystem>(Loop);
    Screen = system.get();
    PreviousSystem = TWindowSystem::Install(std::move(system));
    // A hung modal loop fails instead of hanging the run.
    Loop.SingleShot(60000, [this] {
      ADD_FAILURE() << "the loop did not end";
      Loop.Quit(-1);
    });

    Form = std::make_unique<TRdForm>();
    Form->SetBounds(FormLeft, FormTop, 300, 200);
    Back = Add<TImage>("back", 0, 0, 300, 200);
    Button = Add<TRdImageButton>("btn", 20, 20, 80, 30);
    Ghost = Add<TRdImageButton>("ghost", 20, 20, 80, 30);  // above btn, lets the mouse through
    Ghost->SetHitTest(false);
    auto* hidden = Add<TRdImageButton>("hidden", 150, 20, 80, 30);
    hidden->Hide();
    auto* disabled = Add<TRdImageButton>("disabled", 150, 80, 80, 30);
    disabled->SetEnabled(false);
    Edit = Add<TEdit>("edit", 20, 120, 120, 24);
    for (TControl* c :
         {static_cast<TControl*>(Back), static_cast<TControl*>(Button), static_cast<TControl*>(Ghost),
          static_cast<TControl*>(hidden), static_cast<TControl*>(disabled)}) {
      c->OnClick = [this](TComponent* s) { Log.push_back("click " + s->Name()); };
      c->OnMouseEnter = [this](TComponent* s) { Log.push_back("enter " + s->Name()); };
      c->OnMouseLeave = [this](TComponent* s) { Log.push_back("leave " + s->Name()); };
    }
    Form->Show();
  }
  void TearDown() override {
    Form.reset();
    TWindowSystem::Install(std::move(PreviousSystem));
    TEventLoop::SetMain(PreviousLoop);
  }
  template <class T>
  T* Add(const char* name, int l, int t, int w, int h) {
    auto* c = new T(Form.get());
    c->SetName(name);
    c->SetParent(Form.get());
    c->SetBounds(l, t, w, h);
    return c;
  }
  std::vector<std::string> Take() { return std::exchange(Log, {}); }
  void ClickAt(int x, int y) { Screen->Click(FormLeft + x, FormTop + y); }

  TManualClock Clock;
  TEventLoop Loop{&Clock};
  TEventLoop* PreviousLoop{};
  std::unique_ptr<TWindowSystem> PreviousSystem;
  THeadlessWindowSystem* Screen{};
  std::unique_ptr<TRdForm> Form;
  TImage* Back{};
  TRdImageButton* Button{};
  TRdImageButton* Ghost{};
  TEdit* Edit{};
  std::vector<std::string> Log;
};

TEST_F(CustomFormTest, ClicksGoToTheControlUnderThePointThatTakesThem) {
  struct TCase {
    int X, Y;
    const char* Clicked;
  };
  const TCase cases[] = {
      {25, 25, "click btn"},    // through the ghost, whose HitTest is off
      {160, 25, "click back"},  // a hidden button takes nothing
      {160, 85, "click back"},  // nor does a disabled one
      {250, 180, "click back"},
  };
  for (const TCase& c : cases) {
    ClickAt(c.X, c.Y);
    std::vector<std::string> log = Take();
    ASSERT_FALSE(log.empty()) << c.X << "," << c.Y;
    EXPECT_EQ(log.back(), c.Clicked) << c.X << "," << c.Y;
  }
}

TEST_F(CustomFormTest, PressedControlKeepsTheMouseAndClicksOnlyWhenReleasedInside) {
  std::vector<std::string> moves;
  Button->OnMouseMove = [&](TComponent*, uint32_t, int x, int y) {
    moves.push_back(std::to_string(x) + "," + std::to_string(y));
  };
  Screen->MouseMove(FormLeft + 30, FormTop + 30);
  Screen->MouseDown(FormLeft + 30, FormTop + 30);
  EXPECT_EQ(Button->ButtonState(), TRdImageButton::bsDown);
  EXPECT_EQ(Form->CaptureControl(), Button);
  Screen->MouseMove(FormLeft + 250, FormTop + 150);
  EXPECT_EQ(moves.back(), "230,130") << "moves outside still reach the pressed control, in its coordinates";
  EXPECT_EQ(Button->ButtonState(), TRdImageButton::bsNormal) << "leaving returns a down button to normal";
  Screen->MouseUp(FormLeft + 250, FormTop + 150);
  for (const std::string& e : Take()) EXPECT_NE(e, "click btn");
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(CustomFormTest, HoverEntersAndLeavesAsThePointerMoves) {
  Screen->MouseMove(FormLeft + 250, FormTop + 150);
  Screen->MouseMove(FormLeft + 30, FormTop + 30);
  Screen->MouseMove(FormLeft + 40, FormTop + 35);
  Screen->MouseMove(FormLeft + 250, FormTop + 150);
  Screen->MouseMove(FormLeft + 400, FormTop + 150);  // off the window
  EXPECT_EQ(Take(), (std::vector<std::string>{"enter back", "leave back", "enter btn", "leave btn",
                                              "enter back", "leave back"}));
  EXPECT_EQ(Form->HoverControl(), nullptr);
}

TEST_F(CustomFormTest, HidingOrFreeingTheHoveredControlForgetsIt) {
  Screen->MouseMove(FormLeft + 30, FormTop + 30);
  ASSERT_EQ(Form->HoverControl(), Button);
  Button->Hide();
  EXPECT_EQ(Form->HoverControl(), nullptr);
  EXPECT_EQ(Take().back(), "leave btn");
  Button->Show();
  Screen->MouseMove(FormLeft + 31, FormTop + 30);
  Screen->MouseDown(FormLeft + 31, FormTop + 30);
  delete Button;
  EXPECT_EQ(Form->HoverControl(), nullptr);
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  Screen->MouseUp(FormLeft + 31, FormTop + 30);  // goes to what is there now, without a fault
}

TEST_F(CustomFormTest, KeysGoToTheFocusedControlAfterThePreview) {
  ClickAt(30, 130);
  EXPECT_EQ(Form->ActiveControl(), Edit);
  Screen->TypeText("ab");
  EXPECT_EQ(Edit->Text(), "ab");
  Screen->KeyDown(VK_BACK);
  EXPECT_EQ(Edit->Text(), "a");
  Form->SetKeyPreview(true);
  Form->OnKeyPress = [](TComponent*, std::string& key) {
    if (key == "x") key.clear();  // the window swallows it
  };
  Screen->TypeText("xy");
  EXPECT_EQ(Edit->Text(), "ay");
}

TEST_F(CustomFormTest, ModalShowEndsWhenTheWindowCloses) {
  TRdForm dialog;
  dialog.SetBounds(500, 300, 200, 100);
  auto* ok = new TRdImageButton(&dialog);
  ok->SetParent(&dialog);
  ok->SetBounds(10, 10, 60, 30);
  ok->OnClick = [&](TComponent*) { dialog.SetModalResult(mrOk); };

  // A click on the dialog's button gives its modal result; the main window is disabled meanwhile.
  bool ownerEnabled = true;
  Loop.Post([&] {
    ownerEnabled = Form->NativeWindow()->Enabled();
    Screen->Click(515, 315);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(Form->NativeWindow()->Enabled());
  EXPECT_FALSE(dialog.Visible());

  // Closing by the window manager counts as cancel; a refused close keeps the dialog open.
  int asked = 0;
  dialog.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++asked > 1; };
  Loop.Post([&] {
    Screen->RequestClose(*static_cast<THeadlessWindow*>(dialog.NativeWindow()));
    EXPECT_TRUE(dialog.Visible()) << "the first close was refused";
    Screen->RequestClose(*static_cast<THeadlessWindow*>(dialog.NativeWindow()));
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
}

TEST_F(CustomFormTest, SavedFrameShowsTheTree) {
  Back->Picture().SetBitmap(TBitmap(4, 4, MakePixel(0, 0, 255, 255)));
  Back->FStretch = true;
  const TBitmap& frame = Form->PaintFrame();
  ASSERT_EQ(frame.Width(), 300);
  EXPECT_EQ(frame.Pixel(290, 190), MakePixel(0, 0, 255, 255));
  EXPECT_EQ(Screen->WindowAt(FormLeft + 1, FormTop + 1)->FrameCount() > 0, true);
}

}  // namespace
