#pragma once
// The process-wide message table of the file browsing widgets and their
// per-language texts. The texts themselves are data (Texts.cpp).
#include <array>
#include <string>

#include "browse/logic/Language.h"

namespace ferlane {

// Rows of the message table, in the table's order.
enum class Msg {
  ErrorPrefix,
  FileWord,
  FromLabel,
  ToLabel,
  CancelCaption,
  BrowseCaption,
  CannotPrefix,
  ChooseFolderTitle,
  BadDriveLetter,
  NoDisk,
  AlreadyExists,
  InvalidFolderName,
  RenameQuestion,
  CannotAddDrives,
  NewFolderName,
  InvalidChars,
  NotFound,
  FilesIn,
  OperationFailed,
  ReadOnly,
  NothingSelected,
  SendToCaption,
  SendToPrompt,
  ShortcutFailed,
  DriveWord,
  FolderWord,
  TreeSizeTitle,
  SubFoldersLine,
  Count
};
inline constexpr int kMsgCount = static_cast<int>(Msg::Count);

// The current text of a row of the process-wide table.
const std::wstring& Text(Msg m);
// The file list's LoadTexts: fills the rows marked for the list in language l.
void LoadListTexts(TLanguage l);
// The tree's LoadTexts: fills the rows marked for the tree in language l.
void LoadTreeTexts(TLanguage l);
// A row's text in a given language, regardless of the table's state.
const wchar_t* TextIn(TLanguage l, Msg m);

// Drive type texts by platform drive type 0..6 (others: type 0).
const wchar_t* DriveTypeText(TLanguage l, unsigned driveType);

// Column headings of the file list: folder mode or drive mode, five each.
const std::array<const wchar_t*, 5>& ColumnHeadings(TLanguage l, bool driveMode);

// Captions of the file list's context menu items and of its Send To
// submenu's four fixed entries, in menu order.
enum class ListMenuItem {
  Open,
  View,
  SendTo,
  Cut,
  Copy,
  Paste,
  Rename,
  Delete,
  Properties,
  NewFolder,
  AnyFolder,
  ClipboardContents,
  ClipboardFileName,
  DesktopShortcut,
  Count
};
inline constexpr int kListMenuItemCount = static_cast<int>(ListMenuItem::Count);
const wchar_t* ListMenuCaption(TLanguage l, ListMenuItem item);

// Captions of the tree's context menu items (separators left out), in menu order.
enum class TreeMenuItem {
  NewFolder,
  RenameFolder,
  DeleteFolder,
  Cut,
  Copy,
  Paste,
  TreeSize,
  FolderContents,
  ConnectNetworkDrive,
  DisconnectNetworkDrive,
  Properties,
  Count
};
inline constexpr int kTreeMenuItemCount = static_cast<int>(TreeMenuItem::Count);
const wchar_t* TreeMenuCaption(TLanguage l, TreeMenuItem item);

}  // namespace ferlane
