// The directory tree's in-place rename, and the tree driving a file list.
#include "browse/DirTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "browse/DirTreeFixture.h"
#include "browse/FileListView.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST_F(DirTreeTest, RenameRefusedForRootDrivesAndReadOnlyTree) {
  test::ScratchDir dir;
  dir.Folder(L"ro");
  tree_.ExpandToPath(L"C:\\");
  EXPECT_FALSE(tree_.EditSelectedNode());
  TreeView_SelectItem(tv(), Root());
  EXPECT_FALSE(tree_.EditSelectedNode());

  tree_.ExpandToPath(dir / L"ro");
  tree_.SetReadOnly(true);
  EXPECT_TRUE(tree_.ReadOnly());
  EXPECT_FALSE(tree_.EditSelectedNode());
  EXPECT_FALSE(TreeView_EditLabel(tv(), Selected()));
  tree_.SetReadOnly(false);
  ::SendMessageW(tv(), WM_KEYUP, VK_F2, 0xC0000001);  // F2 starts it too
  EXPECT_TRUE(TreeView_GetEditControl(tv()));
  TreeView_EndEditLabelNow(tv(), TRUE);
  test::PumpMessages();
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(TextOf(Selected()), L"ro");
}

TEST_F(DirTreeTest, InvalidNamesAreRefusedWithTheMessageAndTheNodeKeepsItsText) {
  tree_.SetLanguage(lnFrench);
  test::ScratchDir dir;
  const std::wstring folder = dir.Folder(L"keep");
  tree_.ExpandToPath(folder);

  ASSERT_TRUE(EditSelected(L"bad*name"));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, L"Erreur - Nom de répertoire invalide\rbad*name");
  EXPECT_EQ(messages_.shown[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(TextOf(Selected()), L"keep");

  ASSERT_TRUE(EditSelected(L"a:b"));
  EXPECT_EQ(messages_.shown.size(), 2u);
  // An emptied name only beeps.
  ASSERT_TRUE(EditSelected(L""));
  EXPECT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(TextOf(Selected()), L"keep");
  EXPECT_TRUE(Exists(folder));
}

TEST_F(DirTreeTest, RenameAsksFirstAndNoLeavesEverything) {
  tree_.SetLanguage(lnFrench);
  test::ScratchDir dir;
  const std::wstring folder = dir.Folder(L"Ancien");
  tree_.ExpandToPath(folder);
  changes_.clear();
  messages_.answers = {IDNO};

  ASSERT_TRUE(EditSelected(L"Nouveau"));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            L"Voulez-vous renommer le dossier sélectionné\r\r    de  : Ancien\r    à     : Nouveau");
  EXPECT_EQ(messages_.shown[0].flags & 0xF, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(TextOf(Selected()), L"Ancien");
  EXPECT_TRUE(Exists(folder));
  EXPECT_FALSE(Exists(dir / L"Nouveau"));
  EXPECT_TRUE(changes_.empty());

  // Enter on the unchanged name is no rename at all.
  ASSERT_TRUE(EditSelected(L"Ancien"));
  EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(DirTreeTest, AcceptedRenameRenamesTheFolderAndMovesToItsParent) {
  test::ScratchDir dir;
  dir.Folder(L"base");
  const std::wstring folder = dir.Folder(L"base\\old");
  dir.File(L"base\\old\\content.txt");
  tree_.ExpandToPath(folder);
  HTREEITEM node = Selected();
  changes_.clear();

  ASSERT_TRUE(EditSelected(L"new"));
  EXPECT_EQ(messages_.shown.size(), 1u);  // the question, answered Yes
  EXPECT_FALSE(Exists(folder));
  EXPECT_TRUE(Exists(dir / L"base\\new\\content.txt"));
  EXPECT_EQ(TextOf(node), L"new");
  EXPECT_EQ(tree_.NodePath(node), dir / L"base\\new");
  EXPECT_EQ(tree_.NodePath(Selected()), dir / L"base");
  EXPECT_EQ(tree_.SelectedPath(), dir / L"base");
  EXPECT_EQ(changes_, std::vector<std::wstring>{dir / L"base"});

  // A folder just made by the tree is renamed without the question, once.
  TreeView_SelectItem(tv(), node);
  tree_.SkipNextRenameConfirmation();
  ASSERT_TRUE(EditSelected(L"newer"));
  EXPECT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(Exists(dir / L"base\\newer"));
  TreeView_SelectItem(tv(), node);
  messages_.answers = {IDNO};
  ASSERT_TRUE(EditSelected(L"newest"));
  EXPECT_EQ(messages_.shown.size(), 2u);
  EXPECT_TRUE(Exists(dir / L"base\\newer"));
}

TEST_F(DirTreeTest, CancelledEditDropsTheSkippedQuestion) {
  test::ScratchDir dir;
  tree_.ExpandToPath(dir.Folder(L"c1"));
  tree_.SkipNextRenameConfirmation();
  ASSERT_TRUE(tree_.EditSelectedNode());
  TreeView_EndEditLabelNow(tv(), TRUE);
  test::PumpMessages();
  messages_.answers = {IDNO};
  ASSERT_TRUE(EditSelected(L"c2"));
  EXPECT_EQ(messages_.shown.size(), 1u);  // asked this time
  EXPECT_TRUE(Exists(dir / L"c1"));
}

// A tree with the file list it drives.
class LinkedDirTreeTest : public DirTreeTest {
 protected:
  void SetUp() override {
    DirTreeTest::SetUp();
    ASSERT_TRUE(list_.Create(host_, 200, RECT{0, 300, 400, 600}));
  }
  void TearDown() override {
    tree_.SetFileList(nullptr);
    DirTreeTest::TearDown();
  }
  TFileListView list_;
};

TEST_F(LinkedDirTreeTest, EitherSideLinksBothAndTheListTakesTheSelectedPath) {
  test::ScratchDir dir;
  tree_.ExpandToPath(dir.path());
  tree_.SetFileList(&list_);
  EXPECT_EQ(list_.DirTree(), &tree_);
  EXPECT_TRUE(SameTextIgnoreCase(list_.Directory(), dir.path()));

  tree_.SetFileList(nullptr);
  EXPECT_EQ(list_.DirTree(), nullptr);
  list_.SetDirTree(&tree_);
  EXPECT_EQ(tree_.FileList(), &list_);
  list_.SetDirTree(nullptr);
  EXPECT_EQ(tree_.FileList(), nullptr);

  // Another list takes the link over from the first.
  TFileListView other;
  ASSERT_TRUE(other.Create(host_, 201, RECT{}));
  tree_.SetFileList(&list_);
  tree_.SetFileList(&other);
  EXPECT_EQ(list_.DirTree(), nullptr);
  EXPECT_EQ(other.DirTree(), &tree_);
  tree_.SetFileList(nullptr);
}

TEST_F(LinkedDirTreeTest, OpenPathOnAFolderThenTheDriveEndsOnTheDrive) {
  // As at start-up: the program's folder (here one on C:), then the first fixed drive.
  test::ScratchDir dir;
  const std::wstring programFolder = dir.Folder(L"Ferlane") + L"\\";
  tree_.SetFileList(&list_);

  tree_.OpenPath(programFolder);
  EXPECT_EQ(tree_.SelectedPath(), programFolder);
  EXPECT_TRUE(SameTextIgnoreCase(list_.Directory(), programFolder));
  HTREEITEM branch = Selected();  // the program folder's top folder on C:
  while (TreeView_GetParent(tv(), branch) != DriveNode(L'C')) branch = TreeView_GetParent(tv(), branch);

  tree_.OpenPath(L"C:\\");
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\");
  EXPECT_EQ(list_.Directory(), L"C:\\");
  EXPECT_EQ(Selected(), DriveNode(L'C'));
  EXPECT_TRUE(IsExpanded(DriveNode(L'C')));
  for (HTREEITEM d = TreeView_GetChild(tv(), Root()); d; d = TreeView_GetNextSibling(tv(), d)) {
    if (d != Selected()) {
      EXPECT_FALSE(IsExpanded(d)) << TextOf(d);
    }
  }
  EXPECT_FALSE(IsExpanded(branch));
  EXPECT_TRUE(TreeView_GetChild(tv(), branch));  // collapsed but loaded
  EXPECT_EQ(changes_.back(), L"C:\\");
}

TEST_F(LinkedDirTreeTest, SelectionsMoveTheListAndExpandToPathDoesNot) {
  test::ScratchDir dir;
  dir.Folder(L"shown");
  tree_.SetFileList(&list_);
  Click(Root());
  EXPECT_EQ(list_.Directory(), L"Drives");

  tree_.ExpandToPath(dir / L"shown");
  EXPECT_EQ(list_.Directory(), L"Drives");  // its callers move the list
  Click(Selected());
  EXPECT_EQ(tree_.SelectedPath(), dir / L"shown");
  EXPECT_TRUE(SameTextIgnoreCase(list_.Directory(), dir / L"shown\\"));

  Key(VK_UP);
  EXPECT_TRUE(SameTextIgnoreCase(list_.Directory(), AddSlash(tree_.SelectedPath())));
}

TEST_F(LinkedDirTreeTest, RenamedFolderShowsInTheListOfItsParent) {
  test::ScratchDir dir;
  dir.Folder(L"was");
  tree_.SetFileList(&list_);
  tree_.ExpandToPath(dir / L"was");
  ASSERT_TRUE(EditSelected(L"is"));
  EXPECT_TRUE(SameTextIgnoreCase(list_.Directory(), dir.path()));
  bool listed = false;
  for (int row = 0; row < list_.ItemCount(); ++row) listed = listed || list_.Caption(row) == L"is";
  EXPECT_TRUE(listed);
}

TEST_F(LinkedDirTreeTest, DestroyedTreeLeavesTheListUnlinked) {
  auto tree = std::make_unique<TDirTree>();
  ASSERT_TRUE(tree->Create(host_, 102, RECT{}));
  tree->SetFileList(&list_);
  ::DestroyWindow(tree->hwnd());
  EXPECT_EQ(list_.DirTree(), nullptr);
  tree.reset();
  EXPECT_EQ(list_.DirTree(), nullptr);
}

}  // namespace
}  // namespace ferlane
