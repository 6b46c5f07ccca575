#pragma once
// TFileListView: a list view of one folder, or of the drives, with shell
// icons and type names. (Contract first; the file list engineer extends it.)
#include <windows.h>

#include <functional>
#include <string>

#include "browse/logic/Language.h"

namespace ferlane {

class TDirTree;
class TFileListView;

// A drop target of the same window reads the dragged view's rows itself.
class IFileDragTarget {
 public:
  virtual ~IFileDragTarget() = default;
  // Whether a drop of `source`'s rows on `target` (the window under the
  // pointer) would be accepted.
  virtual bool DragOver(TFileListView& source, HWND target, POINT screenPt) = 0;
  virtual void DragDrop(TFileListView& source, HWND target, POINT screenPt) = 0;
};

class TFileListView {
 public:
  TFileListView();
  ~TFileListView();
  TFileListView(const TFileListView&) = delete;
  TFileListView& operator=(const TFileListView&) = delete;

  bool Create(HWND parent, int id, const RECT& rc);
  HWND hwnd() const;      // the widget's own window
  HWND ListHwnd() const;  // the list view control inside it
  // The widget owning hwnd (its own window or its list view), or nullptr.
  static TFileListView* FromHwnd(HWND hwnd);

  const std::wstring& Directory() const;
  void SetDirectory(const std::wstring& value);
  void UpdateFileList();
  TDirTree* DirTree() const;
  void SetDirTree(TDirTree* tree);

  // Rows, in display order, as hosts read them.
  int ItemCount() const;
  std::wstring Caption(int row) const;
  std::wstring SubItem(int row, int index) const;
  bool IsSelected(int row) const;
  void SetSelected(int row, bool selected);

  // The window that receives drags of this view's rows (DragMode automatic).
  void SetDragTarget(IFileDragTarget* target);
};

}  // namespace ferlane
