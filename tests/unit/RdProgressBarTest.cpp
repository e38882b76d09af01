#include <gtest/gtest.h>

#include "platform/EventLoop.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/RdProgressBar.h"

namespace {

constexpr TColor Track = 0x202020, Fill = 0x00C000, Glow = 0xFFFFFF;

TBitmap Solid(int w, int h, TColor c) {
  return TBitmap(w, h, PremultipliedPixel(c, 255));
}

// The installer's bar: 420 pixels, range 0..10000, bar caps of 4 + 4 pixels.
class RdProgressBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Previous = TEventLoop::SetMain(&Loop);
    Bar = std::make_unique<TRdProgressBar>(nullptr);
    Bar->SetBounds(0, 0, 420, 12);
    Bar->SetMax(10000);
    Bar->ImgBarOption().SetMargins(4, 0, 4, 0);
  }
  void TearDown() override {
    Bar.reset();
    TEventLoop::SetMain(Previous);
  }
  // The bar drawn on its own; the colour of column x in the middle row.
  TColor ColumnColor(int x) {
    TBitmap frame(Bar->Width(), Bar->Height());
    TPainter painter(frame);
    Bar->Paint(painter);
    return UnpremultipliedColor(frame.Pixel(x, Bar->Height() / 2));
  }
  void GivePictures() {
    Bar->ImgBackground().SetBitmap(Solid(10, 12, Track));
    Bar->ImgBar().SetBitmap(Solid(10, 12, Fill));
  }

  TManualClock Clock;
  TEventLoop Loop{&Clock};
  TEventLoop* Previous{};
  std::unique_ptr<TRdProgressBar> Bar;
};

TEST_F(RdProgressBarTest, FilledWidthRoundsUpAndKeepsTheCapsWhole) {
  struct TCase {
    int Position;
    int Filled;
  };
  const TCase cases[] = {{0, 0}, {1, 8}, {100, 8}, {200, 9}, {5000, 210}, {9999, 420}, {10000, 420}};
  for (const TCase& c : cases) {
    Bar->SetPosition(c.Position);
    EXPECT_EQ(Bar->FilledWidth(), c.Filled) << c.Position;
    EXPECT_EQ(Bar->BarRect().Width(), c.Filled) << c.Position;
  }
  Bar->ImgBarOption().SetMargins(0, 0, 0, 0);
  Bar->SetPosition(1);
  EXPECT_EQ(Bar->FilledWidth(), 1) << "without caps one step fills one pixel";
  // The caps never push the bar beyond the control.
  Bar->SetBounds(0, 0, 6, 12);
  Bar->ImgBarOption().SetMargins(4, 0, 4, 0);
  EXPECT_EQ(Bar->BarRect().Right, 6);
}

TEST_F(RdProgressBarTest, PositionStaysInTheRange) {
  Bar->SetPosition(-5);
  EXPECT_EQ(Bar->Position(), 0);
  Bar->SetPosition(20000);
  EXPECT_EQ(Bar->Position(), 10000);
  Bar->SetMax(5000);
  EXPECT_EQ(Bar->Position(), 5000) << "a smaller range pulls the position in";
  Bar->SetMin(6000);
  EXPECT_EQ(Bar->Position(), 6000);
  EXPECT_EQ(Bar->FilledWidth(), 0) << "an empty range fills nothing";
  Bar->SetMin(0);
  Bar->SetMax(100);
  Bar->SetCaption("37");
  EXPECT_EQ(Bar->Position(), 37);
  Bar->SetCaption("lots");
  EXPECT_EQ(Bar->Position(), 0);
}

TEST_F(RdProgressBarTest, PaintsBackgroundThenTheFilledPart) {
  GivePictures();
  Bar->SetPosition(0);
  EXPECT_EQ(ColumnColor(0), Track) << "at Min only the background";
  EXPECT_EQ(ColumnColor(419), Track);
  Bar->SetPosition(5000);
  EXPECT_EQ(ColumnColor(0), Fill);
  EXPECT_EQ(ColumnColor(209), Fill);
  EXPECT_EQ(ColumnColor(210), Track);
  Bar->SetPosition(1);
  EXPECT_EQ(ColumnColor(7), Fill);
  EXPECT_EQ(ColumnColor(8), Track);
}

TEST_F(RdProgressBarTest, BoosterTimerLivesWithItsPictureAndSweepsTheFilledPart) {
  GivePictures();
  Bar->SetPosition(5000);
  EXPECT_EQ(Bar->BoosterTimer(), nullptr);
  Bar->ImgBooster().SetBitmap(Solid(20, 12, Glow));
  ASSERT_NE(Bar->BoosterTimer(), nullptr);
  EXPECT_EQ(Bar->BoosterTimer()->Interval(), 30);
  EXPECT_TRUE(Bar->BoosterTimer()->Running());

  Loop.PumpFor(30 * 10);
  EXPECT_EQ(Bar->BoosterOffset(), 40) << "4 pixels a step";
  EXPECT_EQ(ColumnColor(45), Glow);
  EXPECT_EQ(ColumnColor(39), Fill);

  // At the bar's end the highlight waits as long as the unfilled part: 210 - 420.
  while (Bar->BoosterOffset() >= 0 && Bar->BoosterOffset() + 20 < 210) Bar->BoosterTick();
  Bar->BoosterTick();
  EXPECT_EQ(Bar->BoosterOffset(), 210 - 420);

  // Position back at Min: the timer stops; clearing the picture removes it and the offset.
  Bar->SetPosition(0);
  EXPECT_FALSE(Bar->BoosterTimer()->Running());
  Bar->ImgBooster().Clear();
  EXPECT_EQ(Bar->BoosterTimer(), nullptr);
  EXPECT_EQ(Bar->BoosterOffset(), 0);
}

TEST_F(RdProgressBarTest, BoosterWiderThanTheFilledPartIsNeverDrawn) {
  GivePictures();
  Bar->SetPosition(1000);  // 42 pixels filled
  Bar->ImgBooster().SetBitmap(Solid(60, 12, Glow));
  for (int i = 0; i < 40; ++i) {
    Loop.PumpFor(30);
    for (int x : {1, 20, 41}) ASSERT_NE(ColumnColor(x), Glow) << "step " << i;
  }
}

}  // namespace
