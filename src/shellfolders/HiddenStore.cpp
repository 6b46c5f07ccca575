#include "shellfolders/HiddenStore.h"

#include "browse/ShellOps.h"
#include "platform/EventTrail.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "shellfolders/Folders.h"
#include "shellfolders/logic/MoveRules.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {

StorePaths ComposeStorePaths(const std::wstring& roleLabel) {
  const std::wstring root = GetProgramFilesDir();
  return {HiddenStorePath(root, roleLabel, kStoreLeaves[0]), HiddenStorePath(root, roleLabel, kStoreLeaves[1])};
}

namespace {

void NoteRefusal(DWORD error, DWORD* rightsError) {
  if (rightsError && error != ERROR_SUCCESS && *rightsError == ERROR_SUCCESS) *rightsError = error;
}

}  // namespace

std::array<DWORD, 2> MakeStoreFolders(const StorePaths& store, DWORD* rightsError) {
  std::array<DWORD, 2> errors{};
  if (rightsError) *rightsError = ERROR_SUCCESS;
  for (std::size_t i = 0; i < store.size(); ++i) {
    if (store[i].empty()) continue;
    errors[i] = CreateFolderPath(store[i]);
    // The last level carries exactly the hidden attribute.
    ::SetFileAttributesW(store[i].c_str(), FILE_ATTRIBUTE_HIDDEN);
    if (errors[i] == ERROR_SUCCESS) NoteRefusal(KeepPrivate(store[i], true), rightsError);
  }
  return errors;
}

std::vector<StrandedItems> AdoptOlderStores(const StorePaths& store, const std::wstring& roleLabel,
                                            DWORD* rightsError, IEventTrail* trail) {
  if (rightsError) *rightsError = ERROR_SUCCESS;
  constexpr int kCsidlLocalAppData = 0x001c;
  const std::wstring root = GetProgramFilesDir();
  const std::wstring root64 = GetProgramFiles64Dir();
  const std::wstring localAppData = SpecialFolderPath(nullptr, kCsidlLocalAppData).value_or(L"");
  std::vector<StrandedItems> stranded;
  std::size_t found = 0;
  std::vector<std::wstring> left;  // for the event: old folder and name
  for (std::size_t i = 0; i < store.size(); ++i) {
    if (!FolderExists(store[i])) continue;
    for (const std::wstring& old : OlderStoreFolders(root, root64, localAppData, roleLabel, kStoreLeaves[i])) {
      if (!FolderExists(old)) continue;
      std::vector<FolderEntry> entries;
      DWORD error = 0;
      ReadFolderEntries(old, entries, error);
      StrandedItems here{old, static_cast<StoreFolder>(i), {}};
      // The old stores lie on the store's drive as a rule, where a move is a
      // rename, whole folders included, which keeps the rights they had.
      std::size_t moved = 0;
      for (const FolderEntry& e : entries) {
        std::wstring remains;
        if (MoveWithoutReplacing(JoinPath(old, e.name), JoinPath(store[i], e.name), &remains) != ERROR_SUCCESS) {
          here.names.push_back(e.name);
          left.push_back(JoinPath(old, e.name));
          continue;
        }
        ++moved;
        NoteRefusal(FollowPlace(JoinPath(store[i], e.name), true), rightsError);
        // Moved whole across volumes, but part of the old copy stayed: named
        // under the name it was set aside as.
        if (!remains.empty()) {
          here.names.push_back(remains.substr(remains.find_last_of(L'\\') + 1));
          left.push_back(remains);
        }
      }
      found += entries.size();
      if (moved > 0) NoteRefusal(KeepPrivate(store[i], true, true), rightsError);
      if (!here.names.empty()) {
        stranded.push_back(std::move(here));
        continue;
      }
      ::RemoveDirectoryW(old.c_str());
      // The user's level goes once both leaves are gone; "Ferlane" may hold
      // the 64-bit program itself and stays.
      ::RemoveDirectoryW(std::wstring(old, 0, old.find_last_of(L'\\')).c_str());
    }
  }
  // The event counts what stayed, never names it: the log is every user's.
  if (found)
    Record(trail, WithFailures(EventId::OlderStoresAdopted, left.size()),
           ItemCountStrings(StoreUserFolder(store), L"", found - left.size(),
                            std::vector<std::wstring>(left.size(), L"reste dans une ancienne r\u00E9serve"), found));
  return stranded;
}

}  // namespace ferlane
