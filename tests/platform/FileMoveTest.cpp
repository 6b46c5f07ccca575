#include "platform/FileMove.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/Fakes.h"

namespace ferlane {
namespace {

// A scratch folder on another volume: under Wine, Z: is the Unix root, and
// /dev/shm is a file system of its own, so a rename there fails and the move
// copies. Skipped where the machine has none.
std::wstring OtherVolumeFolder() {
  const std::wstring shm = L"Z:\\dev\\shm";
  const DWORD attrs = ::GetFileAttributesW(shm.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {};
  const std::wstring folder = shm + L"\\ferlane-move-" + std::to_wstring(::GetCurrentProcessId());
  return ::CreateDirectoryW(folder.c_str(), nullptr) ? folder : std::wstring();
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Files and folders, on the same volume and across volumes: a free name takes
// the item whole; a taken name, even one that appeared a moment before,
// refuses it and leaves both where they were.
TEST(FileMoveTest, MovesWholeAndNeverOverATakenName) {
  test::ScratchDir scratch;
  const std::wstring other = OtherVolumeFolder();
  std::vector<std::wstring> targets{scratch.Folder(L"ici")};
  if (!other.empty()) targets.push_back(other);
  for (const std::wstring& to : targets) {
    SCOPED_TRACE(std::string(to.begin(), to.end()));
    const std::wstring file = scratch.File(L"a.lnk", 3);
    const std::wstring group = scratch.Folder(L"Groupe");
    ::CreateDirectoryW((group + L"\\Sous").c_str(), nullptr);
    scratch.File(L"Groupe\\Sous\\b.lnk", 5);
    EXPECT_EQ(MoveWithoutReplacing(file, to + L"\\a.lnk"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(MoveWithoutReplacing(group, to + L"\\Groupe"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(Exists(file));
    EXPECT_FALSE(Exists(group));
    EXPECT_TRUE(Exists(to + L"\\Groupe\\Sous\\b.lnk"));

    // The same names again: both are taken now.
    scratch.File(L"a.lnk", 7);
    scratch.Folder(L"Groupe");
    scratch.File(L"Groupe\\c.lnk");
    EXPECT_TRUE(NameTaken(MoveWithoutReplacing(file, to + L"\\a.lnk")));
    EXPECT_TRUE(NameTaken(MoveWithoutReplacing(group, to + L"\\Groupe")));
    EXPECT_TRUE(Exists(file));
    EXPECT_TRUE(Exists(group + L"\\c.lnk"));
    EXPECT_FALSE(Exists(to + L"\\Groupe\\c.lnk"));  // nothing merged into the taken folder
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW((to + L"\\a.lnk").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 3u);
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(to + L"\\a.lnk"), ec);
    std::filesystem::remove_all(std::filesystem::path(to + L"\\Groupe"), ec);
    std::filesystem::remove_all(std::filesystem::path(file), ec);
    std::filesystem::remove_all(std::filesystem::path(group), ec);
  }
  if (!other.empty()) ::RemoveDirectoryW(other.c_str());
}

std::string Bytes(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<absent>";
  char buffer[64];
  DWORD got = 0;
  ::ReadFile(h, buffer, sizeof buffer, &got, nullptr);
  ::CloseHandle(h);
  return std::string(buffer, got);
}

// Across volumes, as Windows does it: the rename into the destination answers
// ERROR_NOT_SAME_DEVICE whether or not the name is taken (Wine checks the
// name first, so it is pretended), and a delete can fail part-way (Wine
// deletes anything for root). The move is whole or nothing, never over a
// taken name, and never loses the only whole copy.
TEST(FileMoveTest, AcrossVolumesAMoveIsWholeOrNothing) {
  test::FakePlatform platform;
  test::ScratchDir scratch;
  const std::wstring there = scratch.Folder(L"la-bas");
  platform.renameAnswer = [&](const std::wstring&, const std::wstring& to) -> std::optional<DWORD> {
    if (to.rfind(there, 0) == 0) return ERROR_NOT_SAME_DEVICE;
    return std::nullopt;
  };
  auto makeGroup = [&] {
    scratch.Folder(L"Groupe");
    scratch.Folder(L"Groupe\\Sous");
    return scratch / L"Groupe";
  };

  // A taken name is never written over, at the top or inside.
  const std::wstring file = scratch.File(L"a.lnk", 3);
  scratch.File(L"la-bas\\a.lnk", 9);
  EXPECT_TRUE(NameTaken(MoveWithoutReplacing(file, there + L"\\a.lnk")));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW((there + L"\\a.lnk").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 9u);
  EXPECT_TRUE(Exists(file));
  const std::wstring group = makeGroup();
  scratch.File(L"Groupe\\Sous\\b.lnk", 5);
  scratch.Folder(L"la-bas\\Groupe");
  EXPECT_TRUE(NameTaken(MoveWithoutReplacing(group, there + L"\\Groupe")));
  EXPECT_FALSE(Exists(there + L"\\Groupe\\Sous"));
  EXPECT_TRUE(Exists(group + L"\\Sous\\b.lnk"));
  // The same copy refused, and its put-back refused too: the move fails and
  // names the source, whole under its aside name; nothing renames it later.
  platform.renameAnswer = [&](const std::wstring&, const std::wstring& to) -> std::optional<DWORD> {
    if (to.rfind(there, 0) == 0) return ERROR_NOT_SAME_DEVICE;
    if (to == group) return ERROR_ACCESS_DENIED;
    return std::nullopt;
  };
  std::wstring stayed;
  EXPECT_TRUE(NameTaken(MoveWithoutReplacing(group, there + L"\\Groupe", &stayed)));
  EXPECT_EQ(stayed, group + L".ferlane-deplacement");
  EXPECT_TRUE(Exists(stayed + L"\\Sous\\b.lnk"));
  EXPECT_FALSE(Exists(group));
  platform.renameAnswer = nullptr;
  ASSERT_TRUE(::MoveFileExW(stayed.c_str(), group.c_str(), 0));
  ::RemoveDirectoryW((there + L"\\Groupe").c_str());

  // A folder that is a junction or link is refused whole, never copied
  // through to what it points at; nothing is set aside.
  platform.renameAnswer = [&](const std::wstring&, const std::wstring& to) -> std::optional<DWORD> {
    if (to.rfind(there, 0) == 0) return ERROR_NOT_SAME_DEVICE;
    return std::nullopt;
  };
  platform.linkPaths = {group};
  EXPECT_EQ(MoveWithoutReplacing(group, there + L"\\Groupe"), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_FALSE(Exists(there + L"\\Groupe"));
  EXPECT_TRUE(Exists(group + L"\\Sous\\b.lnk"));
  EXPECT_FALSE(Exists(group + L".ferlane-deplacement"));
  platform.linkPaths.clear();

  // A source that cannot go (something inside is open): nothing is copied.
  platform.renameAnswer = [&](const std::wstring& from, const std::wstring& to) -> std::optional<DWORD> {
    if (to.rfind(there, 0) == 0) return ERROR_NOT_SAME_DEVICE;
    if (from == group) return ERROR_SHARING_VIOLATION;
    return std::nullopt;
  };
  EXPECT_EQ(MoveWithoutReplacing(group, there + L"\\Groupe"), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(Exists(there + L"\\Groupe"));
  EXPECT_TRUE(Exists(group + L"\\Sous\\b.lnk"));

  // A delete that fails part-way keeps the copy, the only whole one, and
  // names where the rest of the source lies.
  platform.renameAnswer = [&](const std::wstring&, const std::wstring& to) -> std::optional<DWORD> {
    if (to.rfind(there, 0) == 0) return ERROR_NOT_SAME_DEVICE;
    return std::nullopt;
  };
  scratch.File(L"Groupe\\c.lnk", 2);
  const std::wstring aside = group + L".ferlane-deplacement";
  platform.undeletable = {aside + L"\\Sous\\b.lnk"};
  std::wstring remains;
  EXPECT_EQ(MoveWithoutReplacing(group, there + L"\\Groupe", &remains), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(Exists(there + L"\\Groupe\\Sous\\b.lnk"));
  EXPECT_TRUE(Exists(there + L"\\Groupe\\c.lnk"));
  EXPECT_EQ(remains, aside);
  EXPECT_TRUE(Exists(aside + L"\\Sous\\b.lnk"));
  EXPECT_FALSE(Exists(aside + L"\\c.lnk"));
  EXPECT_FALSE(Exists(group));
  EXPECT_EQ(Bytes(there + L"\\Groupe\\c.lnk").size(), 2u);
}

}  // namespace
}  // namespace ferlane
