#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/EventLoop.h"
#include "platform/HeadlessWindowSystem.h"
#include "public/rdcontrol/PngCodec.h"
#include "public/rdcontrol/WindowFrame.h"

namespace {

// Records what a window receives.
struct TRecorder {
  std::vector<std::string> Events;
  void Attach(TNativeWindow& w, const std::string& name) {
    auto mouse = [this, name](const char* kind) {
      return [this, name, kind](const TMouseEvent& e) {
        Events.push_back(name + " " + kind + " " + std::to_string(e.X) + "," + std::to_string(e.Y));
      };
    };
    w.OnMouseMove = mouse("move");
    w.OnMouseDown = mouse("down");
    w.OnMouseUp = mouse("up");
    w.OnMouseWheel = [this, name](const TMouseEvent& e) {
      Events.push_back(name + " wheel " + std::to_string(e.WheelDelta));
    };
    w.OnMouseLeave = [this, name] { Events.push_back(name + " leave"); };
    w.OnKeyDown = [this, name](const TKeyEvent& e) {
      Events.push_back(name + " key " + std::to_string(e.Key));
    };
    w.OnKeyChar = [this, name](const TKeyEvent& e) { Events.push_back(name + " char " + e.Text); };
    w.OnFocusChanged = [this, name](bool f) { Events.push_back(name + (f ? " focus" : " blur")); };
    w.OnCloseRequest = [this, name] { Events.push_back(name + " close"); };
  }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

class HeadlessWindowSystemTest : public ::testing::Test {
 protected:
  std::unique_ptr<TNativeWindow> Make(TWindowRect bounds, bool topmost = false) {
    TWindowParams p;
    p.Bounds = bounds;
    p.Topmost = topmost;
    return FSystem.CreateNativeWindow(p);
  }
  TManualClock FClock;
  TEventLoop FLoop{&FClock};
  THeadlessWindowSystem FSystem{FLoop};
  TRecorder FRec;
};

using Events = std::vector<std::string>;

TEST_F(HeadlessWindowSystemTest, MouseGoesToTheTopWindowInClientCoordinates) {
  auto a = Make({0, 0, 100, 100}), b = Make({50, 50, 100, 100});
  FRec.Attach(*a, "a");
  FRec.Attach(*b, "b");
  a->Show();
  b->Show();
  FRec.Take();
  EXPECT_TRUE(FSystem.MouseMove(60, 70));
  EXPECT_TRUE(FSystem.MouseMove(10, 20));
  EXPECT_FALSE(FSystem.MouseMove(500, 500));
  EXPECT_EQ(FRec.Take(), (Events{"b move 10,20", "b leave", "a move 10,20", "a leave"}));
  // A click raises and activates the window under the point.
  EXPECT_TRUE(FSystem.Click(60, 60));
  EXPECT_TRUE(FSystem.Click(20, 20));
  EXPECT_EQ(FRec.Take(), (Events{"b move 10,10", "b down 10,10", "b up 10,10", "b leave", "a move 20,20",
                                 "b blur", "a focus", "a down 20,20", "a up 20,20"}));
  EXPECT_EQ(FSystem.WindowAt(60, 60), a.get());
  EXPECT_TRUE(FSystem.MouseWheel(60, 60, -120));
  EXPECT_EQ(FRec.Take(), (Events{"a wheel -120"}));
}

TEST_F(HeadlessWindowSystemTest, TopmostHiddenDisabledAndMinimisedWindows) {
  auto top = Make({0, 0, 50, 50}, true), normal = Make({0, 0, 50, 50});
  FRec.Attach(*top, "top");
  FRec.Attach(*normal, "normal");
  top->Show(false);
  normal->Show();
  EXPECT_EQ(FSystem.WindowAt(5, 5), top.get());  // stays above a window shown later
  top->Hide();
  EXPECT_EQ(FSystem.WindowAt(5, 5), normal.get());
  normal->SetEnabled(false);
  FRec.Take();
  EXPECT_FALSE(FSystem.Click(5, 5));
  EXPECT_FALSE(FSystem.KeyDown(VK_RETURN));
  normal->SetEnabled(true);
  normal->Minimize();
  EXPECT_FALSE(FSystem.Click(5, 5));
  normal->Restore();
  EXPECT_TRUE(FSystem.Click(5, 5));
  EXPECT_EQ(FRec.Take(), (Events{"normal blur", "normal focus", "normal down 5,5", "normal up 5,5"}));
}

TEST_F(HeadlessWindowSystemTest, PressedWindowKeepsTheMouseUntilRelease) {
  auto a = Make({0, 0, 100, 100});
  FRec.Attach(*a, "a");
  a->Show();
  FRec.Take();
  FSystem.MouseDown(10, 10);
  FSystem.MouseMove(300, 10);
  FSystem.MouseUp(300, 10);
  EXPECT_FALSE(FSystem.MouseMove(310, 10));
  EXPECT_EQ(FRec.Take(), (Events{"a move 10,10", "a down 10,10", "a move 300,10", "a up 300,10", "a leave"}));
}

TEST_F(HeadlessWindowSystemTest, SystemMoveFollowsThePointerUntilRelease) {
  auto a = Make({100, 100, 200, 50});
  std::vector<TWindowRect> moves;
  a->OnMouseDown = [&](const TMouseEvent& e) { a->StartSystemMove(e.ScreenX, e.ScreenY); };
  a->OnBoundsChanged = [&](const TWindowRect& r) { moves.push_back(r); };
  int seenMoves = 0;
  a->OnMouseMove = [&](const TMouseEvent&) { ++seenMoves; };
  a->Show();
  FSystem.MouseDown(110, 105);
  seenMoves = 0;
  FSystem.MouseMove(150, 125);
  FSystem.MouseUp(150, 125);
  EXPECT_EQ(a->Bounds(), (TWindowRect{140, 120, 200, 50}));
  EXPECT_EQ(moves.size(), 1u);
  EXPECT_EQ(seenMoves, 0);
  FSystem.MouseMove(160, 125);
  EXPECT_EQ(a->Bounds().Left, 140);
  EXPECT_EQ(seenMoves, 1);
}

TEST_F(HeadlessWindowSystemTest, KeysAndTextGoToTheActiveWindow) {
  auto a = Make({0, 0, 10, 10}), b = Make({20, 0, 10, 10});
  FRec.Attach(*a, "a");
  FRec.Attach(*b, "b");
  a->Show();
  b->Show(false);
  FRec.Take();
  EXPECT_TRUE(FSystem.KeyDown(VK_ESCAPE));
  EXPECT_TRUE(FSystem.TypeText("a\xC3\xA9\xE2\x82\xAC"));
  EXPECT_EQ(FRec.Take(), (Events{"a key 27", "a char a", "a char \xC3\xA9", "a char \xE2\x82\xAC"}));
  a->Hide();  // the active window goes: the next visible one takes over
  EXPECT_EQ(FSystem.ActiveWindow(), b.get());
  FSystem.RequestClose(static_cast<THeadlessWindow&>(*b));
  EXPECT_EQ(FRec.Take(), (Events{"a blur", "b focus", "b close"}));
}

TEST_F(HeadlessWindowSystemTest, InvalidateCoalescesAndSurvivesTheWindowsEnd) {
  auto a = Make({0, 0, 10, 10});
  int paints = 0;
  a->OnPaint = [&] { ++paints; };
  a->Invalidate();
  a->Invalidate();
  FLoop.ProcessPendingMessages();
  EXPECT_EQ(paints, 1);
  a->Invalidate();
  a.reset();  // the posted paint must find the window gone
  FLoop.ProcessPendingMessages();
  EXPECT_EQ(paints, 1);
}

TEST_F(HeadlessWindowSystemTest, FramesConvertToRgbaAndSaveAsPng) {
  auto a = Make({0, 0, 2, 1});
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  EXPECT_FALSE(a->GrabFrame(rgba, w, h));
  const uint8_t bgra[] = {1, 2, 3, 255, 40, 50, 60, 128, 0xEE, 0xEE};  // stride 10
  a->SetFrame(bgra, 2, 1, 10, TFramePixelFormat::Bgra);
  ASSERT_TRUE(a->GrabFrame(rgba, w, h));
  EXPECT_EQ(rgba, (std::vector<uint8_t>{3, 2, 1, 255, 60, 50, 40, 128}));

  TBitmap picture(2, 1);
  picture.SetPixel(0, 0, PremultipliedPixel(clRed, 255));
  picture.SetPixel(1, 0, PremultipliedPixel(clWhite, 128));
  ShowBitmapInWindow(*a, picture);
  EXPECT_EQ(WindowFrameBitmap(*a), picture);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("qvb-frame-" + std::to_string(std::random_device()()) + ".png"))
                               .string();
  std::string error;
  ASSERT_TRUE(SaveWindowFrame(*a, path, &error)) << error;
  TBitmap loaded;
  ASSERT_TRUE(TPngCodec::LoadFromFile(path, loaded, nullptr, &error)) << error;
  EXPECT_EQ(loaded, picture);
  std::filesystem::remove(path);
  auto empty = Make({0, 0, 2, 1});
  EXPECT_FALSE(SaveWindowFrame(*empty, path, &error));
}

TEST(WindowSystemChoiceTest, HeadlessWithoutDisplayOrWhenAsked) {
  struct TCase {
    const char* Display;
    const char* Flag;
    bool Headless;
  };
  for (const TCase& c : {TCase{"", "", true}, TCase{":0", "", false}, TCase{":0", "1", true},
                         TCase{":0", "0", false}, TCase{"", "0", true}})
    EXPECT_EQ(UseHeadlessWindows(c.Display, c.Flag), c.Headless) << c.Display << "/" << c.Flag;
}

}  // namespace
