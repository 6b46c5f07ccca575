#pragma once
// The hidden store on disk, with no window: its two folders for a role
// label, their making, and the joining of the stores that earlier versions
// left elsewhere. The main window and the command line share it.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

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

// Items of an older store that stayed where they were: the store holds their
// name already, or the system refused the move.
struct StrandedItems {
  std::wstring oldFolder;
  StoreFolder folder;
  std::vector<std::wstring> names;
};
// Moves into the store, item by item and never over a name it holds, what
// every older store folder of the user holds (OlderStoreFolders); an emptied
// old folder goes, with its user's level once that is empty too. A store
// folder that does not exist takes nothing; one that took something has its
// private rights given again, to reach what came. *rightsError as above.
// When anything was found there, one event says how much came and names
// what stayed.
std::vector<StrandedItems> AdoptOlderStores(const StorePaths& store, const std::wstring& roleLabel,
                                            DWORD* rightsError = nullptr, IEventTrail* trail = nullptr);

}  // namespace ferlane
