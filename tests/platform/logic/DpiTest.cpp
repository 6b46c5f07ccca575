#include "platform/logic/Dpi.h"

#include <climits>

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(Dpi, DesignFiguresScaleAsMulDivWithTheScreensDpi) {
  // The window and the toolbar at the usual settings.
  EXPECT_EQ(ScaleForDpi(623, 96), 623);
  EXPECT_EQ(ScaleForDpi(623, 120), 779);  // 778.75
  EXPECT_EQ(ScaleForDpi(519, 120), 649);  // 648.75
  EXPECT_EQ(ScaleForDpi(623, 144), 935);  // 934.5: a half rounds away from zero
  EXPECT_EQ(ScaleForDpi(519, 144), 779);  // 778.5
  EXPECT_EQ(ScaleForDpi(42, 120), 53);
  EXPECT_EQ(ScaleForDpi(-3, 144), -5);  // -4.5, as MulDiv: away from zero
  EXPECT_EQ(ScaleForDpi(0, 144), 0);
  // Never wraps: a stored coordinate near the ends of int.
  EXPECT_EQ(ScaleForDpi(INT_MAX, 192), INT_MAX);
  EXPECT_EQ(ScaleForDpi(INT_MIN, 192), INT_MIN);

  EXPECT_EQ(Dpi{}.Px(233), 233);
  EXPECT_EQ(Dpi{144}.Px(233), 350);  // 349.5

  // "MS Sans Serif" 8 point.
  EXPECT_EQ(FontHeightForDpi(8, 96), -11);  // 10.67
  EXPECT_EQ(FontHeightForDpi(8, 120), -13);  // 13.33
  EXPECT_EQ(FontHeightForDpi(8, 144), -16);

  // A screen that answers nothing sensible is laid out at 96.
  for (int bad : {0, -1, 1, 47, 961, INT_MAX}) EXPECT_EQ(UsableDpi(bad), 96) << bad;
  for (int good : {72, 96, 120, 144, 192, 480}) EXPECT_EQ(UsableDpi(good), good);
}

TEST(Dpi, PicturesComeAtTheLargestDrawnSizeThatFits) {
  struct Case {
    int dpi, small, toolbar;
  };
  for (Case c : {Case{72, 16, 42}, Case{96, 16, 42}, Case{110, 16, 42}, Case{120, 20, 53}, Case{143, 20, 53},
                 Case{144, 24, 63}, Case{168, 24, 63}, Case{192, 32, 84}, Case{288, 32, 84}}) {
    EXPECT_EQ(SmallPictureSize(c.dpi), c.small) << c.dpi;
    EXPECT_EQ(ToolbarPictureSize(c.dpi), c.toolbar) << c.dpi;
    // From 96 DPI on, never larger than the room the layout makes for it.
    if (c.dpi >= 96) EXPECT_LE(SmallPictureSize(c.dpi), ScaleForDpi(16, c.dpi)) << c.dpi;
  }
  EXPECT_EQ(PictureStep(96), 0);
  EXPECT_EQ(PictureStep(192), kPictureSteps - 1);
}

}  // namespace
}  // namespace ferlane
