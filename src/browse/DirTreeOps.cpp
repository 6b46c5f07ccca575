// TDirTree: its context menu and the folder operations behind it.
#include "browse/DirTree.h"

#include <commctrl.h>
#include <winnetwk.h>

#include <iterator>

#include "browse/FileListView.h"
#include "browse/FolderContents.h"
#include "browse/FolderSize.h"
#include "browse/TreeSizeProgress.h"
#include "browse/browse_resources.h"
#include "browse/logic/FileOpsLogic.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "browse/logic/TreeLogic.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ScreenDpi.h"
#include "platform/WaitCursor.h"

namespace ferlane {
namespace {

// The menu in order; Count stands for a separator.
struct TreeMenuEntry {
  TreeMenuItem item;
  UINT bitmap;
};
constexpr TreeMenuItem kSeparator = TreeMenuItem::Count;
constexpr TreeMenuEntry kTreeMenu[] = {
    {TreeMenuItem::NewFolder, IDB_BROWSE_NEWFOLDER},
    {TreeMenuItem::RenameFolder, IDB_BROWSE_EDITFOLDER},
    {TreeMenuItem::DeleteFolder, IDB_BROWSE_DELFOLDER},
    {kSeparator, 0},
    {TreeMenuItem::Cut, IDB_BROWSE_CUT},
    {TreeMenuItem::Copy, IDB_BROWSE_COPY},
    {TreeMenuItem::Paste, IDB_BROWSE_PASTE},
    {kSeparator, 0},
    {TreeMenuItem::TreeSize, IDB_BROWSE_TREESIZE},
    {TreeMenuItem::FolderContents, IDB_BROWSE_DIRCONTENTS},
    {kSeparator, 0},
    {TreeMenuItem::ConnectNetworkDrive, IDB_BROWSE_NETCONNECT},
    {TreeMenuItem::DisconnectNetworkDrive, IDB_BROWSE_NETDISCONNECT},
    {kSeparator, 0},
    {TreeMenuItem::Properties, IDB_BROWSE_ATTRIBUTES},
};

// The command of an item: IDM_TREE_FIRST + its tag - 1.
UINT CommandOf(TreeMenuItem item) { return IDM_TREE_FIRST + static_cast<UINT>(item); }

HWND OwnerOf(HWND hwnd) {
  HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  return root ? root : MainWindow();
}

// The platform's dialogs belong to the application's main window.
HWND DialogOwner(HWND tree) { return MainWindow() ? MainWindow() : OwnerOf(tree); }

int LevelOf(HWND tree, HTREEITEM node) {
  int level = -1;
  for (; node; node = TreeView_GetParent(tree, node)) ++level;
  return level;
}

// The picture drawn for the screen's DPI.
HBITMAP LoadMenuBitmap(UINT id) {
  id += PictureStep(ScreenDpi().value) * IDB_BROWSE_DPI_STEP;
  return static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

}  // namespace

// ---- The menu ----------------------------------------------------------------

void TDirTree::AttachContextMenu() {
  if (!menu_) RebuildContextMenu();
  menuAttached_ = true;
}

void TDirTree::DetachContextMenu() { menuAttached_ = false; }

void TDirTree::RebuildContextMenu() {
  UniqueHMenu menu(::CreatePopupMenu());
  std::vector<UniqueHBitmap> bitmaps;
  for (const TreeMenuEntry& e : kTreeMenu) {
    if (e.item == kSeparator) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    ::AppendMenuW(menu.get(), MF_STRING, CommandOf(e.item), TreeMenuCaption(language_, e.item));
    bitmaps.emplace_back(LoadMenuBitmap(e.bitmap));
    if (bitmaps.back()) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_BITMAP;
      mii.hbmpItem = bitmaps.back().get();
      ::SetMenuItemInfoW(menu.get(), CommandOf(e.item), FALSE, &mii);
    }
  }
  menu_ = std::move(menu);  // the old menu goes before its pictures
  menuBitmaps_ = std::move(bitmaps);
}

int TDirTree::SelectedLevel() const {
  if (!tree_) return -1;
  HTREEITEM node = TreeView_GetSelection(tree_);
  return node ? LevelOf(tree_, node) : -1;
}

void TDirTree::EnableMenuItems() {
  const auto enabled = fileops::TreeMenuEnabled(SelectedLevel(), pastePending_);
  for (int i = 0; i < kTreeMenuItemCount; ++i)
    ::EnableMenuItem(menu_.get(), CommandOf(static_cast<TreeMenuItem>(i)),
                     MF_BYCOMMAND | (enabled[static_cast<std::size_t>(i)] ? MF_ENABLED : MF_GRAYED));
}

HMENU TDirTree::ContextMenu() {
  if (!menu_) RebuildContextMenu();
  EnableMenuItems();
  return menu_.get();
}

void TDirTree::ShowContextMenu(POINT screenPt) {
  if (!hwnd_ || !menuAttached_) return;
  HMENU menu = ContextMenu();
  // The platform asks the window that opens a menu to be the foreground one.
  ::SetForegroundWindow(OwnerOf(hwnd_));
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPt.x + 10, screenPt.y + 10, 0, hwnd_, nullptr);
}

void TDirTree::RunMenuCommand(UINT id) {
  if (id < IDM_TREE_FIRST || id > IDM_TREE_LAST) return;
  switch (static_cast<TreeMenuItem>(id - IDM_TREE_FIRST)) {
    case TreeMenuItem::NewFolder: CreateFolder(); break;
    case TreeMenuItem::RenameFolder: EditSelectedNode(); break;
    case TreeMenuItem::DeleteFolder: if (tree_) DeleteFolder(TreeView_GetSelection(tree_)); break;
    case TreeMenuItem::Cut: RememberFolder(foMove); break;
    case TreeMenuItem::Copy: RememberFolder(foCopy); break;
    case TreeMenuItem::Paste: PasteFolder(); break;
    case TreeMenuItem::TreeSize: ShowTreeSize(); break;
    case TreeMenuItem::FolderContents: ShowFolderContents(); break;
    case TreeMenuItem::ConnectNetworkDrive: ConnectNetworkDrive(); break;
    case TreeMenuItem::DisconnectNetworkDrive: DisconnectNetworkDrive(); break;
    case TreeMenuItem::Properties: ShowSelectedProperties(); break;
    default: break;
  }
}

// ---- New, delete, cut, copy and paste ------------------------------------------

bool TDirTree::CreateFolder(HTREEITEM node, const std::wstring& name) {
  if (!tree_) return false;
  if (!node) node = TreeView_GetSelection(tree_);
  if (!node) return false;
  if (LevelOf(tree_, node) == 0) {
    ShowError(OwnerOf(hwnd_), Text(Msg::ErrorPrefix) + Text(Msg::CannotAddDrives));
    return false;
  }
  const bool defaultName = name.empty();
  const std::wstring folderName = defaultName ? Text(Msg::NewFolderName) : name;
  if (HasInvalidChar(kInvalidFolderChars, folderName)) {
    ::MessageBeep(MB_ICONHAND);
    ShowError(OwnerOf(hwnd_), Text(Msg::InvalidChars));
    return false;
  }
  const std::wstring path = AddSlash(NodePath(node)) + folderName;
  BeginUpdate();
  const bool created = ::CreateDirectoryW(path.c_str(), nullptr) != 0;
  EndUpdate();
  if (!created) return false;  // told by nothing, as the shell's own New Folder would not
  ReloadTree();
  ExpandToPath(AddSlash(path));
  // A fresh folder is named at once, without the rename question.
  if (defaultName) {
    skipConfirmation_ = true;
    if (!EditSelectedNode()) skipConfirmation_ = false;
  }
  return true;
}

bool TDirTree::DeleteFolder(HTREEITEM node) {
  if (!tree_ || !node || LevelOf(tree_, node) < 2) return false;
  WaitCursor wait;
  const std::wstring path = NodePath(node);
  if (path.empty()) return false;
  if (!FolderExists(path)) {
    ::MessageBeep(MB_ICONHAND);
    ShowError(OwnerOf(hwnd_), path + Text(Msg::NotFound));
    return false;
  }
  if (!DoFileOperation(foDelete, DelSlash(path), L"")) return false;
  if (!tree_) return false;
  HTREEITEM parent = TreeView_GetParent(tree_, node);
  TreeView_SelectItem(tree_, parent);
  TreeView_DeleteItem(tree_, node);
  // What hosts read from SelectedPath must not name the folder just deleted.
  selectedPath_ = NodePath(parent);
  RaiseDirChange();
  if (list_) list_->SetDirectory(selectedPath_);
  return true;
}

void TDirTree::RememberFolder(FileOpCode operation) {
  rememberedSource_.clear();
  pastePending_ = false;
  if (!tree_ || !TreeView_GetSelection(tree_) || selectedPath_.empty()) return;
  rememberedSource_ = selectedPath_;
  rememberedOperation_ = operation;
  pastePending_ = true;
}

void TDirTree::PasteFolder() {
  struct ClearPending {
    bool& flag;
    ~ClearPending() { flag = false; }
  } clear{pastePending_};
  if (!tree_ || !TreeView_GetSelection(tree_) || selectedPath_.empty() || rememberedSource_.empty()) return;
  const std::wstring target = AddSlash(selectedPath_);
  // The shell takes a folder to copy by its name, not with a trailing backslash.
  if (DoFileOperation(rememberedOperation_, DelSlash(rememberedSource_), target)) {
    ReloadTree();
    ExpandToPath(target);
  } else {
    ShowError(OwnerOf(hwnd_), Text(Msg::OperationFailed));
  }
}

// ---- Tree size and folder contents ---------------------------------------------

void TDirTree::ShowTreeSize() {
  const int level = SelectedLevel();
  if (level < 1) return;
  const std::wstring path = NodePath(TreeView_GetSelection(tree_));
  FolderSizeWalk walk(path);
  bool complete = false;
  {
    WaitCursor wait;
    BeginUpdate();
    walk.Start();
    complete = WaitWithProgress(walk, OwnerOf(hwnd_), TreeMenuCaption(language_, TreeMenuItem::TreeSize),
                                language_, progressDelay_);
    EndUpdate();
  }
  if (!complete) return;  // stopped by the user: a partial figure would mislead
  const std::wstring header = fileops::TreeSizeHeader(level == 1, path);
  ShowMessage(OwnerOf(hwnd_), fileops::TreeSizeMessage(header, walk.Bytes(), LocaleNumberFormat()),
              MB_OK | MB_ICONINFORMATION);
}

void TDirTree::ShowFolderContents() {
  const int level = SelectedLevel();
  if (level < 1 || selectedPath_.empty()) return;
  contentsFolder_ = selectedPath_;
  const std::wstring title = fileops::FolderContentsTitle(level == 1, NodePath(TreeView_GetSelection(tree_)));
  CollapseAll();
  contents_.reset();
  auto window = std::make_unique<FolderContentsWindow>();
  const HWND self = hwnd_;
  window->OnOk = [self] { ::PostMessageW(self, kContentsOkMessage, 0, 0); };
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  if (window->Create(hwnd_, rc, contentsFolder_, Text(Msg::FilesIn) + title)) contents_ = std::move(window);
}

void TDirTree::CloseFolderContents() {
  if (!contents_) return;
  selectedFile_.clear();
  const std::wstring file = contents_->SelectedFile();
  if (!file.empty()) {
    selectedFile_ = file;
    if (OnFileChange) OnFileChange(*this, selectedFile_);
  }
  contents_.reset();
  ExpandToPath(contentsFolder_);
}

HWND TDirTree::FolderContentsHwnd() const { return contents_ ? contents_->hwnd() : nullptr; }
HWND TDirTree::FolderContentsList() const { return contents_ ? contents_->ListHwnd() : nullptr; }
HWND TDirTree::FolderContentsOk() const { return contents_ ? contents_->OkButton() : nullptr; }

// ---- Network drives and properties -----------------------------------------------

void TDirTree::ConnectNetworkDrive() {
  const wchar_t guessed = fileops::NextDriveLetter(Platform().LogicalDrives());
  if (::WNetConnectionDialog(DialogOwner(hwnd_), RESOURCETYPE_DISK) != NO_ERROR || !tree_) return;
  ReloadTree();
  HTREEITEM root = TreeView_GetRoot(tree_);
  if (!root) return;
  TreeView_Expand(tree_, root, TVE_EXPAND);
  HTREEITEM last = nullptr;
  for (HTREEITEM c = TreeView_GetChild(tree_, root); c; c = TreeView_GetNextSibling(tree_, c)) last = c;
  if (last) TreeView_SelectItem(tree_, last);
  selectedPath_ = std::wstring(1, guessed) + L":\\";
  if (list_) list_->SetDirectory(selectedPath_);
}

void TDirTree::DisconnectNetworkDrive() {
  ::WNetDisconnectDialog(DialogOwner(hwnd_), RESOURCETYPE_DISK);
  if (!tree_) return;
  ReloadTree();
  HTREEITEM root = TreeView_GetRoot(tree_);
  if (root) {
    TreeView_Expand(tree_, root, TVE_EXPAND);
    TreeView_SelectItem(tree_, root);
  }
  selectedPath_ = treelogic::kDrivesPath;
  if (!list_) return;
  // Re-listed even when it already showed the drives: one may have gone.
  if (treelogic::IsDrivesPath(list_->Directory()))
    list_->UpdateFileList();
  else
    list_->SetDirectory(selectedPath_);
}

void TDirTree::ShowSelectedProperties() {
  if (SelectedLevel() >= 1 && !selectedPath_.empty()) ShowFileProperties(selectedPath_);
}

}  // namespace ferlane
