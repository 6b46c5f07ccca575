#include "listplace/logic/ListFileLocation.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(ListFileLocationTest, VirtualStoreAndTheOtherWidthsFolderInThatOrder) {
  const wchar_t local[] = L"C:\\Users\\marie\\AppData\\Local";
  const wchar_t pf86[] = L"C:\\Program Files (x86)", pf[] = L"C:\\Program Files";
  struct Case {
    const wchar_t* folder;
    const wchar_t* pf64;
    std::vector<std::wstring> expected;
  } cases[] = {
      // The 32-bit program on a 64-bit Windows.
      {L"C:\\Program Files (x86)\\Ferlane\\", pf,
       {L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Ferlane\\marie",
        L"C:\\Program Files\\Ferlane\\marie",
        L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files\\Ferlane\\marie"}},
      // The 64-bit one, the folder spelt in another letter case.
      {L"c:\\program files\\FERLANE\\", pf,
       {L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\program files\\FERLANE\\marie",
        L"C:\\Program Files (x86)\\FERLANE\\marie",
        L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files (x86)\\FERLANE\\marie"}},
      // A 32-bit Windows, or a program outside Program Files: its VirtualStore only.
      {L"C:\\Program Files (x86)\\Ferlane\\", L"",
       {L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Ferlane\\marie"}},
      {L"D:\\Outils\\", pf, {L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Outils\\marie"}},
      {L"C:\\Program Files (x86)x\\", pf,
       {L"C:\\Users\\marie\\AppData\\Local\\VirtualStore\\Program Files (x86)x\\marie"}},
      // A share is never redirected.
      {L"\\\\serveur\\outils\\", pf, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OlderListFiles(c.folder, L"marie", pf86, c.pf64, local), c.expected) << c.folder;
  EXPECT_TRUE(OlderListFiles(L"C:\\Program Files\\Ferlane\\", L"", pf86, pf, local).empty());
}

}  // namespace
}  // namespace ferlane
