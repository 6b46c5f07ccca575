// TFileListView: clicks, keys and navigation, in-place rename, dragging rows out.
#include "browse/FileListView.h"

#include <commctrl.h>

#include "browse/DirTree.h"
#include "browse/FileListViewDetail.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/WaitCursor.h"

namespace ferlane {
using namespace listview_detail;

// ---- Clicks, keys and navigation -------------------------------------------

void TFileListView::ItemClicked() {
  int row = SelectedIndex();
  if (row < 0) return;
  selectedItem_ = FullPath(row);
  if (OnItemChange) OnItemChange(*this, selectedItem_);
  if (OnClick) OnClick(*this);
}

void TFileListView::HandleDblClick() {
  int row = SelectedIndex();
  if (row < 0 || Caption(row).empty()) return;
  if (dblClickToOpen_)
    OpenItem();
  else if (IsParentRow(row))
    OneLevelUp();
  else if (OnDblClick)
    OnDblClick(*this);
}

void TFileListView::KeyDown(WORD key) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  const bool selected = SelectedIndex() >= 0;
  if (key == VK_ESCAPE && dragging_) {
    EndDrag(false, POINT{});
  } else if (key == VK_UP || key == VK_DOWN) {
    // The click behaviour follows once the list has moved the selection.
    ::PostMessageW(hwnd_, kMsgItemClicked, 0, 0);
  } else if (ctrl && !shift && !alt) {
    switch (key) {
      case 'A': SelectAll(); break;
      case 'C': if (selected) CutCopy(foCopy); break;
      case 'X': if (selected) CutCopy(foMove); break;
      case 'V': Paste(); break;  // an empty clipboard list is told, not ignored
      case 'N': if (!IsDrivesText(directory_)) NewFolder(); break;
      case 'O': if (selected) OpenItem(); break;
      case 'F': if (selected) ViewFile(); break;
      default: break;
    }
  } else if (shift && !ctrl && !alt && key == VK_DELETE) {
    if (!editing_) ShiftDelete();
  } else if (!ctrl && !shift && !alt && !editing_) {
    switch (key) {
      case VK_BACK: OneLevelUp(); break;
      case VK_RETURN: if (selected) OpenItem(); break;
      case VK_DELETE: if (selected) DeleteSelected(); break;
      case VK_F2: if (selected) RenameSelected(); break;
      case VK_F3: FindFile(); break;
      case VK_F5: F5Refresh(); break;
      default: break;
    }
  }
  if (OnKeyDown) OnKeyDown(*this, key);
}

void TFileListView::F5Refresh() {
  UpdateFileList();
  if (tree_) {
    std::wstring path = tree_->SelectedPath();
    tree_->ReloadTree();
    tree_->ExpandToPath(path);
  }
}

void TFileListView::ShiftDelete() {
  if (SelectedIndex() < 0) return;
  {
    WaitCursor wait;
    for (int row = 0; row < ItemCount(); ++row) {
      if (!IsSelected(row)) continue;
      if (KindTag(row) != L"file") break;  // a folder (or a drive) stops the whole command
      const std::wstring text =
          L"Are you sure you want to permanently delete file\r  \"" + Caption(row) + L"\"?";
      if (AskYesNo(hwnd_, text)) {
        const std::wstring path = FullPath(row);
        if (!::DeleteFileW(path.c_str())) {
          const DWORD error = ::GetLastError();
          ShowError(hwnd_, L"\"" + path + L"\"\r\n" + SystemErrorText(error));
        }
      }
      SetSelected(row, false);
    }
  }
  UpdateFileList();
}

void TFileListView::OpenItem() {
  const int row = SelectedIndex();
  if (row < 0) return;
  WaitCursor wait;
  if (IsParentRow(row)) {
    OneLevelUp();
    return;
  }
  const std::wstring kind = KindTag(row);
  if (kind == L"file") {
    const std::wstring file = FullPath(row);
    ExecuteFile(L"Open", file, L"", ExtractFilePath(file), SW_SHOWNORMAL);
    return;
  }
  const std::wstring path = AddSlash(FullPath(row));
  if (kind == L"drv") {
    const UINT type = Platform().DriveType(path);
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !CheckDriveReady(path[0], true)) return;
  }
  SetDirectory(path);
  if (tree_) tree_->ExpandToPath(path);
}

void TFileListView::OneLevelUp() {
  if (DriveMode()) return;
  const std::wstring from = AddSlash(directory_);
  if (IsDriveRoot(from)) {
    SetDirectory(L"Drives");  // the linked tree stays where it is
    return;
  }
  std::wstring parent = DelSlash(ExtractFilePath(DelSlash(from)));
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
  SetDirectory(parent);
  if (tree_) tree_->ExpandToPath(parent);
  for (int row = 0; row < ItemCount(); ++row) {
    if (!SameTextLocale(AddSlash(FullPath(row)), from)) continue;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
    ItemClicked();
    break;
  }
}

// ---- In-place rename ---------------------------------------------------------

void TFileListView::RenameSelected() {
  const int row = SelectedIndex();
  if (row < 0) return;
  if (readOnly_ || UpperCase(SubItem(row, 3)) == L"R") {
    ShowWarning(hwnd_, Text(Msg::ReadOnly));
    return;
  }
  ::SetFocus(list_);
  ListView_EditLabel(list_, row);
}

bool TFileListView::HandleBeginLabelEdit(int row) {
  // Neither the parent row nor a drive names something that can be renamed.
  if (readOnly_ || driveMode_ || row < 0 || row >= ItemCount() || RowAt(row).Name() == L"..") return false;
  editing_ = true;
  editOldPath_ = FullPath(row);
  editKind_ = RowAt(row).kind;
  editHideExt_ = shown_.hideExt;
  return true;
}

void TFileListView::HandleEndLabelEdit(int row, const wchar_t* text) {
  const bool wasEditing = editing_;
  editing_ = false;
  if (!wasEditing || !text || row < 0 || row >= ItemCount()) return;
  const std::wstring newText = text;
  if (Trim(newText).empty()) return;  // no name: the edit is refused
  editedCaptions_[order_[static_cast<std::size_t>(row)]] = newText;
  ListView_RedrawItems(list_, row, row);
  editNewText_ = newText;
  // The rename re-lists, which must not happen inside the list's own notification.
  ::PostMessageW(hwnd_, kMsgAcceptRename, 0, 0);
}

void TFileListView::AcceptRename() {
  const std::wstring oldPath = editOldPath_;
  const std::wstring newPath = RenameTarget(oldPath, editNewText_, editHideExt_);
  if (SameTextLocale(newPath, oldPath)) return;
  {
    WaitCursor wait;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    if (!TargetExists(newPath)) DoFileOperation(foRename, oldPath, newPath);
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  }
  UpdateFileList();
  for (int row = 0; row < ItemCount(); ++row) {
    if (SameTextLocale(FullPath(row), newPath)) {
      ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, row, FALSE);
      break;
    }
  }
  if (editKind_ == Kind::Dir && tree_) {
    tree_->ReloadTree();
    tree_->ExpandToPath(ExtractFilePath(oldPath));
  }
}

// ---- Dragging rows out --------------------------------------------------------

void TFileListView::DragMoved(POINT clientPt) {
  POINT pt = clientPt;
  ::ClientToScreen(hwnd_, &pt);
  HWND target = ::WindowFromPoint(pt);
  dragAccepted_ = dragTarget_ && dragTarget_->DragOver(*this, target, pt);
  ::SetCursor(::LoadCursorW(nullptr, dragAccepted_ ? IDC_ARROW : IDC_NO));
}

void TFileListView::EndDrag(bool drop, POINT screenPt) {
  if (!dragging_) return;
  dragging_ = false;
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  if (!drop || !dragTarget_) return;
  HWND target = ::WindowFromPoint(screenPt);
  if (dragTarget_->DragOver(*this, target, screenPt)) dragTarget_->DragDrop(*this, target, screenPt);
}

}  // namespace ferlane
