#pragma once
// The name a file is known by whatever the spelling of its path: another
// drive letter for the same folder, a subst drive, an 8.3 name, a junction
// or an administrative share all name one list file.
#include <string>

namespace ferlane {

// The volume serial number and file index of the folder that holds path,
// then the file's own name, folded. When the folder cannot be opened (it is
// not there yet) or gives no index, its long full path, folded, instead.
std::wstring FolderIdentityAndName(const std::wstring& path);

}  // namespace ferlane
