#include "shellfolders/HiddenStore.h"

#include "browse/ShellOps.h"
#include "platform/Deadline.h"
#include "platform/EventTrail.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "platform/logic/AsideName.h"
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

std::vector<OlderStoreRead> ReadOlderStores(const std::wstring& roleLabel, StoreFolder leaf) {
  const std::wstring localAppData = LocalAppDataPath();
  std::vector<OlderStoreRead> found;
  for (const std::wstring& old : OlderStoreFolders(GetProgramFilesDir(), GetProgramFiles64Dir(), localAppData,
                                                   roleLabel, kStoreLeaves[static_cast<int>(leaf)])) {
    if (!FolderExists(old)) continue;
    OlderStoreRead read{old, {}, ERROR_SUCCESS};
    if (ReadFolderEntries(old, read.entries, read.error)) read.error = ERROR_SUCCESS;
    found.push_back(std::move(read));
  }
  return found;
}

std::vector<StrandedItems> AdoptOlderStores(const StorePaths& store, const std::wstring& roleLabel,
                                            DWORD* rightsError, IEventTrail* trail) {
  if (rightsError) *rightsError = ERROR_SUCCESS;
  std::vector<StrandedItems> stranded;
  std::size_t found = 0;
  std::vector<std::wstring> left;  // for the event: old folder and name
  for (std::size_t i = 0; i < store.size(); ++i) {
    if (!FolderExists(store[i])) continue;
    for (const OlderStoreRead& old : ReadOlderStores(roleLabel, static_cast<StoreFolder>(i))) {
      StrandedItems here{old.folder, static_cast<StoreFolder>(i), {}, old.error};
      // The old stores lie on the store's drive as a rule, where a move is a
      // rename, whole folders included, which keeps the rights they had.
      std::size_t moved = 0;
      for (const FolderEntry& e : old.entries) {
        std::wstring remains;
        if (MoveWithoutReplacing(JoinPath(old.folder, e.name), JoinPath(store[i], e.name), &remains) !=
            ERROR_SUCCESS) {
          // A put-back refused: it stays under the name it was set aside as.
          const std::wstring stayed = remains.empty() ? JoinPath(old.folder, e.name) : remains;
          here.names.push_back(stayed.substr(stayed.find_last_of(L'\\') + 1));
          left.push_back(stayed);
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
      found += old.entries.size();
      if (moved > 0) NoteRefusal(KeepPrivate(store[i], true, true), rightsError);
      if (old.error != ERROR_SUCCESS) {
        ++found;
        left.push_back(old.folder);
      }
      if (!here.names.empty() || here.readError != ERROR_SUCCESS) {
        stranded.push_back(std::move(here));
        continue;
      }
      ::RemoveDirectoryW(old.folder.c_str());
      // The user's level goes once both leaves are gone; "Ferlane" may hold
      // the 64-bit program itself and stays.
      ::RemoveDirectoryW(std::wstring(old.folder, 0, old.folder.find_last_of(L'\\')).c_str());
    }
  }
  // The event counts what stayed, never names it: the log is every user's.
  if (found)
    Record(trail, WithFailures(EventId::OlderStoresAdopted, left.size()),
           ItemCountStrings(StoreUserFolder(store), L"", found - left.size(),
                            std::vector<std::wstring>(left.size(), L"reste dans une ancienne r\u00E9serve"), found));
  return stranded;
}

std::vector<std::wstring> FindSetAside(const StorePaths& store, const std::wstring& programFolder,
                                       DWORD deadlineMs) {
  std::vector<std::wstring> folders;
  for (const int csidl : {kCsidlDesktopDirectory, kCsidlCommonDesktopDirectory, kCsidlPrograms, kCsidlCommonPrograms})
    if (std::optional<std::wstring> path = SpecialFolderPath(nullptr, csidl)) folders.push_back(std::move(*path));
  folders.insert(folders.end(), store.begin(), store.end());
  folders.push_back(std::wstring(WithoutFinalSeparator(programFolder)));
  std::vector<std::wstring> found;
  for (const std::wstring& folder : folders) {
    if (folder.empty() || FolderAnswers(folder, deadlineMs) != ERROR_SUCCESS) continue;
    std::vector<FolderEntry> entries;
    DWORD error = ERROR_SUCCESS;
    ReadFolderEntries(folder, entries, error);
    for (const FolderEntry& e : entries)
      if (HasAsideMark(e.name)) found.push_back(JoinPath(folder, e.name));
  }
  return found;
}

}  // namespace ferlane
