// Stores made before there was one per machine: by the 64-bit program under
// its own Program Files folder, and by a program that asked for no execution
// level, which Windows Vista and later redirected to the user's VirtualStore.
// Their items join the machine's store at the first showing, so tab 4 lists
// them for restoring.
#include <vector>

#include "browse/ShellOps.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "shellfolders/ShellFolders.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

// Moves every entry of `from` into `to` under its own name; the names `to`
// already holds, and any entry the system refuses to move, stay. Gives the
// names left behind.
std::vector<std::wstring> MoveEntries(const std::wstring& from, const std::wstring& to) {
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  ReadFolderEntries(from, entries, error);
  // The old stores lie on the store's drive as a rule, where a move is a
  // rename, whole folders included; a file elsewhere is copied. Nothing
  // replaces an item of the store.
  std::vector<std::wstring> left;
  for (const auto& e : entries)
    if (!::MoveFileExW(JoinPath(from, e.name).c_str(), JoinPath(to, e.name).c_str(), MOVEFILE_COPY_ALLOWED))
      left.push_back(e.name);
  return left;
}

}  // namespace

void ShellFolders::AdoptOtherStore(const std::wstring& roleLabel) {
  const std::wstring root = GetProgramFilesDir();
  constexpr int kCsidlLocalAppData = 0x001c;
  const std::wstring localAppData = SpecialFolderPath(window_, kCsidlLocalAppData).value_or(L"");
  for (const auto& other : {OtherStoreRoot(root, GetProgramFiles64Dir()), VirtualStoreRoot(root, localAppData)})
    if (other) AdoptStoreUnder(*other, roleLabel);
}

void ShellFolders::AdoptStoreUnder(const std::wstring& otherRoot, const std::wstring& roleLabel) {
  const wchar_t* const leaves[2] = {L"Desktop", L"Programs"};
  for (int i = 0; i < 2; ++i) {
    const std::wstring old = HiddenStorePath(otherRoot, roleLabel, leaves[i]);
    if (!FolderExists(old) || !FolderExists(store_[i])) continue;
    const std::vector<std::wstring> left = MoveEntries(old, store_[i]);
    if (left.empty())
      ::RemoveDirectoryW(old.c_str());
    else
      ShowError(window_, StrandedItemsText(old, store_[i], left));
  }
  // The user's level goes once both leaves are gone; "Ferlane" may hold the
  // 64-bit program itself and stays.
  ::RemoveDirectoryW(JoinPath(JoinPath(otherRoot, L"Ferlane"), roleLabel).c_str());
}

}  // namespace ferlane
