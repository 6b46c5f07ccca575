#include "shellfolders/logic/StoreLocation.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(StoreLocationTest, TheOtherStoreIsThe64BitFolderOnlyWhenItIsAnotherOne) {
  // A 64-bit Windows: the store lies under the 32-bit programs' folder.
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files (x86)", L"C:\\Program Files"), L"C:\\Program Files");
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files (x86)", L"D:\\Programme\\"), L"D:\\Programme");
  // One folder, however the registry spells it, or none: nothing to look at.
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files", L"c:\\PROGRAM FILES\\"), std::nullopt);
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files", L""), std::nullopt);
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files", L"\\"), std::nullopt);
  // No 32-bit folder could be read: the store lies on the drive's root, and a
  // 64-bit folder is still another one.
  EXPECT_EQ(OtherStoreRoot(L"", L"C:\\Program Files"), L"C:\\Program Files");
  EXPECT_EQ(OtherStoreRoot(L"C:\\Program Files (x86)", L"C:\\Program Files (x86)x"), L"C:\\Program Files (x86)x");
}

TEST(StoreLocationTest, TheVirtualStoreCopyOfTheStoresFolder) {
  const wchar_t local[] = L"C:\\Users\\marie\\AppData\\Local";
  EXPECT_EQ(VirtualStoreRoot(L"C:\\Program Files (x86)", local),
            L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files (x86)");
  EXPECT_EQ(VirtualStoreRoot(L"D:\\Programme\\", L"C:\\Users\\marie\\AppData\\Local\\"),
            L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Programme");
  // Nothing redirected: no drive letter, a drive's root, no profile folder.
  EXPECT_EQ(VirtualStoreRoot(L"", local), std::nullopt);
  EXPECT_EQ(VirtualStoreRoot(L"C:\\", local), std::nullopt);
  EXPECT_EQ(VirtualStoreRoot(L"\\\\serveur\\Programmes", local), std::nullopt);
  EXPECT_EQ(VirtualStoreRoot(L"C:\\Program Files", L""), std::nullopt);
}

}  // namespace
}  // namespace ferlane
