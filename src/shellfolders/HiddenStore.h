#pragma once
// The hidden store on disk, with no window: its two folders for a role
// label, their making, and the joining of the stores that earlier versions
// left elsewhere. The main window and the command line share it.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "shellfolders/logic/MergePlan.h"

namespace ferlane {

class IEventTrail;

// The store's two folders, in this order.
enum class StoreFolder { Desktop, Programs };
using StorePaths = std::array<std::wstring, 2>;
inline constexpr const wchar_t* kStoreLeaves[2] = {L"Desktop", L"Programs"};

// The store of a role label under the 32-bit programs' folder; nothing made.
StorePaths ComposeStorePaths(const std::wstring& roleLabel);
// The user's level of the store, which holds both folders: what a message
// about the whole store names.
inline std::wstring StoreUserFolder(const StorePaths& store) {
  return store[0].substr(0, store[0].find_last_of(L'\\'));
}
// Creates what is missing of both folders and gives each exactly the hidden
// attribute and the private rights (those it has are narrowed); per folder
// ERROR_SUCCESS or why it could not be made. *rightsError, when given, is
// why the rights were refused, or ERROR_SUCCESS.
std::array<DWORD, 2> MakeStoreFolders(const StorePaths& store, DWORD* rightsError = nullptr);

// One older store folder of the user, read once: what it holds, and why it
// could not be read to its end (ERROR_SUCCESS when it was). What was read
// may still be moved; what lies beyond is not known, so such a folder is
// never counted as emptied.
struct OlderStoreRead {
  std::wstring folder;
  std::vector<FolderEntry> entries;
  DWORD error = ERROR_SUCCESS;
};
// The one walk over the older stores of one leaf (OlderStoreFolders): every
// one that exists, in the order their items join, each read. The window's
// adoption and the command line's restore both take their items from it.
std::vector<OlderStoreRead> ReadOlderStores(const std::wstring& roleLabel, StoreFolder leaf);

// Items of an older store that stayed where they were: the store holds their
// name already, or the system refused the move. readError: the folder could
// not be read to its end (why), so more may stay there than `names` says.
struct StrandedItems {
  std::wstring oldFolder;
  StoreFolder folder;
  std::vector<std::wstring> names;
  DWORD readError = ERROR_SUCCESS;
};
// Moves into the store, item by item and never over a name it holds, what
// every older store folder of the user holds (OlderStoreFolders); an emptied
// old folder goes, with its user's level once that is empty too. A store
// folder that does not exist takes nothing; one that took something has its
// private rights given again, to reach what came. *rightsError as above.
// An old folder that could not be read, or read only in part, is stranded
// with its reason. When anything was found there, one event says how much
// came and names what stayed.
std::vector<StrandedItems> AdoptOlderStores(const StorePaths& store, const std::wstring& roleLabel,
                                            DWORD* rightsError = nullptr, IEventTrail* trail = nullptr);

// What moves across volumes set aside and never finished with (a crash, a
// refused put-back), looked for only where the program moves from: the
// four shell folders, the store's two and the program's folder. Full paths;
// nothing is renamed back, since an aside may be the half-deleted rest of a
// whole copy. A folder on a server that does not answer in deadlineMs (a
// redirected Desktop, a program started from a share) is passed over.
std::vector<std::wstring> FindSetAside(const StorePaths& store, const std::wstring& programFolder, DWORD deadlineMs);

}  // namespace ferlane
