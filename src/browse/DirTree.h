#pragma once
// TDirTree: a tree of the computer, its drives and their folders, loaded
// lazily, driving a linked file list. The widget is a window of its own class
// hosting a tree view control that fills it, so it answers the tree's
// notifications itself.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browse/ShellOps.h"
#include "browse/TreeSizeProgress.h"
#include "browse/logic/Language.h"
#include "platform/UniqueHandle.h"

namespace ferlane {

class TFileListView;
class TDirTree;
class FolderContentsWindow;

// Raised after the selection moved to a folder (or to the drives).
using TDirChangeEvent = std::function<void(TDirTree& sender, const std::wstring& selectedPath)>;
// Raised when a file was chosen in the folder-contents window.
using TFileChangeEvent = std::function<void(TDirTree& sender, const std::wstring& selectedFile)>;

class TDirTree {
 public:
  static constexpr wchar_t kClassName[] = L"TDirTree";

  TDirTree();
  ~TDirTree();
  TDirTree(const TDirTree&) = delete;
  TDirTree& operator=(const TDirTree&) = delete;

  // An empty rc gives the default size of 180 x 120.
  bool Create(HWND parent, int id, const RECT& rc);
  HWND hwnd() const;      // the widget's own window
  HWND TreeHwnd() const;  // the tree view control inside it
  // The widget owning hwnd (its own window or its tree view), or nullptr.
  static TDirTree* FromHwnd(HWND hwnd);

  // Expands down to path, selects it and points the linked list at it; a
  // second call with the same text does nothing.
  void OpenPath(const std::wstring& path);
  // Selects and expands the nodes down to an existing folder; SelectedPath
  // then ends in a backslash. Never moves the linked list.
  void ExpandToPath(const std::wstring& path);
  // Root and drive nodes afresh; loaded folders and expanded states are lost.
  void ReloadTree();
  // "" for the root, "X:\" for a drive, "X:\A\B" for a folder.
  std::wstring NodePath(HTREEITEM node) const;

  const std::wstring& SelectedPath() const;
  void SetSelectedPath(const std::wstring& path);
  const std::wstring& SelectedFile() const;
  void SetSelectedFile(const std::wstring& file);
  TFileListView* FileList() const;
  void SetFileList(TFileListView* list);

  bool ReadOnly() const;
  void SetReadOnly(bool value);
  TLanguage Language() const;
  void SetLanguage(TLanguage value);
  bool PopUpMenuEnabled() const;
  void SetPopUpMenuEnabled(bool value);
  // Horizontal step between a node and its children, in pixels.
  void SetIndent(int pixels);  // pixels at 96 DPI, scaled for the screen
  std::wstring About() const;
  void SetAbout(const std::wstring&) {}  // display only

  // Starts the in-place rename of the selected node (refused for the root,
  // drives and a read-only tree); the edit control, or nullptr.
  HWND EditSelectedNode();
  // The next accepted rename goes ahead without asking (a freshly created folder).
  void SkipNextRenameConfirmation();

  // Whether node changes are bracketed (the tree is not repainting).
  bool Updating() const;

  TDirChangeEvent OnDirChange;
  TFileChangeEvent OnFileChange;

  // ---- Folder operations and context menu (DirTreeOps.cpp) ----------------
  // A new folder below node (the selected one when null), named name or, with
  // no name, the default name with its rename started at once.
  bool CreateFolder(HTREEITEM node = nullptr, const std::wstring& name = std::wstring());
  bool DeleteFolder(HTREEITEM node);
  // Cut (foMove) or Copy (foCopy) of the selected folder, pasted by PasteFolder.
  void RememberFolder(FileOpCode operation);
  void PasteFolder();
  bool PastePending() const { return pastePending_; }
  void ShowTreeSize();
  void ShowFolderContents();
  void ConnectNetworkDrive();
  void DisconnectNetworkDrive();
  void ShowSelectedProperties();
  // The context menu, its items enabled for the selected node as when it opens.
  HMENU ContextMenu();
  // Runs the context-menu command id (IDM_TREE_FIRST + tag - 1).
  void RunMenuCommand(UINT id);
  // The open folder-contents window, or nullptr.
  HWND FolderContentsHwnd() const;
  HWND FolderContentsList() const;
  HWND FolderContentsOk() const;
  // How long a tree-size walk runs before its progress shows, in milliseconds.
  void SetTreeSizeProgressDelay(DWORD ms) { progressDelay_ = ms; }

 private:
  // Posted by the folder-contents window's OK button: the window is closed
  // from the tree, outside its own message handling.
  static constexpr UINT kContentsOkMessage = WM_APP + 0x53;
  class UpdateBracket;
  struct PendingRename {
    HTREEITEM node = nullptr;
    std::wstring text;
  };

  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd);
  static LRESULT CALLBACK TreeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleTreeMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleNotify(NMHDR* hdr);

  void CreateNodes();
  void AddRootNode();
  void AddDriveNodes();
  void NodeExpanding(HTREEITEM node);
  void AddFolderNodes(const std::wstring& path, HTREEITEM parent);
  void CollapseAll();
  void NodeGetDispInfo(NMTVDISPINFOW& info);

  void TreeMouseDown(POINT pt, bool rightButton);
  void TreeKeyUp(WPARAM key);
  // Steps shared by a mouse and a key selection; false when a drive without
  // a medium stopped them.
  bool SelectionChanged(bool byMouse);
  void RaiseDirChange();
  void ListFollows();

  bool BeginLabelEdit(HTREEITEM node);
  void EndLabelEdit(HTREEITEM node, const wchar_t* text);
  void RenameFolder(const PendingRename& rename);

  // Context menu hooks (the menu and its folder operations come with the menu).
  void AttachContextMenu();
  void DetachContextMenu();
  void RebuildContextMenu();
  void ShowContextMenu(POINT screenPt);

  void BeginUpdate();
  void EndUpdate();
  void EnableMenuItems();
  void CloseFolderContents();
  int SelectedLevel() const;

  HWND hwnd_ = nullptr;
  HWND tree_ = nullptr;
  WNDPROC treeDefProc_ = nullptr;
  TFileListView* list_ = nullptr;
  std::wstring selectedPath_;
  std::wstring selectedFile_;
  std::wstring previousPath_;
  std::wstring lastOpened_;
  bool networkDrive_[26] = {};
  bool readOnly_ = false;
  bool skipConfirmation_ = false;
  bool popUpMenuEnabled_ = true;
  bool menuAttached_ = false;
  TLanguage language_ = lnEnglish;
  int updateDepth_ = 0;
  PendingRename pendingRename_;

  // Context menu and folder operations (DirTreeOps.cpp).
  UniqueHMenu menu_;
  std::vector<UniqueHBitmap> menuBitmaps_;
  std::wstring rememberedSource_;
  FileOpCode rememberedOperation_ = foCopy;
  bool pastePending_ = false;
  std::unique_ptr<FolderContentsWindow> contents_;
  std::wstring contentsFolder_;
  DWORD progressDelay_ = kTreeSizeProgressDelay;
};

}  // namespace ferlane
