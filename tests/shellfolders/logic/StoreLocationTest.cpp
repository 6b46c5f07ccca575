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

TEST(StoreLocationTest, RoleLabelsAndTheOlderStoresTheyName) {
  EXPECT_EQ(ComposeRoleLabel(true, L"marie"), L"Ferlane Administrateur marie");
  EXPECT_EQ(OtherRoleLabel(L"Ferlane Administrateur marie"), L"Ferlane Utilisateur marie");
  EXPECT_EQ(OtherRoleLabel(ComposeRoleLabel(false, L"Ferlane Administrateur ")),
            L"Ferlane Administrateur Ferlane Administrateur ");  // only the first word is the role's
  EXPECT_EQ(OtherRoleLabel(L"marie"), L"");

  const std::wstring label = L"Ferlane Administrateur marie";
  const std::wstring local = L"C:\\Users\\marie\\AppData\\Local";
  // A 64-bit Windows: beside the store, under the 64-bit folder, then the
  // VirtualStore copies of both; never the store itself.
  EXPECT_EQ(OlderStoreFolders(L"C:\\PF86", L"C:\\PF", local, label, L"Desktop"),
            (std::vector<std::wstring>{
                L"C:\\PF86\\Ferlane\\Ferlane Utilisateur marie\\Desktop",
                L"C:\\PF\\Ferlane\\Ferlane Administrateur marie\\Desktop",
                L"C:\\PF\\Ferlane\\Ferlane Utilisateur marie\\Desktop",
                local + L"\\VirtualStore\\PF86\\Ferlane\\Ferlane Administrateur marie\\Desktop",
                local + L"\\VirtualStore\\PF86\\Ferlane\\Ferlane Utilisateur marie\\Desktop",
                local + L"\\VirtualStore\\PF\\Ferlane\\Ferlane Administrateur marie\\Desktop",
                local + L"\\VirtualStore\\PF\\Ferlane\\Ferlane Utilisateur marie\\Desktop",
            }));
  // A 32-bit Windows with no profile folder known: only the other label.
  EXPECT_EQ(OlderStoreFolders(L"C:\\PF", L"", L"", label, L"Programs"),
            (std::vector<std::wstring>{L"C:\\PF\\Ferlane\\Ferlane Utilisateur marie\\Programs"}));
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(StoreLocationTest, TheDigestOfStrandedItemsIsTheSetsNotTheOrders) {
  const std::wstring a = L"C:\\PF\\Ferlane\\Ferlane Administrateur marie\\Desktop\\a.lnk";
  const std::wstring b = L"C:\\PF\\Ferlane\\Ferlane Administrateur marie\\Desktop\\b.lnk";
  EXPECT_EQ(StrandedDigest({}), L"");
  const std::wstring ab = StrandedDigest({a, b});
  EXPECT_EQ(ab.size(), 16u);
  EXPECT_EQ(ab.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
  EXPECT_EQ(StrandedDigest({b, a}), ab);
  EXPECT_NE(StrandedDigest({a}), ab);
  EXPECT_NE(StrandedDigest({a}), StrandedDigest({b}));
  // Where one path ends and the next begins counts.
  EXPECT_NE(StrandedDigest({L"C:\\x", L"y"}), StrandedDigest({L"C:\\xy"}));
}

}  // namespace
}  // namespace ferlane
