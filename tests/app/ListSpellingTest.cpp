// One list whatever the spelling of its path: the one-window claim and the
// close's merge know the list file by its folder's identity and its folded
// name, not by the text of the path.
#include <gtest/gtest.h>

#include "app/ListWindowClaim.h"
#include "platform/FileIdentity.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST(ListSpelling, EverySpellingOfOneListFileIsOneListAndOnlyThat) {
  test::ScratchDir dir;
  const std::wstring folder = dir.Folder(L"Dossier des listes");
  const std::wstring list = folder + L"\\Marie";
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortName), folder);
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
      {folder + L"\\MARIE", true},
      {std::wstring(shortName) + L"\\marie", true},
      {other + L"Marie", true},
      {folder + L"\\..\\Dossier des listes\\Marie", true},
      {folder + L"\\Mario", false},
      {dir.path() + L"Marie", false},
  };
  const std::wstring identity = FileIdentity(list);
  const ListWindowClaim first(list);
  EXPECT_TRUE(first.Held());
  for (const Case& c : cases) {
    EXPECT_EQ(FileIdentity(c.spelling) == identity, c.same) << std::string(c.spelling.begin(), c.spelling.end());
    if (c.spelling == list) continue;
    const ListWindowClaim second(c.spelling);
    EXPECT_EQ(second.Held(), !c.same) << std::string(c.spelling.begin(), c.spelling.end());
  }
  ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter, folder.c_str());
}

}  // namespace
}  // namespace ferlane
