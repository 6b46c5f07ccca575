#pragma once
// Where the hidden store lies on a machine, and where an earlier store may be
// found. One store per machine: both widths of the program build it under the
// 32-bit programs' Program Files folder, so what one hid the other restores.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// A folder path without its final separators.
std::wstring_view WithoutFinalSeparator(std::wstring_view path);
// Two folder paths naming one folder, letter case and a final "\" aside.
// Windows compares folder names without letter case; ASCII covers the
// Program Files names the registry gives.
bool SameFolder(std::wstring_view a, std::wstring_view b);

// The role label: the word for the user's role and the user name. It names
// the user's hidden store, so the window and the command line share it.
std::wstring ComposeRoleLabel(bool ntFamily, std::wstring_view userName);
// The same user's label under the other role word: the name an earlier
// version gave the store on Windows Vista to 11, or before an upgrade.
std::wstring OtherRoleLabel(std::wstring_view roleLabel);

// The Program Files folder of a store that the 64-bit program made before
// both widths shared one: the 64-bit programs' folder when the machine has one
// and it is not the store's own (letter case and a final "\" aside).
std::optional<std::wstring> OtherStoreRoot(std::wstring_view storeRoot, std::wstring_view programFiles64);
// The user's VirtualStore copy of the store's Program Files folder
// (local application data + "\VirtualStore" + the folder without its drive):
// where Windows Vista and later put the store of a program whose manifest
// asked for no execution level, run by an administrator without elevation.
std::optional<std::wstring> VirtualStoreRoot(std::wstring_view storeRoot, std::wstring_view localAppData);

// Every store folder of the user that is not the store itself, in the order
// their items join it: the other role's label beside the store, then both
// labels under the 64-bit programs' folder, then in the VirtualStore copies
// of both folders. leaf: "Desktop" or "Programs".
std::vector<std::wstring> OlderStoreFolders(std::wstring_view storeRoot, std::wstring_view programFiles64,
                                            std::wstring_view localAppData, std::wstring_view roleLabel,
                                            std::wstring_view leaf);

// Said once when items of the other store could not join the machine's store
// (a name it already holds): they stay where they are, named here.
std::wstring StrandedItemsText(std::wstring_view oldFolder, std::wstring_view storeFolder,
                               const std::vector<std::wstring>& names);

// Said when an older store folder could not be read, or read only in part:
// what it still holds stays there, and it is not counted as emptied.
std::wstring UnreadableOlderStoreText(std::wstring_view oldFolder, std::wstring_view reason);

// Said at start for what earlier moves left under an aside name (full
// paths): the program renames nothing back by guess, the user looks.
std::wstring SetAsideText(const std::vector<std::wstring>& paths);

// A short mark of a set of stranded items (their full paths, in any order):
// the window remembers it, so as to name the same set once only. Empty for
// the empty set.
std::wstring StrandedDigest(std::vector<std::wstring> paths);

}  // namespace ferlane
