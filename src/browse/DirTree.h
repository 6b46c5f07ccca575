#pragma once
// TDirTree: a tree of the computer, its drives and their folders, loaded
// lazily, driving a linked file list. (Contract first; the tree engineer extends it.)
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "browse/logic/Language.h"

namespace ferlane {

class TFileListView;

class TDirTree {
 public:
  TDirTree();
  ~TDirTree();
  TDirTree(const TDirTree&) = delete;
  TDirTree& operator=(const TDirTree&) = delete;

  bool Create(HWND parent, int id, const RECT& rc);
  HWND hwnd() const;      // the widget's own window
  HWND TreeHwnd() const;  // the tree view control inside it

  void OpenPath(const std::wstring& path);
  void ExpandToPath(const std::wstring& path);
  void ReloadTree();
  const std::wstring& SelectedPath() const;
  void SetSelectedPath(const std::wstring& path);
  TFileListView* FileList() const;
  void SetFileList(TFileListView* list);
  std::wstring NodePath(HTREEITEM node) const;
};

}  // namespace ferlane
