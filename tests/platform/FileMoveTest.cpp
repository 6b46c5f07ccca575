#include "platform/FileMove.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace ferlane
