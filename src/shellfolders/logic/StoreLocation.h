#pragma once
// Where the hidden store lies on a machine, and where an earlier store may be
// found. One store per machine: both widths of the program build it under the
// 32-bit programs' Program Files folder, so what one hid the other restores.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// The Program Files folder of a store that the 64-bit program made before
// both widths shared one: the 64-bit programs' folder when the machine has one
// and it is not the store's own (letter case and a final "\" aside).
std::optional<std::wstring> OtherStoreRoot(std::wstring_view storeRoot, std::wstring_view programFiles64);
// The user's VirtualStore copy of the store's Program Files folder
// (local application data + "\VirtualStore" + the folder without its drive):
// where Windows Vista and later put the store of a program whose manifest
// asked for no execution level, run by an administrator without elevation.
std::optional<std::wstring> VirtualStoreRoot(std::wstring_view storeRoot, std::wstring_view localAppData);

// Said once when items of the other store could not join the machine's store
// (a name it already holds): they stay where they are, named here.
std::wstring StrandedItemsText(std::wstring_view oldFolder, std::wstring_view storeFolder,
                               const std::vector<std::wstring>& names);

}  // namespace ferlane
