// One list whatever the spelling of its path: the one-window claim and the
// close's merge know the list file by its folder's identity and its folded
// name, not by the text of the path.
#include <gtest/gtest.h>

#include "listplace/ListWindowClaim.h"
#include "platform/FolderIdentity.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST(ListSpelling, EverySpellingOfOneListFileIsOneListAndOnlyThat) {
  test::ScratchDir dir;
  const std::wstring folder = dir.Folder(L"Dossier des listes");
  // A name with an 8.3 name of its own, as a list file named after a
  // logon name such as "Marie Dupont" has.
  const std::wstring list = dir.File(L"Dossier des listes\\Liste de Marie");
  wchar_t shortName[MAX_PATH] = {}, shortList[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortName), folder);
  ASSERT_NE(::GetShortPathNameW(list.c_str(), shortList, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortList).substr(std::wstring(shortList).find_last_of(L'\\')), L"\\Liste de Marie");
  // A second drive letter for the same folder, as subst makes one; Wine's
  // DefineDosDevice maps nothing, and its prefixes here have S: for C:\.
  wchar_t letter[] = L"Q:";
  for (; letter[0] > L'G' && ::GetDriveTypeW((std::wstring(letter) + L"\\").c_str()) != DRIVE_NO_ROOT_DIR; --letter[0]) {
  }
  ASSERT_TRUE(::DefineDosDeviceW(0, letter, folder.c_str()));
  std::wstring other = std::wstring(letter) + L"\\";
  if (::GetFileAttributesW(other.c_str()) == INVALID_FILE_ATTRIBUTES) other = L"S:\\" + folder.substr(3) + L"\\";
  ASSERT_NE(::GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES) << "no second letter for the folder";
  struct Case {
    std::wstring spelling;
    bool same;
  } cases[] = {
      {list, true},
      {folder + L"\\LISTE DE MARIE", true},
      {std::wstring(shortName) + L"\\liste de marie", true},
      {folder + std::wstring(shortList).substr(std::wstring(shortList).find_last_of(L'\\')), true},
      {other + L"Liste de Marie", true},
      {folder + L"\\..\\Dossier des listes\\Liste de Marie", true},
      {folder + L"\\Liste de Mario", false},
      {dir.path() + L"Liste de Marie", false},
  };
  const std::wstring identity = FolderIdentityAndName(list);
  const ListWindowClaim first(list);
  EXPECT_TRUE(first.MayOpen());
  for (const Case& c : cases) {
    EXPECT_EQ(FolderIdentityAndName(c.spelling) == identity, c.same) << std::string(c.spelling.begin(), c.spelling.end());
    if (c.spelling == list) continue;
    const ListWindowClaim second(c.spelling);
    EXPECT_EQ(second.MayOpen(), !c.same) << std::string(c.spelling.begin(), c.spelling.end());
  }
  ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter, folder.c_str());
}

}  // namespace
}  // namespace ferlane
