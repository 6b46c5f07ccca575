#include "app/logic/Placement.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(Placement, DecimalIntegersOnly) {
  EXPECT_EQ(ParseDecimalInt(L"0"), 0);
  EXPECT_EQ(ParseDecimalInt(L"623"), 623);
  EXPECT_EQ(ParseDecimalInt(L"-8"), -8);
  EXPECT_EQ(ParseDecimalInt(L"+12"), 12);
  EXPECT_EQ(ParseDecimalInt(L"007"), 7);
  EXPECT_EQ(ParseDecimalInt(L"2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimalInt(L"-2147483648"), INT_MIN);
  for (const wchar_t* bad : {L"", L"-", L"+", L" 12", L"12 ", L"1.5", L"$1F", L"0x10", L"abc", L"2147483648",
                             L"-2147483649", L"99999999999999999999", L"1 2"})
    EXPECT_FALSE(ParseDecimalInt(bad).has_value()) << "accepted: " << std::string(bad, bad + wcslen(bad));
}

TEST(Placement, AbsentEmptyOrMalformedValuesKeepTheirCoordinate) {
  WindowBounds b;  // design bounds 0, 0, 623 x 519
  std::optional<std::wstring> texts[4] = {std::wstring(L"-20"), std::nullopt, std::wstring(L""),
                                          std::wstring(L"abc")};
  ApplyPlacementTexts(b, texts);
  EXPECT_EQ(b.left, -20);
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.width, 623);
  EXPECT_EQ(b.height, 519);

  std::optional<std::wstring> all[4] = {std::wstring(L"10"), std::wstring(L"-5"), std::wstring(L"800"),
                                        std::wstring(L"600")};
  ApplyPlacementTexts(b, all);
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.top, -5);
  EXPECT_EQ(b.width, 800);
  EXPECT_EQ(b.height, 600);
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(PlacementUsable, OffScreenTinyOrOverflowingPlacementsFallBackToTheDesign) {
  const std::vector<WorkArea> one{{0, 0, 1280, 994}};
  const WindowBounds design{};
  EXPECT_EQ(design.left, 0);
  EXPECT_EQ(design.width, 623);
  EXPECT_EQ(design.height, 519);
  // Seen: far to the top left, a monitor that is gone, the largest int, a
  // negative size.
  for (WindowBounds bad : {WindowBounds{-5000, -3000, 623, 519}, WindowBounds{3000, 2000, 623, 519},
                           WindowBounds{2147483647, 2147483647, 623, 519}, WindowBounds{0, 0, -100, -50},
                           WindowBounds{10, 10, 108, 1}, WindowBounds{-2147483647 - 1, 0, 2147483647, 519}}) {
    EXPECT_FALSE(IsUsablePlacement(bad, one)) << bad.left << "," << bad.top << " " << bad.width << "x" << bad.height;
    const WindowBounds b = UsablePlacement(bad, one);
    EXPECT_TRUE(b.left == 0 && b.top == 0 && b.width == 623 && b.height == 519);
  }
  // Partly off to the left or top, but mostly shown: kept as stored.
  EXPECT_TRUE(IsUsablePlacement({-200, -8, 623, 519}, one));
  EXPECT_FALSE(IsUsablePlacement({-400, 0, 623, 519}, one));
  // On the second of two monitors.
  const std::vector<WorkArea> two{{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
  EXPECT_TRUE(IsUsablePlacement({1500, 100, 623, 519}, two));
  EXPECT_FALSE(IsUsablePlacement({1500, 100, 623, 519}, one));
  // Monitors unknown: only the size counts.
  EXPECT_TRUE(IsUsablePlacement({3000, 2000, 623, 519}, {}));
  EXPECT_FALSE(IsUsablePlacement({0, 0, 108, 1}, {}));
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(PlacementUsable, TheDesignAndTheMinimumGrowWithTheDpiAndTheDesignFitsTheScreen) {
  const std::vector<WorkArea> one{{0, 0, 1280, 994}};
  // Nothing usable stored: the design size for the screen's DPI.
  for (int dpi : {96, 120, 144}) {
    const WindowBounds b = UsablePlacement({-5000, -3000, 623, 519}, one, dpi);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.width, ScaleForDpi(kDesignWidth, dpi)) << dpi;
    EXPECT_EQ(b.height, ScaleForDpi(kDesignHeight, dpi)) << dpi;
  }
  // At 192 DPI the design (1246 x 1038) is larger than this screen: it is
  // cut to the work area, so that the whole frame can be reached.
  const WindowBounds big = DesignPlacement(192, one);
  EXPECT_EQ(big.width, 1246);
  EXPECT_EQ(big.height, 994);
  EXPECT_EQ(DesignPlacement(192, {}).height, 1038);
  // A work area away from 0, 0 (a secondary monitor only) does not cut it.
  EXPECT_EQ(DesignPlacement(96, {{1280, 0, 1480, 300}}).width, 623);
  // A work area smaller than the least usable window cuts it no further.
  const WindowBounds tiny = DesignPlacement(144, {{0, 0, 5, 4}});
  EXPECT_EQ(tiny.width, 300);
  EXPECT_EQ(tiny.height, 225);

  // Written at 96 DPI and read at 144, or the other way round: kept while the
  // window is large enough for the screen's DPI and mostly on a monitor.
  EXPECT_TRUE(IsUsablePlacement({0, 0, 623, 519}, one, 144));
  EXPECT_TRUE(IsUsablePlacement({300, 200, 935, 779}, one, 96));
  EXPECT_FALSE(IsUsablePlacement({900, 600, 935, 779}, one, 96));  // mostly off the screen
  // 250 x 180 leaves room at 96 DPI, not at 144 where the fonts are half as large again.
  EXPECT_TRUE(IsUsablePlacement({0, 0, 250, 180}, one, 96));
  EXPECT_FALSE(IsUsablePlacement({0, 0, 250, 180}, one, 144));
  EXPECT_EQ(UsablePlacement({0, 0, 250, 180}, one, 144).width, 935);
}

}  // namespace
}  // namespace ferlane
