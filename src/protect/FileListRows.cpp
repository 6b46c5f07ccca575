// Everything here reads a real TFileListView; it is kept apart from the list
// itself so that the list links without the browsing widgets.
#include "browse/DirTree.h"
#include "browse/FileListView.h"
#include "protect/ProtectedList.h"

namespace ferlane {

int FileListRows::ItemCount() const { return view_.ItemCount(); }
std::wstring FileListRows::Caption(int row) const { return view_.Caption(row); }
std::wstring FileListRows::SubItem(int row, int index) const { return view_.SubItem(row, index); }
bool FileListRows::IsSelected(int row) const { return view_.IsSelected(row); }
void FileListRows::SetSelected(int row, bool selected) { view_.SetSelected(row, selected); }

std::wstring FileListRows::Folder() const {
  if (TDirTree* tree = view_.DirTree()) return tree->SelectedPath();
  return view_.Directory();
}

void ProtectedList::outSelectionner1Click(TFileListView& view) {
  FileListRows rows(view);
  outSelectionner1Click(static_cast<IFileRows&>(rows));
}

void ProtectedList::ouslesRpertoires1Click(TFileListView& view) {
  FileListRows rows(view);
  ouslesRpertoires1Click(static_cast<IFileRows&>(rows));
}

void ProtectedList::ouslesFichiers1Click(TFileListView& view) {
  FileListRows rows(view);
  ouslesFichiers1Click(static_cast<IFileRows&>(rows));
}

bool ProtectedList::ListView1DragOver(HWND source) { return TFileListView::FromHwnd(source) != nullptr; }

void ProtectedList::ListView1DragDrop(const TFileListView* source, TFileListView& fileListView1) {
  if (!ListView1DragOver(source)) return;
  FileListRows rows(fileListView1);
  AppendSelectedEntries(rows);
}

}  // namespace ferlane
