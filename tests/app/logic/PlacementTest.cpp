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
