// TFileListView: its own context menu and the file operations behind it and
// behind the keys.
#include "browse/FileListView.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "browse/DirTree.h"
#include "browse/FileListViewDetail.h"
#include "browse/SendToDialog.h"
#include "browse/ShellLinks.h"
#include "browse/browse_resources.h"
#include "browse/logic/FileOpsLogic.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ScreenDpi.h"
#include "platform/WaitCursor.h"

namespace ferlane {
using namespace listview_detail;
namespace {

// The menu in order; Count stands for a separator.
struct ListMenuEntry {
  ListMenuItem item;
  UINT bitmap;
};
constexpr ListMenuItem kSeparator = ListMenuItem::Count;
constexpr ListMenuEntry kListMenu[] = {
    {ListMenuItem::Open, IDB_BROWSE_OPEN},         {ListMenuItem::View, IDB_BROWSE_VIEW},
    {kSeparator, 0},                               {ListMenuItem::SendTo, IDB_BROWSE_SENDTO},
    {kSeparator, 0},                               {ListMenuItem::Cut, IDB_BROWSE_CUT},
    {ListMenuItem::Copy, IDB_BROWSE_COPY},         {ListMenuItem::Paste, IDB_BROWSE_PASTE},
    {kSeparator, 0},                               {ListMenuItem::Rename, IDB_BROWSE_RENAME},
    {ListMenuItem::Delete, IDB_BROWSE_DELETE},     {kSeparator, 0},
    {ListMenuItem::Properties, IDB_BROWSE_ATTRIBUTES}, {kSeparator, 0},
    {ListMenuItem::NewFolder, IDB_BROWSE_NEWFOLDER},
};
constexpr UINT kSendToPosition = 3;  // the submenu's place in the menu
constexpr ListMenuEntry kSendToSpecials[] = {
    {ListMenuItem::AnyFolder, IDB_BROWSE_ANYFOLDER},
    {ListMenuItem::ClipboardContents, IDB_BROWSE_CLIPBOARD},
    {ListMenuItem::ClipboardFileName, IDB_BROWSE_CLIPBOARD},
    {ListMenuItem::DesktopShortcut, IDB_BROWSE_DESKTOP},
};

// Items Open..NewFolder carry the commands IDM_LIST_FIRST + tag - 1.
UINT CommandOf(ListMenuItem item) { return IDM_LIST_FIRST + static_cast<UINT>(item); }

// The picture drawn for the screen's DPI.
HBITMAP LoadMenuBitmap(UINT id) {
  id += PictureStep(ScreenDpi().value) * IDB_BROWSE_DPI_STEP;
  return static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

// A picture of an image of the small system list (16 x 16 at 96 DPI) on the menu colour.
HBITMAP IconBitmap(HIMAGELIST images, int index) {
  if (!images || index < 0) return nullptr;
  int cx = 16, cy = 16;
  ::ImageList_GetIconSize(images, &cx, &cy);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, cx, cy);
  ::ReleaseDC(nullptr, screen);
  if (bmp) {
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT rc{0, 0, cx, cy};
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_MENU));
    ::ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
    ::SelectObject(dc, old);
  }
  ::DeleteDC(dc);
  return bmp;
}

void SetItemBitmap(HMENU menu, UINT item, bool byPosition, HBITMAP bitmap) {
  if (!bitmap) return;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_BITMAP;
  mii.hbmpItem = bitmap;
  ::SetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &mii);
}

std::wstring WithoutNul(std::wstring s) {
  while (!s.empty() && s.back() == L'\0') s.pop_back();
  return s;
}

bool EntryExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The user's Send To folder, from the shell.
std::wstring SendToFolder() {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &pidl)) || !pidl) return {};
  wchar_t path[MAX_PATH] = {};
  const BOOL ok = ::SHGetPathFromIDListW(pidl, path);
  ::CoTaskMemFree(pidl);
  return ok ? std::wstring(path) : std::wstring();
}

bool PutOnClipboard(HWND owner, UINT format, HANDLE data) {
  if (!data) return false;
  if (!::OpenClipboard(owner)) return false;
  ::EmptyClipboard();
  const bool ok = ::SetClipboardData(format, data) != nullptr;
  ::CloseClipboard();
  return ok;
}

HGLOBAL TextMemory(const std::wstring& text) {
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!mem) return nullptr;
  if (void* p = ::GlobalLock(mem)) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(p));
    ::GlobalUnlock(mem);
  }
  return mem;
}

DWORD CALLBACK StreamFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
  DWORD read = 0;
  const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &read, nullptr);
  *got = static_cast<LONG>(read);
  return ok ? 0 : 1;
}

// A Windows metafile, with or without its placeable header, as an enhanced one.
HENHMETAFILE LoadWindowsMetafile(const std::wstring& file) {
  HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  std::vector<BYTE> bytes(::GetFileSize(h, nullptr));
  DWORD read = 0;
  const BOOL ok = !bytes.empty() && ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(h);
  if (!ok || read != bytes.size()) return nullptr;
  std::size_t skip = 0;
  if (bytes.size() > 22 && bytes[0] == 0xD7 && bytes[1] == 0xCD && bytes[2] == 0xC6 && bytes[3] == 0x9A) skip = 22;
  return ::SetWinMetaFileBits(static_cast<UINT>(bytes.size() - skip), bytes.data() + skip, nullptr, nullptr);
}

}  // namespace

// ---- Context menu -------------------------------------------------------------

bool TFileListView::ContextMenu(POINT screenPt) {
  if (!hostMenu_ && !popUpMenuEnabled_) return false;
  if (screenPt.x == -1 && screenPt.y == -1) {
    // From the keyboard: at the selected row, or the view's corner.
    RECT rc{};
    const int row = SelectedIndex();
    if (row < 0 || !ListView_GetItemRect(list_, row, &rc, LVIR_LABEL)) rc = RECT{0, 0, 0, 0};
    screenPt = POINT{rc.left, rc.bottom};
    ::ClientToScreen(list_, &screenPt);
  }
  if (hostMenu_) {
    ::TrackPopupMenu(hostMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPt.x, screenPt.y, 0,
                     hostMenuTarget_ ? hostMenuTarget_ : ::GetParent(hwnd_), nullptr);
  } else {
    ShowOwnPopupMenu(screenPt);
  }
  return true;
}

void TFileListView::BuildOwnPopupMenu() {
  UniqueHMenu menu(::CreatePopupMenu());
  HMENU sendTo = ::CreatePopupMenu();
  std::vector<UniqueHBitmap> bitmaps;
  menuBitmaps_.swap(bitmaps);  // the old pictures go with the old menu, below
  for (const ListMenuEntry& e : kSendToSpecials) {
    const UINT id = IDM_LIST_SENDTO_FIRST + static_cast<UINT>(e.item) - static_cast<UINT>(ListMenuItem::AnyFolder);
    ::AppendMenuW(sendTo, MF_STRING, id, ListMenuCaption(language_, e.item));
    menuBitmaps_.emplace_back(LoadMenuBitmap(e.bitmap));
    SetItemBitmap(sendTo, id, false, menuBitmaps_.back().get());
  }
  AddSendToEntries(sendTo);
  for (const ListMenuEntry& e : kListMenu) {
    if (e.item == kSeparator) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else if (e.item == ListMenuItem::SendTo) {
      ::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sendTo), ListMenuCaption(language_, e.item));
      menuBitmaps_.emplace_back(LoadMenuBitmap(e.bitmap));
      SetItemBitmap(menu.get(), kSendToPosition, true, menuBitmaps_.back().get());
    } else {
      ::AppendMenuW(menu.get(), MF_STRING, CommandOf(e.item), ListMenuCaption(language_, e.item));
      menuBitmaps_.emplace_back(LoadMenuBitmap(e.bitmap));
      SetItemBitmap(menu.get(), CommandOf(e.item), false, menuBitmaps_.back().get());
    }
  }
  ownMenu_ = std::move(menu);
}

void TFileListView::AddSendToEntries(HMENU submenu) {
  sendToEntries_.clear();
  const std::wstring folder = SendToFolder();
  if (folder.empty()) return;
  SHFILEINFOW sfi{};
  auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  WIN32_FIND_DATAW fd;
  UniqueFind find(::FindFirstFileW((AddSlash(folder) + L"*.LNK").c_str(), &fd));
  if (!find) return;
  const UINT room = IDM_LIST_SENDTO_LAST - IDM_LIST_SENDTO_FIRST - 3;
  do {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    if (sendToEntries_.size() >= room) break;
    const std::wstring path = AddSlash(folder) + name;
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    const UINT id = IDM_LIST_SENDTO_FIRST + 4 + static_cast<UINT>(sendToEntries_.size());
    ::AppendMenuW(submenu, MF_STRING, id, info.szDisplayName[0] ? info.szDisplayName : name.c_str());
    menuBitmaps_.emplace_back(IconBitmap(images, info.iIcon));
    SetItemBitmap(submenu, id, false, menuBitmaps_.back().get());
    sendToEntries_.push_back(path);
  } while (::FindNextFileW(find.get(), &fd));
}

void TFileListView::EnableOwnMenuItems() {
  fileops::ListMenuState state;
  state.selectedCount = list_ ? static_cast<int>(ListView_GetSelectedCount(list_)) : 0;
  const int row = SelectedIndex();
  if (row >= 0) state.selectedExt = ExtractFileExt(ExtractFileName(FullPath(row)));
  state.clipboardFilled = !clipboard_.empty();
  state.driveMode = DriveMode();
  const auto on = fileops::ListMenuEnabled(state);
  auto flags = [&](ListMenuItem i) { return on[static_cast<std::size_t>(i)] ? MF_ENABLED : MF_GRAYED; };
  HMENU menu = ownMenu_.get();
  for (const ListMenuEntry& e : kListMenu) {
    if (e.item == kSeparator) continue;
    if (e.item == ListMenuItem::SendTo)
      ::EnableMenuItem(menu, kSendToPosition, MF_BYPOSITION | flags(e.item));
    else
      ::EnableMenuItem(menu, CommandOf(e.item), MF_BYCOMMAND | flags(e.item));
  }
  for (const ListMenuEntry& e : kSendToSpecials)
    ::EnableMenuItem(menu,
                     IDM_LIST_SENDTO_FIRST + static_cast<UINT>(e.item) - static_cast<UINT>(ListMenuItem::AnyFolder),
                     MF_BYCOMMAND | flags(e.item));
}

HMENU TFileListView::OwnPopupMenu() {
  if (!ownMenu_) BuildOwnPopupMenu();
  EnableOwnMenuItems();
  return ownMenu_.get();
}

void TFileListView::ShowOwnPopupMenu(POINT screenPt) {
  HMENU menu = OwnPopupMenu();
  if (!menu || !hwnd_) return;
  ::SetForegroundWindow(::GetAncestor(hwnd_, GA_ROOT));
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPt.x + 10, screenPt.y + 10, 0, hwnd_, nullptr);
}

void TFileListView::RunMenuCommand(UINT id) {
  if (id >= IDM_LIST_SENDTO_FIRST && id <= IDM_LIST_SENDTO_LAST) {
    const UINT n = id - IDM_LIST_SENDTO_FIRST;
    if (n < 4)
      SendToSpecial(static_cast<int>(n));
    else if (n - 4 < sendToEntries_.size())
      SendTo(sendToEntries_[n - 4]);
    return;
  }
  if (id < IDM_LIST_FIRST || id > IDM_LIST_LAST) return;
  switch (static_cast<ListMenuItem>(id - IDM_LIST_FIRST)) {
    case ListMenuItem::Open: OpenItem(); break;
    case ListMenuItem::View: ViewFile(); break;
    case ListMenuItem::Cut: CutCopy(foMove); break;
    case ListMenuItem::Copy: CutCopy(foCopy); break;
    case ListMenuItem::Paste: Paste(); break;
    case ListMenuItem::Rename: RenameSelected(); break;
    case ListMenuItem::Delete: DeleteSelected(); break;
    case ListMenuItem::Properties: ShowProperties(); break;
    case ListMenuItem::NewFolder: NewFolder(); break;
    default: break;
  }
}

// ---- File operations ------------------------------------------------------------

std::vector<std::wstring> TFileListView::SelectedPathList() const {
  std::vector<std::wstring> paths;
  if (!list_) return paths;
  for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
    // ".." names the folder above: deleting, moving or copying it was never meant.
    if (!IsParentRow(i)) paths.push_back(AddNullTerm(FullPath(i)));
  return paths;
}

void TFileListView::NewFolder() {
  if (DriveMode() || !list_) return;
  const std::wstring path = fileops::FreeFolderPath(JoinPath(directory_, Text(Msg::NewFolderName)), EntryExists);
  ::CreateDirectoryW(path.c_str(), nullptr);  // a failure shows as no new row
  UpdateFileList();
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  int row = -1;
  for (int i = 0; i < ItemCount() && row < 0; ++i)
    if (SameTextLocale(FullPath(i), path)) row = i;
  if (tree_) {
    tree_->ReloadTree();
    tree_->ExpandToPath(path);
  }
  if (row < 0) return;
  ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, row, FALSE);
  if (!readOnly_) {
    ::SetFocus(list_);
    ListView_EditLabel(list_, row);
  }
}

void TFileListView::DeleteSelected() {
  {
    WaitCursor wait;
    if (!::SetCurrentDirectoryW(directory_.c_str())) return;
    clipboard_.clear();
    std::wstring source;
    for (const std::wstring& p : SelectedPathList()) source += p;
    if (!source.empty()) DoFileOperation(foDelete, source, L"");
  }
  UpdateFileList();
  if (tree_) {
    tree_->ReloadTree();
    tree_->ExpandToPath(directory_);
  }
}

void TFileListView::CutCopy(FileOpCode operation) {
  clipboard_ = SelectedPathList();
  pendingOperation_ = operation;
}

void TFileListView::Paste() {
  {
    WaitCursor wait;
    if (!::SetCurrentDirectoryW(directory_.c_str())) return;
    if (clipboard_.empty()) {
      ShowWarning(hwnd_, Text(Msg::NothingSelected));
      return;
    }
    for (const std::wstring& entry : clipboard_) {
      const std::wstring target = AddNullTerm(JoinPath(directory_, ExtractFileName(WithoutNul(entry))));
      DoFileOperation(pendingOperation_, entry, target);
    }
  }
  UpdateFileList();
  clipboard_.clear();  // a copy is pasted once
  if (tree_) {
    tree_->ReloadTree();
    tree_->ExpandToPath(directory_);
  }
}

void TFileListView::ViewFile() {
  const int row = SelectedIndex();
  if (row < 0 || IsParentRow(row)) return;
  const std::wstring file = FullPath(row);
  const wchar_t* viewer = fileops::ViewerFor(ExtractFileExt(ExtractFileName(file)));
  if (!viewer) return;
  // Quoted: a name with blanks would reach the viewer as several files.
  ExecuteFile(L"Open", GetShellFolder(8) + viewer, fileops::QuoteArgument(ExtractFileName(file)),
              ExtractFilePath(file), SW_SHOWNORMAL);
}

void TFileListView::FindFile() {
  const HWND focus = ::GetFocus();
  if (!focus || (focus != list_ && focus != hwnd_)) return;
  ExecuteFile(L"Find", directory_, L"", L"", SW_SHOWNORMAL);
}

void TFileListView::SendToSpecial(int number) {
  const int row = SelectedIndex();
  switch (number) {
    case 0:
      if (auto folder = AskSendToPath(L"")) CopyToFolder(*folder);
      break;
    case 1:
      if (row >= 0 && !IsParentRow(row)) CopyContentsToClipboard(FullPath(row));
      break;
    case 2: {
      std::wstring text;
      for (const std::wstring& p : SelectedPathList()) text += (text.empty() ? L"" : L"\r\n") + WithoutNul(p);
      if (!text.empty()) {
        HGLOBAL mem = TextMemory(text);
        if (!PutOnClipboard(hwnd_, CF_UNICODETEXT, mem) && mem) ::GlobalFree(mem);
      }
      break;
    }
    case 3:
      if (row >= 0) CreateDesktopShortcut();
      break;
    default:
      break;
  }
}

void TFileListView::CopyContentsToClipboard(const std::wstring& file) {
  const std::wstring ext = UpperCase(ExtractFileExt(ExtractFileName(file)));
  if (ext == L".BMP") {
    HANDLE bmp = ::LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!PutOnClipboard(hwnd_, CF_BITMAP, bmp) && bmp) ::DeleteObject(bmp);
    return;
  }
  if (ext == L".WMF") {
    HENHMETAFILE emf = LoadWindowsMetafile(file);
    if (!PutOnClipboard(hwnd_, CF_ENHMETAFILE, emf) && emf) ::DeleteEnhMetaFile(emf);
    return;
  }
  // Through an invisible rich-text control: rich text stays rich, the rest is plain text.
  WaitCursor wait;
  static HMODULE richEdit = ::LoadLibraryW(L"riched20.dll");
  if (!richEdit) return;
  HWND edit = ::CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE, 0, 0, 0, 0, hwnd_, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  if (!edit) return;
  ::SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(h);
    stream.pfnCallback = &StreamFromFile;
    ::SendMessageW(edit, EM_STREAMIN, ext == L".RTF" ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    ::CloseHandle(h);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, WM_COPY, 0, 0);
  }
  ::DestroyWindow(edit);
}

void TFileListView::SendTo(const std::wstring& entry) {
  const int row = SelectedIndex();
  if (row < 0) return;
  if (UpperCase(ExtractFileExt(ExtractFileName(entry))) != L".LNK") {
    if (FolderExists(entry)) CopyToFolder(entry);
    return;
  }
  const std::wstring target = ResolveShortcut(entry);
  if (target.empty()) return;
  if (target.size() >= 3 && target[1] == L':' && Platform().DriveType(target.substr(0, 3)) == DRIVE_REMOVABLE) {
    if (CheckDriveReady(target[0], true)) CopyToFolder(target);
  } else if (FolderExists(target)) {
    CopyToFolder(target);
  } else {
    const std::wstring file = FullPath(row);
    // Quoted: a name with blanks would reach the program as several arguments.
    ExecuteFile(L"Open", target, fileops::QuoteArgument(ExtractFileName(file)), ExtractFilePath(file),
                SW_SHOWNORMAL);
  }
}

void TFileListView::CopyToFolder(const std::wstring& folder) {
  if (!::SetCurrentDirectoryW(directory_.c_str())) return;
  WaitCursor wait;
  clipboard_ = SelectedPathList();
  for (const std::wstring& entry : clipboard_)
    DoFileOperation(foCopy, entry, AddNullTerm(JoinPath(folder, ExtractFileName(WithoutNul(entry)))));
  clipboard_.clear();
}

void TFileListView::CreateDesktopShortcut() {
  const std::wstring desktop = GetShellFolder(0);
  const int row = SelectedIndex();
  if (row < 0) {
    ShowError(hwnd_, Text(Msg::NothingSelected));
    return;
  }
  const std::wstring source = FullPath(row);
  const std::wstring name = NameWithoutExt(source);
  // Without a desktop folder the link would land in whatever the current folder is.
  if (desktop.empty() ||
      !CreateShortcut(AddSlash(desktop) + name + L".lnk", source, ExtractFilePath(source), name))
    ShowError(hwnd_, Text(Msg::ShortcutFailed));
}

void TFileListView::ShowProperties() {
  const int row = SelectedIndex();
  if (row < 0) return;
  const std::wstring path = FullPath(row);
  if (!path.empty()) ShowFileProperties(path);
}

std::optional<std::wstring> TFileListView::AskSendToPath(const std::wstring& initial) {
  HWND owner = hwnd_ ? ::GetAncestor(hwnd_, GA_ROOT) : MainWindow();
  std::wstring text = initial;
  for (;;) {
    const SendToAnswer answer = RunSendToDialog(owner, text);
    if (answer.button == SendToAnswer::Ok) {
      if (answer.text.empty()) return std::nullopt;
      return answer.text;
    }
    if (answer.button != SendToAnswer::Browse) return std::nullopt;
    auto picked = BrowseForFolder(owner);
    if (!picked) return std::nullopt;
    text = *picked;  // a new dialog holding the picked folder
  }
}

}  // namespace ferlane
