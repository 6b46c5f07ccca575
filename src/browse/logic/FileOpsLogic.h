#pragma once
// The rules of the widgets' file and folder operations: which context-menu
// items are enabled, the viewer table, free names for a new folder, how a
// file name is handed to a program, and the texts of the tree-size message
// and the folder-contents window.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "browse/logic/Texts.h"

namespace ferlane::fileops {

// The program that shows a file of this extension ("NotePad.exe", ...), or
// nullptr when the extension is not in the viewer table. Any letter case.
const wchar_t* ViewerFor(const std::wstring& ext);

// Whether "Clipboard as Contents" can take a file of this extension: the first
// fourteen extensions of the viewer table, ".RTF" and ".WMF".
bool ClipboardContentsAllowed(const std::wstring& ext);

// path itself when free, else path + "(2)", "(3)", ... the first free one.
std::wstring FreeFolderPath(const std::wstring& path, const std::function<bool(const std::wstring&)>& exists);

// One command-line argument for a program: a name with blanks would
// otherwise reach it as several. Quoted unless already quoted or empty.
std::wstring QuoteArgument(const std::wstring& arg);

// What the file list's context menu sees when it opens.
struct ListMenuState {
  int selectedCount = 0;
  std::wstring selectedExt;  // extension of the first selected row
  bool clipboardFilled = false;
  bool driveMode = false;
};
// Enabled state per ListMenuItem (the four Send To specials included).
std::array<bool, kListMenuItemCount> ListMenuEnabled(const ListMenuState& s);

// Enabled state per TreeMenuItem for the selected node's level (-1: no
// node) and whether a folder is remembered for pasting.
std::array<bool, kTreeMenuItemCount> TreeMenuEnabled(int level, bool pastePending);

// Number formatting of the size message: thousands grouped, fixed decimals.
struct NumberFormat {
  std::wstring thousandSeparator = L",";
  std::wstring decimalSeparator = L".";
};
std::wstring FormatNumber(double value, int decimals, const NumberFormat& f);

// The tree-size message: header is "Drive C:\" or "Folder "name"" already
// made by TreeSizeHeader.
std::wstring TreeSizeHeader(bool drive, const std::wstring& nodePath);
std::wstring TreeSizeMessage(const std::wstring& header, std::uint64_t bytes, const NumberFormat& f);

// The title part of the folder-contents window: " C:\ " or " ..\name " in quotes.
std::wstring FolderContentsTitle(bool drive, const std::wstring& path);

// The letter after the highest drive present, or a blank when none is.
wchar_t NextDriveLetter(std::uint32_t logicalDrives);

}  // namespace ferlane::fileops

namespace ferlane::fileops {

// The texts of the tree-size progress window: its cancel button ("Annuler"
// in French) and its line of folders and bytes counted so far.
std::wstring ProgressCancelCaption(TLanguage l);
std::wstring ProgressLine(TLanguage l, std::uint64_t folders, std::uint64_t bytes, const NumberFormat& f);

}  // namespace ferlane::fileops
