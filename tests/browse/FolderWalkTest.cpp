// The folder walk's fallback for Windows XP and earlier, which refuse the
// newer FindFirstFileExW flags with ERROR_INVALID_PARAMETER: a stand-in
// refuses them here as XP would.
#include <windows.h>

#include <gtest/gtest.h>

#include "browse/FileListViewDetail.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

int g_calls = 0;
DWORD g_refusal = ERROR_SUCCESS;

HANDLE WINAPI RefusingFindEx(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID, FINDEX_SEARCH_OPS, LPVOID, DWORD) {
  ++g_calls;
  ::SetLastError(g_refusal);
  return INVALID_HANDLE_VALUE;
}

TEST(FolderWalk, XpsRefusalOfTheNewerFlagsFallsBackToThePlainWalkForGood) {
  test::ScratchDir scratch;
  scratch.File(L"seul.txt");
  const std::wstring pattern = scratch / L"*.txt";
  using listview_detail::OpenFolderWalk;

  g_refusal = ERROR_INVALID_PARAMETER;
  bool refused = false;
  WIN32_FIND_DATAW fd{};
  HANDLE find = OpenFolderWalk(pattern, fd, RefusingFindEx, refused);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(fd.cFileName, L"seul.txt");
  ::FindClose(find);
  EXPECT_TRUE(refused);
  find = OpenFolderWalk(pattern, fd, RefusingFindEx, refused);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  ::FindClose(find);
  EXPECT_EQ(g_calls, 1);  // never asked again

  // Any other failure is the folder's: given as it is, with no fallback.
  g_calls = 0;
  g_refusal = ERROR_ACCESS_DENIED;
  refused = false;
  EXPECT_EQ(OpenFolderWalk(pattern, fd, RefusingFindEx, refused), INVALID_HANDLE_VALUE);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(refused);
  EXPECT_EQ(g_calls, 1);
}

}  // namespace
}  // namespace ferlane
