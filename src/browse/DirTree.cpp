#include "browse/DirTree.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "browse/FileListView.h"
#include "browse/FolderContents.h"
#include "browse/ShellOps.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "browse/logic/TreeLogic.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ScreenDpi.h"
#include "platform/UniqueHandle.h"
#include "platform/WaitCursor.h"
#include "platform/WindowThunk.h"

namespace ferlane {

using treelogic::kDrivesPath;

namespace {

// Posted to run an accepted label edit once the edit control has closed, so
// that its message boxes do not fight the closing editor for the focus.
constexpr UINT kRunRenameMessage = WM_APP + 0x52;

constexpr int kTreeControlId = 1;
constexpr int kDefaultWidth = 180;
constexpr int kDefaultHeight = 120;

// Non-owning view of the tree view control: one call per TreeView message.
class TreeCtl {
 public:
  explicit TreeCtl(HWND h) : h_(h) {}

  HTREEITEM Root() const { return TreeView_GetRoot(h_); }
  HTREEITEM Child(HTREEITEM n) const { return TreeView_GetChild(h_, n); }
  HTREEITEM Next(HTREEITEM n) const { return TreeView_GetNextSibling(h_, n); }
  HTREEITEM Parent(HTREEITEM n) const { return TreeView_GetParent(h_, n); }
  HTREEITEM Selected() const { return TreeView_GetSelection(h_); }
  void Select(HTREEITEM n) const { TreeView_SelectItem(h_, n); }
  void Expand(HTREEITEM n, UINT code) const { TreeView_Expand(h_, n, code); }
  bool IsExpanded(HTREEITEM n) const { return (TreeView_GetItemState(h_, n, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }
  void DeleteAll() const { TreeView_DeleteAllItems(h_); }

  std::wstring Text(HTREEITEM n) const {
    wchar_t buf[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = n;
    item.pszText = buf;
    item.cchTextMax = static_cast<int>(std::size(buf));
    if (!TreeView_GetItem(h_, &item)) return std::wstring();
    // A callback text would leave the buffer alone; the tree inserts none.
    return item.pszText == buf ? std::wstring(buf) : std::wstring();
  }

  void SetText(HTREEITEM n, const std::wstring& text) const {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = n;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    TreeView_SetItem(h_, &item);
  }

  void SetHasChildren(HTREEITEM n, bool value) const {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = n;
    item.cChildren = value ? 1 : 0;
    TreeView_SetItem(h_, &item);
  }

  HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, int image, int selectedImage,
                   bool hasChildren) const {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    ins.item.cChildren = hasChildren ? 1 : 0;
    return TreeView_InsertItem(h_, &ins);
  }

  int Level(HTREEITEM n) const {
    int level = -1;
    for (; n; n = Parent(n)) ++level;
    return level;
  }

  HTREEITEM HitTest(POINT pt, UINT& flags) const {
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM n = TreeView_HitTest(h_, &info);
    flags = info.flags;
    return n;
  }

 private:
  HWND h_;
};

// No "insert a disk" box from the system while an empty drive is read.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() : old_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {
    ::SetErrorMode(old_ | SEM_FAILCRITICALERRORS);
  }
  ~QuietCriticalErrors() { ::SetErrorMode(old_); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  UINT old_;
};

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool IsSubFolder(const WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsDotName(entry.cFileName);
}

// Whether folder holds a subfolder: the first one found settles it.
bool HasSubFolders(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  UniqueFind find(::FindFirstFileW((AddSlash(folder) + L"*.*").c_str(), &entry));
  if (!find) return false;
  do {
    if (IsSubFolder(entry)) return true;
  } while (::FindNextFileW(find.get(), &entry));
  return false;
}

// A folder marked read-only or system may carry its own icon (desktop.ini).
bool MayHaveOwnIcon(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

HWND OwnerOf(HWND hwnd) {
  HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  return root ? root : MainWindow();
}

bool RegisterTreeClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, TDirTree::kClassName, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = TDirTree::kClassName;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

class TDirTree::UpdateBracket {
 public:
  explicit UpdateBracket(TDirTree& tree) : tree_(tree) { tree_.BeginUpdate(); }
  ~UpdateBracket() { tree_.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TDirTree& tree_;
};

TDirTree::TDirTree() { AttachContextMenu(); }

TDirTree::~TDirTree() {
  SetFileList(nullptr);
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool TDirTree::Create(HWND parent, int id, const RECT& rc) {
  if (hwnd_) return false;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterTreeClass(instance, &ThunkProc<TDirTree>)) return false;
  int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) width = kDefaultWidth, height = kDefaultHeight;
  HWND h = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc.left, rc.top,
                             width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             instance, this);
  return h != nullptr && tree_ != nullptr;
}

HWND TDirTree::hwnd() const { return hwnd_; }
HWND TDirTree::TreeHwnd() const { return tree_; }

TDirTree* TDirTree::FromHwnd(HWND hwnd) {
  wchar_t name[64] = {};
  for (int i = 0; i < 2 && hwnd; ++i, hwnd = ::GetParent(hwnd)) {
    if (::GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) && lstrcmpiW(name, kClassName) == 0)
      return reinterpret_cast<TDirTree*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return nullptr;
}

// ---- Window procedures ------------------------------------------------------

void TDirTree::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  if (hwnd) return;
  tree_ = nullptr;
  updateDepth_ = 0;
  pendingRename_ = PendingRename();
}

LRESULT TDirTree::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND window = hwnd_;
  switch (msg) {
    case WM_CREATE: {
      RECT rc;
      ::GetClientRect(hwnd_, &rc);
      tree_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS,
                                0, 0, rc.right, rc.bottom, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeControlId)),
                                ::GetModuleHandleW(nullptr), nullptr);
      if (!tree_) return -1;
      // The shared system image list: used, never freed.
      SHFILEINFOW info{};
      auto images = reinterpret_cast<HIMAGELIST>(
          ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
      if (images) TreeView_SetImageList(tree_, images, TVSIL_NORMAL);
      ::SetWindowLongPtrW(tree_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      treeDefProc_ = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TDirTree::TreeProc)));
      CreateNodes();
      return 0;
    }
    case WM_SIZE:
      if (tree_) ::MoveWindow(tree_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (tree_) ::SetFocus(tree_);
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr && hdr->hwndFrom == tree_) return HandleNotify(hdr);
      break;
    }
    case WM_CONTEXTMENU:
      if (menuAttached_) ShowContextMenu(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0) RunMenuCommand(LOWORD(wp));
      return 0;
    case kContentsOkMessage:
      CloseFolderContents();
      return 0;
    case kRunRenameMessage: {
      PendingRename rename = pendingRename_;
      pendingRename_ = PendingRename();
      if (rename.node) RenameFolder(rename);
      return 0;
    }
    case WM_DESTROY:
      // A destroyed tree no longer drives its list.
      SetFileList(nullptr);
      contents_.reset();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, msg, wp, lp);
}

LRESULT CALLBACK TDirTree::TreeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TDirTree*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->treeDefProc_) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return GuardedCall(hwnd, [&] { return self->HandleTreeMessage(msg, wp, lp); });
}

LRESULT TDirTree::HandleTreeMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const WNDPROC defProc = treeDefProc_;
  const HWND tree = tree_;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      LRESULT result = ::CallWindowProcW(defProc, tree, msg, wp, lp);
      if (tree_ == tree)
        TreeMouseDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK);
      return result;
    }
    case WM_KEYUP:
      switch (wp) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT: {
          LRESULT result = ::CallWindowProcW(defProc, tree, msg, wp, lp);
          TreeKeyUp(wp);
          return result;
        }
        default:
          TreeKeyUp(wp);
          return 0;
      }
    case WM_CONTEXTMENU:
      if (menuAttached_) ShowContextMenu(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc));
      ::SetWindowLongPtrW(tree, GWLP_USERDATA, 0);
      treeDefProc_ = nullptr;
      tree_ = nullptr;
      return ::CallWindowProcW(defProc, tree, msg, wp, lp);
    default:
      break;
  }
  return ::CallWindowProcW(defProc, tree, msg, wp, lp);
}

LRESULT TDirTree::HandleNotify(NMHDR* hdr) {
  switch (hdr->code) {
    case TVN_ITEMEXPANDINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
      if ((nm->action & (TVE_COLLAPSE | TVE_EXPAND)) == TVE_EXPAND) NodeExpanding(nm->itemNew.hItem);
      return FALSE;
    }
    case TVN_GETDISPINFOW:
      NodeGetDispInfo(*reinterpret_cast<NMTVDISPINFOW*>(hdr));
      return 0;
    case TVN_BEGINLABELEDITW:
      // TRUE refuses the edit.
      return BeginLabelEdit(reinterpret_cast<NMTVDISPINFOW*>(hdr)->item.hItem) ? FALSE : TRUE;
    case TVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(hdr);
      EndLabelEdit(info->item.hItem, info->item.pszText);
      return FALSE;  // the text changes only once the folder was renamed
    }
    case TVN_DELETEITEMW:
      if (reinterpret_cast<NMTREEVIEWW*>(hdr)->itemOld.hItem == pendingRename_.node)
        pendingRename_ = PendingRename();
      return 0;
    case NM_RCLICK:
      // The menu opens after the node under the pointer was selected (mouse handling).
      return TRUE;
    default:
      return 0;
  }
}

// ---- Nodes -------------------------------------------------------------------

void TDirTree::BeginUpdate() {
  if (updateDepth_++ == 0 && tree_) ::SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
}

void TDirTree::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0 && tree_) {
    ::SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree_, nullptr, TRUE);
  }
}

bool TDirTree::Updating() const { return updateDepth_ > 0; }

void TDirTree::CreateNodes() { AddRootNode(); }

void TDirTree::AddRootNode() {
  if (!tree_) return;
  TreeView_EndEditLabelNow(tree_, TRUE);
  TreeCtl tree(tree_);
  tree.DeleteAll();
  pendingRename_ = PendingRename();
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(hwnd_, CSIDL_DRIVES, &pidl)) || !pidl) return;
  SHFILEINFOW info{};
  const DWORD_PTR ok = ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                                        SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
  ::CoTaskMemFree(pidl);
  if (!ok) return;
  tree.Insert(TVI_ROOT, info.szDisplayName, info.iIcon, info.iIcon, false);
}

void TDirTree::AddDriveNodes() {
  if (!tree_) return;
  TreeCtl tree(tree_);
  HTREEITEM root = tree.Root();
  if (!root) return;
  UpdateBracket bracket(*this);
  QuietCriticalErrors quiet;
  const DWORD drives = Platform().LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'A' + i);
    const std::wstring driveRoot = std::wstring(1, letter) + L":\\";
    SHFILEINFOW info{};
    ::SHGetFileInfoW(driveRoot.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    tree.Insert(root, treelogic::DriveCaption(letter, info.szDisplayName), GetSmallIconIndex(driveRoot),
                GetOpenIconIndex(driveRoot), true);
    networkDrive_[i] = Platform().DriveType(driveRoot) == DRIVE_REMOTE;
  }
}

void TDirTree::ReloadTree() {
  UpdateBracket bracket(*this);
  AddRootNode();
  AddDriveNodes();
}

std::wstring TDirTree::NodePath(HTREEITEM node) const {
  if (!tree_ || !node) return std::wstring();
  TreeCtl tree(tree_);
  std::vector<std::wstring> texts;
  for (HTREEITEM n = node; n; n = tree.Parent(n)) texts.push_back(tree.Text(n));
  std::reverse(texts.begin(), texts.end());
  return treelogic::NodePathFromTexts(texts);
}

void TDirTree::NodeExpanding(HTREEITEM node) {
  TreeCtl tree(tree_);
  if (!node || tree.Child(node)) return;
  // The root holds the drives: a folder listing of "" would be the current folder's.
  if (!tree.Parent(node)) {
    AddDriveNodes();
    return;
  }
  WaitCursor wait;
  UpdateBracket bracket(*this);
  tree.SetHasChildren(node, false);
  AddFolderNodes(NodePath(node), node);
  // A folder that could not be read, or holds none, loses its button.
  tree.SetHasChildren(node, tree.Child(node) != nullptr);
}

void TDirTree::AddFolderNodes(const std::wstring& path, HTREEITEM parent) {
  struct Entry {
    std::wstring name;
    bool ownIcon;
  };
  const std::wstring folder = AddSlash(path);
  const wchar_t letter = path.empty() ? L'\0' : UpperCase(path.substr(0, 1))[0];
  const bool network = letter >= L'A' && letter <= L'Z' && networkDrive_[letter - L'A'];

  QuietCriticalErrors quiet;
  std::vector<Entry> entries;
  WIN32_FIND_DATAW found;
  UniqueFind find(::FindFirstFileW((folder + L"*.*").c_str(), &found));
  if (find) {
    do {
      if (IsSubFolder(found)) entries.push_back({found.cFileName, MayHaveOwnIcon(found.dwFileAttributes)});
    } while (::FindNextFileW(find.get(), &found));
    find.reset();
  }
  // Sorted once, in the platform's locale order, before the nodes go in.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return ::lstrcmpW(a.name.c_str(), b.name.c_str()) < 0; });

  TreeCtl tree(tree_);
  // Asking the shell for each of thousands of folders costs more than the
  // listing itself: ordinary folders all show the icons of the first one, and
  // a folder that may carry its own asks the shell when it is drawn.
  int plainIcon = -1, plainOpenIcon = -1;
  for (const Entry& e : entries) {
    // Probing a network folder costs a round trip each: every one gets a button.
    const bool hasChildren = network || HasSubFolders(folder + e.name);
    if (!e.ownIcon && plainIcon < 0) {
      plainIcon = GetSmallIconIndex(folder + e.name);
      plainOpenIcon = GetOpenIconIndex(folder + e.name);
    }
    const bool callback = e.ownIcon || plainIcon < 0;
    tree.Insert(parent, e.name, callback ? I_IMAGECALLBACK : plainIcon, callback ? I_IMAGECALLBACK : plainOpenIcon,
                hasChildren);
  }
}

void TDirTree::NodeGetDispInfo(NMTVDISPINFOW& info) {
  if (!(info.item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) return;
  const std::wstring path = NodePath(info.item.hItem);
  if (info.item.mask & TVIF_IMAGE) info.item.iImage = GetSmallIconIndex(path);
  if (info.item.mask & TVIF_SELECTEDIMAGE) info.item.iSelectedImage = GetOpenIconIndex(path);
  info.item.mask |= TVIF_DI_SETITEM;  // asked once per node
}

void TDirTree::CollapseAll() {
  TreeCtl tree(tree_);
  std::vector<HTREEITEM> pending;
  if (HTREEITEM root = tree.Root()) pending.push_back(root);
  while (!pending.empty()) {
    HTREEITEM n = pending.back();
    pending.pop_back();
    HTREEITEM child = tree.Child(n);
    if (!child) continue;
    if (tree.IsExpanded(n)) tree.Expand(n, TVE_COLLAPSE);
    for (; child; child = tree.Next(child)) pending.push_back(child);
  }
}

// ---- Paths -------------------------------------------------------------------

void TDirTree::OpenPath(const std::wstring& path) {
  if (path.empty() || SameTextIgnoreCase(path, lastOpened_)) return;
  const std::wstring folder = AddSlash(path);
  if (!FolderExists(folder)) return;
  lastOpened_ = folder;
  ExpandToPath(folder);
  if (list_) list_->SetDirectory(folder);
}

void TDirTree::ExpandToPath(const std::wstring& path) {
  if (!tree_ || path.size() < 2 || !FolderExists(path)) return;
  const std::wstring full = AddSlash(path);
  TreeCtl tree(tree_);
  {
    UpdateBracket bracket(*this);
    HTREEITEM current = tree.Root();
    if (!current) return;
    if (!tree.Child(current)) AddDriveNodes();
    CollapseAll();
    tree.Expand(current, TVE_EXPAND);
    int level = 0;
    for (const std::wstring& segment : treelogic::PathSegments(full)) {
      // Only the children of the node matched so far are candidates: a
      // folder of the same name elsewhere in the loaded tree is another folder.
      HTREEITEM match = nullptr;
      for (HTREEITEM n = tree.Child(current); n && !match; n = tree.Next(n))
        if (treelogic::SegmentMatches(segment, level + 1, tree.Text(n))) match = n;
      if (!match) return;
      tree.Select(match);
      tree.Expand(match, TVE_EXPAND);
      current = match;
      ++level;
    }
  }
  if (!SameTextIgnoreCase(selectedPath_, full)) selectedPath_ = full;
  RaiseDirChange();
}

const std::wstring& TDirTree::SelectedPath() const { return selectedPath_; }

void TDirTree::SetSelectedPath(const std::wstring& path) {
  if (!SameTextIgnoreCase(path, selectedPath_)) selectedPath_ = path;
}

const std::wstring& TDirTree::SelectedFile() const { return selectedFile_; }

void TDirTree::SetSelectedFile(const std::wstring& file) {
  if (!SameTextIgnoreCase(file, selectedFile_)) selectedFile_ = file;
}

TFileListView* TDirTree::FileList() const { return list_; }

void TDirTree::SetFileList(TFileListView* list) {
  if (list == list_) return;
  TFileListView* old = list_;
  list_ = list;
  if (old && old->DirTree() == this) old->SetDirTree(nullptr);
  if (list) {
    list->SetDirTree(this);
    if (!selectedPath_.empty()) list->SetDirectory(selectedPath_);
  }
}

// ---- Selection by the user ---------------------------------------------------

void TDirTree::RaiseDirChange() {
  if (OnDirChange) OnDirChange(*this, selectedPath_);
}

void TDirTree::ListFollows() {
  if (list_ && !selectedPath_.empty()) list_->SetDirectory(selectedPath_);
}

void TDirTree::TreeMouseDown(POINT pt, bool rightButton) {
  previousPath_ = selectedPath_;
  TreeCtl tree(tree_);
  UINT flags = 0;
  HTREEITEM hit = tree.HitTest(pt, flags);
  if (hit && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))) tree.Select(hit);
  if (SelectionChanged(true)) previousPath_ = selectedPath_;
  if (rightButton && menuAttached_ && tree_) {
    POINT screen = pt;
    ::ClientToScreen(tree_, &screen);
    ShowContextMenu(screen);
  }
}

void TDirTree::TreeKeyUp(WPARAM key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
      if (tree_ && TreeCtl(tree_).Selected()) SelectionChanged(false);
      break;
    case VK_F5: {
      const std::wstring path = selectedPath_;
      ReloadTree();
      ExpandToPath(path);
      if (list_) list_->UpdateFileList();
      break;
    }
    case VK_F2:
      EditSelectedNode();
      break;
    case VK_F10:
      if (::GetKeyState(VK_SHIFT) >= 0) break;
      [[fallthrough]];
    case VK_APPS:
      if (menuAttached_ && tree_) {
        RECT rc{};
        POINT pt{0, 0};
        if (HTREEITEM sel = TreeCtl(tree_).Selected(); sel && TreeView_GetItemRect(tree_, sel, &rc, TRUE))
          pt = POINT{rc.left, rc.bottom};
        ::ClientToScreen(tree_, &pt);
        ShowContextMenu(pt);
      }
      break;
    default:
      break;
  }
}

bool TDirTree::SelectionChanged(bool byMouse) {
  if (!tree_) return false;
  TreeCtl tree(tree_);
  HTREEITEM node = tree.Selected();
  if (!node) return false;
  const int level = tree.Level(node);
  if (level == 0 && !tree.Child(node)) AddDriveNodes();
  const std::wstring before = selectedPath_;
  selectedPath_ = treelogic::SelectionPath(level, NodePath(node));

  if (level == 1 && !selectedPath_.empty()) {
    const UINT type = Platform().DriveType(selectedPath_);
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !CheckDriveReady(selectedPath_[0], true)) {
      if (byMouse) {
        const std::wstring previous = previousPath_;
        ExpandToPath(previous);
        // "Drives", nothing, or a folder gone meanwhile: the tree cannot walk
        // back there, but SelectedPath must still name what the list shows.
        if (!SameTextIgnoreCase(DelSlash(selectedPath_), DelSlash(previous))) {
          if (treelogic::IsDrivesPath(previous)) tree.Select(tree.Root());
          selectedPath_ = previous;
        }
      } else {
        // The arrow keys move on from an empty drive without jumping back;
        // the list still shows the folder before it, and so must SelectedPath.
        selectedPath_ = before;
      }
      return false;
    }
  }
  RaiseDirChange();
  ListFollows();
  return true;
}

// ---- In-place rename ---------------------------------------------------------

HWND TDirTree::EditSelectedNode() {
  if (!tree_) return nullptr;
  HTREEITEM node = TreeCtl(tree_).Selected();
  if (!node) return nullptr;
  ::SetFocus(tree_);
  return TreeView_EditLabel(tree_, node);
}

void TDirTree::SkipNextRenameConfirmation() { skipConfirmation_ = true; }

bool TDirTree::BeginLabelEdit(HTREEITEM node) {
  return !readOnly_ && tree_ && node && TreeCtl(tree_).Level(node) >= 2;
}

void TDirTree::EndLabelEdit(HTREEITEM node, const wchar_t* text) {
  if (!text || !node) {
    // Cancelled: a skip set for a new folder must not carry over to a later rename.
    skipConfirmation_ = false;
    return;
  }
  pendingRename_ = PendingRename{node, text};
  ::PostMessageW(hwnd_, kRunRenameMessage, 0, 0);
}

void TDirTree::RenameFolder(const PendingRename& rename) {
  struct ClearSkip {
    bool& flag;
    ~ClearSkip() { flag = false; }
  } clearSkip{skipConfirmation_};
  if (!tree_) return;
  TreeCtl tree(tree_);
  HTREEITEM node = rename.node;
  const std::wstring& text = rename.text;
  if (tree.Level(node) < 2) return;
  // Enter on an unchanged name renames nothing.
  if (text == tree.Text(node)) return;

  switch (treelogic::CheckFolderName(text)) {
    case treelogic::NameCheck::Empty:
      ::MessageBeep(MB_ICONHAND);
      return;
    case treelogic::NameCheck::InvalidChars:
      ::MessageBeep(MB_ICONHAND);
      ShowError(OwnerOf(hwnd_), treelogic::InvalidNameMessage(Text(Msg::InvalidFolderName), text));
      return;
    case treelogic::NameCheck::Ok:
      break;
  }

  const std::wstring oldPath = DelSlash(NodePath(node));
  const std::wstring newPath = treelogic::RenamedPath(oldPath, text);
  if (!skipConfirmation_) {
    const std::wstring question =
        treelogic::RenameQuestion(Text(Msg::RenameQuestion), Text(Msg::FromLabel), Text(Msg::ToLabel),
                                  ExtractFileName(oldPath), text);
    if (!AskYesNo(OwnerOf(hwnd_), question)) return;
  }

  WaitCursor wait;
  if (!DoFileOperation(foRename, oldPath, newPath)) return;
  if (!tree_) return;
  tree.SetText(node, text);
  HTREEITEM parent = tree.Parent(node);
  tree.Select(parent);
  // The renamed folder's old path no longer exists: the selection, and what
  // hosts read from SelectedPath, move to the parent the list now shows.
  selectedPath_ = NodePath(parent);
  RaiseDirChange();
  if (list_) list_->SetDirectory(selectedPath_);
}

// ---- Properties --------------------------------------------------------------

bool TDirTree::ReadOnly() const { return readOnly_; }
void TDirTree::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (value && tree_) TreeView_EndEditLabelNow(tree_, TRUE);
}

TLanguage TDirTree::Language() const { return language_; }

void TDirTree::SetLanguage(TLanguage value) {
  if (value == lnSysDefault) value = LanguageFromLangId(::GetUserDefaultLangID());
  if (value == language_) return;
  language_ = value;
  LoadTreeTexts(value);
  RebuildContextMenu();
  popUpMenuEnabled_ = true;
  AttachContextMenu();
  // The window is made afresh: root and drives, the root open.
  if (tree_) {
    ReloadTree();
    if (HTREEITEM root = TreeCtl(tree_).Root()) TreeCtl(tree_).Expand(root, TVE_EXPAND);
  }
}

bool TDirTree::PopUpMenuEnabled() const { return popUpMenuEnabled_; }

void TDirTree::SetPopUpMenuEnabled(bool value) {
  if (value == popUpMenuEnabled_) return;
  popUpMenuEnabled_ = value;
  if (value)
    AttachContextMenu();
  else
    DetachContextMenu();
}

void TDirTree::SetIndent(int pixels) {
  if (tree_) TreeView_SetIndent(tree_, ScreenDpi().Px(pixels));
}

std::wstring TDirTree::About() const { return L"Version 1.0"; }

}  // namespace ferlane
