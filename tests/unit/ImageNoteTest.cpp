#include "public/rdcontrol/ImageNote.h"

#include <gtest/gtest.h>

#include "public/rdcontrol/Bitmap.h"

namespace {

// Two items whose pictures differ in width, so that the shown one tells which was copied.
struct TTwoPictures {
  TImageNote Image{nullptr};
  TTwoPictures() {
    for (int width : {3, 5}) Image.AddItem().Picture().SetBitmap(TBitmap(width, 2, MakePixel(255, 0, 0, 255)));
  }
};

TEST(ImageNote, NewItemsAreNamedByTheirPlaceAndCopyPictures) {
  TTwoPictures f;
  EXPECT_EQ(f.Image.Item(0)->Name(), "Picture_0");
  EXPECT_EQ(f.Image.Item(1)->DisplayName(), "Picture_1");
  f.Image.Item(0)->Assign(*f.Image.Item(1));  // the picture, not the name
  EXPECT_EQ(f.Image.Item(0)->Name(), "Picture_0");
  EXPECT_EQ(f.Image.Item(0)->Picture().Width(), 5);
  EXPECT_NE(&f.Image.Item(0)->Picture(), &f.Image.Item(1)->Picture());
}

TEST(ImageNote, ImageIndexShowsACopyClearsOrIgnores) {
  struct TCase {
    int Index;
    int ExpectedIndex;
    int ExpectedWidth;  // of the shown picture, 0 for none
  };
  // Each case starts from index 1 shown.
  const TCase cases[] = {{0, 0, 3}, {1, 1, 5}, {-1, -1, 0}, {2, 1, 5}, {-2, 1, 5}};
  for (const TCase& c : cases) {
    TTwoPictures f;
    f.Image.SetImageIndex(1);
    f.Image.SetImageIndex(c.Index);
    EXPECT_EQ(f.Image.ImageIndex(), c.ExpectedIndex) << c.Index;
    EXPECT_EQ(f.Image.Picture().Width(), c.ExpectedWidth) << c.Index;
  }
  TTwoPictures f;
  f.Image.SetImageIndex(0);
  f.Image.Item(0)->Picture().Clear();  // the shown picture is a copy, not a view
  EXPECT_EQ(f.Image.Picture().Width(), 3);
}

TEST(ImageNote, WhileReadingTheIndexIsOnlyKept) {
  TTwoPictures f;
  f.Image.SetStateFlag(csReading, true);
  f.Image.SetImageIndex(1);
  f.Image.SetStateFlag(csReading, false);
  EXPECT_EQ(f.Image.ImageIndex(), 1);
  EXPECT_TRUE(f.Image.Picture().Empty());  // the stored description carries the picture itself
}

}  // namespace
