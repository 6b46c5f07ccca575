// The drop and the selection commands against a real file list view.
#include <gtest/gtest.h>

#include "browse/FileListView.h"
#include "protect/ProtectTestSupport.h"
#include "protect/ProtectedList.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

class DropFromFileListTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = dir.Folder(L"Comptes", FILE_ATTRIBUTE_HIDDEN);
    file = dir.File(L"budget.xls");
    other = dir.File(L"notes.txt");
    ASSERT_TRUE(list.Create(parent.hwnd(), 1001, RECT{0, 0, 400, 300}));
    ASSERT_TRUE(view.Create(parent.hwnd(), 1002, RECT{0, 0, 400, 300}));
    view.SetParentDirEnabled(false);  // as on the main window
    view.SetDirectory(dir.path());
    test::PumpMessages();
    ASSERT_EQ(view.ItemCount(), 3);
  }
  int RowOf(const std::wstring& path) const {
    for (int row = 0; row < view.ItemCount(); ++row)
      if (view.SubItem(row, 4) == path) return row;
    return -1;
  }

  test::RecordingMessages messages;
  test::ScratchDir dir;
  test::HiddenParent parent;
  ProtectedList list;
  TFileListView view;
  std::wstring folder, file, other;
};

TEST_F(DropFromFileListTest, DragOverAcceptsFileListViewsOnly) {
  EXPECT_TRUE(ProtectedList::ListView1DragOver(&view));
  EXPECT_TRUE(ProtectedList::ListView1DragOver(view.hwnd()));
  EXPECT_TRUE(ProtectedList::ListView1DragOver(view.ListHwnd()));
  EXPECT_FALSE(ProtectedList::ListView1DragOver(list.hwnd()));
  EXPECT_FALSE(ProtectedList::ListView1DragOver(parent.hwnd()));
}

TEST_F(DropFromFileListTest, DropAppendsSelectedRowsByTheirFullPath) {
  int folderRow = RowOf(folder), fileRow = RowOf(file);
  ASSERT_GE(folderRow, 0);
  ASSERT_GE(fileRow, 0);
  view.SetSelected(folderRow, true);
  view.SetSelected(fileRow, true);
  list.ListView1DragDrop(&view, view);
  ASSERT_EQ(list.ItemCount(), 2);
  // In the view's row order.
  int first = folderRow < fileRow ? 0 : 1;
  EXPECT_EQ(list.Caption(first), folder);
  EXPECT_EQ(list.StateText(first), L"Cach\u00E9");
  // A folder is a folder whatever the shell calls it (Wine says "Folder").
  EXPECT_EQ(list.TypeText(first), L"Dossier");
  EXPECT_EQ(list.Caption(1 - first), file);
  EXPECT_EQ(list.TypeText(1 - first), L"Fichier");
  EXPECT_EQ(list.StateText(1 - first), L"Visible");
  for (int row = 0; row < view.ItemCount(); ++row) EXPECT_FALSE(view.IsSelected(row)) << row;

  // No source, or nothing selected: nothing is added.
  view.SetSelected(fileRow, true);
  list.ListView1DragDrop(nullptr, view);
  view.SetSelected(fileRow, false);
  list.ListView1DragDrop(&view, view);
  EXPECT_EQ(list.ItemCount(), 2);
}

TEST_F(DropFromFileListTest, DriveDroppedFromTheDriveListIsItsRoot) {
  view.SetDirectory(L"Drives");
  test::PumpMessages();
  int row = RowOf(L"C:\\");
  ASSERT_GE(row, 0);
  view.SetSelected(row, true);
  list.ListView1DragDrop(&view, view);
  ASSERT_EQ(list.ItemCount(), 1);
  EXPECT_EQ(list.Caption(0), L"C:\\");
  EXPECT_FALSE(view.IsSelected(row));
}

TEST_F(DropFromFileListTest, SelectionCommandsOnTheRealView) {
  ProtectedList::ouslesFichiers1Click(view);
  EXPECT_FALSE(view.IsSelected(RowOf(folder)));
  EXPECT_TRUE(view.IsSelected(RowOf(file)));
  EXPECT_TRUE(view.IsSelected(RowOf(other)));
  ProtectedList::outSelectionner1Click(view);
  for (int row = 0; row < view.ItemCount(); ++row) EXPECT_TRUE(view.IsSelected(row)) << row;
}

}  // namespace
}  // namespace ferlane
