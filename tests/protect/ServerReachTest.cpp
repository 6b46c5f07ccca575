// Listed paths on servers that do not answer, as Windows' redirector makes
// every lookup wait: a stand-in platform whose lookups under those servers
// block, and what is counted is how many blocked, never a time.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Deadline.h"
#include "platform/logic/PathFold.h"
#include "protect/FileAttributes.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

constexpr DWORD kShortDeadlineMs = 100;

// A hide over items on two silent shares, a silent network drive and the
// local disk: each server is waited for once, its items are missing with
// why, the local item is hidden; the next pass asks again; the folder of the
// lists is asked once per run, whatever its spelling.
TEST(ServerReach, AServerThatDoesNotAnswerIsWaitedForOncePerPass) {
  test::FakePlatform platform;
  platform.silentServers = {L"\\\\alpha", L"\\\\beta", L"n:"};
  platform.driveTypes[L"n:\\"] = DRIVE_REMOTE;
  test::ScratchDir scratch;
  const std::wstring local = scratch.File(L"local.txt");
  std::vector<ProtectedItem> items;
  for (const std::wstring& path : {std::wstring(L"\\\\alpha\\partage\\a.txt"), std::wstring(L"\\\\ALPHA\\partage\\b"),
                                   local, std::wstring(L"\\\\beta\\x\\c.txt"), std::wstring(L"N:\\Compta\\d.xls"),
                                   std::wstring(L"n:\\Compta\\e.xls"), std::wstring(L"\\\\alpha\\autre\\f")})
    items.push_back({path, ItemType::File, ItemState::Visible});
  Win32FileAttributes pass(kShortDeadlineMs);
  RunListCommand(ListCommand::HideAll, pass, items, nullptr, &FoldPath);
  const std::map<std::wstring, int> once{{L"\\\\alpha", 1}, {L"\\\\beta", 1}, {L"n:", 1}};
  EXPECT_EQ(platform.BlockedLookups(), once);
  for (const ProtectedItem& item : items)
    EXPECT_EQ(item.state, item.path == local ? ItemState::Hidden : ItemState::Missing)
        << std::string(item.path.begin(), item.path.end());
  EXPECT_EQ(pass.Get(L"\\\\alpha\\partage\\g"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetLastError(), kNoAnswer);

  Win32FileAttributes next(kShortDeadlineMs);
  EXPECT_EQ(next.Get(L"\\\\alpha\\partage\\a.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(platform.BlockedLookups()[L"\\\\alpha"], 2);

  platform.silentServers.push_back(L"\\\\delta");
  for (const wchar_t* folder : {L"\\\\delta\\listes\\POSTE7", L"\\\\DELTA\\Listes\\poste7\\"})
    EXPECT_EQ(FolderAnswers(folder, kShortDeadlineMs), kNoAnswer);
  EXPECT_EQ(platform.BlockedLookups()[L"\\\\delta"], 1);
}

}  // namespace
}  // namespace ferlane
