#include "platform/logic/OsFamily.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(OsFamily, Windows9xFamilyByVersionAndServicePackText) {
  EXPECT_EQ(ClassifyOsFamily({1, 4, 0, L""}), 0);
  EXPECT_EQ(ClassifyOsFamily({1, 4, 10, L" A "}), 2);  // 98 Second Edition
  EXPECT_EQ(ClassifyOsFamily({1, 4, 10, L" B "}), 1);
  EXPECT_EQ(ClassifyOsFamily({1, 4, 10, L""}), 1);     // no second character
  EXPECT_EQ(ClassifyOsFamily({1, 4, 10, L"A"}), 1);    // "A" must be the second character
  EXPECT_EQ(ClassifyOsFamily({1, 4, 90, L""}), 3);
  EXPECT_EQ(ClassifyOsFamily({1, 5, 0, L""}), -1);
}

TEST(OsFamily, EveryNtVersionIsTheNtFamily) {
  EXPECT_EQ(ClassifyOsFamily({2, 3, 51, L""}), 4);
  EXPECT_EQ(ClassifyOsFamily({2, 4, 0, L"Service Pack 6"}), 4);
  EXPECT_EQ(ClassifyOsFamily({2, 5, 0, L""}), 5);
  EXPECT_EQ(ClassifyOsFamily({2, 5, 1, L"Service Pack 3"}), 6);
  EXPECT_EQ(ClassifyOsFamily({2, 5, 2, L""}), 7);  // Server 2003
  EXPECT_EQ(ClassifyOsFamily({2, 6, 1, L""}), 7);  // 7
  EXPECT_EQ(ClassifyOsFamily({2, 10, 0, L""}), 7);
  EXPECT_TRUE(IsNtFamily(7));
  EXPECT_EQ(ClassifyOsFamily({0, 4, 0, L""}), -1);  // Win32s
  EXPECT_TRUE(IsNtFamily(4));
  EXPECT_FALSE(IsNtFamily(3));
  EXPECT_FALSE(IsNtFamily(-1));
}

}  // namespace
}  // namespace ferlane
