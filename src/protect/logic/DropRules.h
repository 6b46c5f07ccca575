#pragma once
// How an entry dragged from the file list becomes a protected item.
#include <string>

#include "protect/logic/HideShow.h"

namespace ferlane {

// The shell's type name of a folder on the French systems the program targets.
inline constexpr wchar_t kFolderTypeText[] = L"Dossier de fichiers";

// A folder exactly when the type text is kFolderTypeText (case counts).
ItemType TypeFromTypeText(const std::wstring& typeText);
// A file list row's type: its kind tag ("dir" for an entry with the directory
// attribute) decides, since the shell's type names differ by language; a row
// without a tag falls back on its type text.
ItemType TypeOfRow(const std::wstring& kindTag, const std::wstring& typeText);

// The path of a dropped entry: the row's own full path when it carries one;
// otherwise the listed folder and the caption joined by one "\". The
// row's path is preferred because the folder is "Drives" in the drive list,
// which would name nothing.
std::wstring DroppedPath(const std::wstring& rowFullPath, const std::wstring& folder,
                         const std::wstring& caption);

}  // namespace ferlane
