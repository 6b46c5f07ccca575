// The directory tree: its nodes, walks to a path, clicks, keys and texts.
#include "browse/DirTree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/DirTreeFixture.h"
#include "browse/ShellOps.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "browse/WindowAnswerer.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST_F(DirTreeTest, NewTreeHasOnlyTheComputerRootWithTheShellsNameAndIcon) {
  HTREEITEM root = Root();
  ASSERT_TRUE(root);
  EXPECT_FALSE(TreeView_GetNextSibling(tv(), root));
  EXPECT_FALSE(TreeView_GetChild(tv(), root));  // drives come with the first selection of the root

  LPITEMIDLIST pidl = nullptr;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl), S_OK);
  SHFILEINFOW info{};
  ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
  ::CoTaskMemFree(pidl);
  EXPECT_FALSE(std::wstring(info.szDisplayName).empty());
  EXPECT_EQ(TextOf(root), info.szDisplayName);
  EXPECT_EQ(Item(root, TVIF_IMAGE).iImage, info.iIcon);
  EXPECT_EQ(tree_.NodePath(root), L"");
  EXPECT_EQ(tree_.SelectedPath(), L"");
  EXPECT_FALSE(tree_.ReadOnly());
  EXPECT_TRUE(tree_.PopUpMenuEnabled());
  EXPECT_EQ(tree_.Language(), lnEnglish);
  EXPECT_EQ(tree_.About(), L"Version 1.0");
  tree_.SetAbout(L"2.0");
  EXPECT_EQ(tree_.About(), L"Version 1.0");
  tree_.SetIndent(19);
  EXPECT_EQ(TreeView_GetIndent(tv()), 19u);

  // The system's small image list, shared.
  SHFILEINFOW sys{};
  auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &sys, sizeof sys, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(TreeView_GetImageList(tv(), TVSIL_NORMAL), images);
  EXPECT_EQ(TDirTree::FromHwnd(tree_.hwnd()), &tree_);
  EXPECT_EQ(TDirTree::FromHwnd(tv()), &tree_);
  EXPECT_EQ(TDirTree::FromHwnd(host_), nullptr);
}

TEST_F(DirTreeTest, EmptyRectangleGivesTheDefaultSize) {
  TDirTree other;
  ASSERT_TRUE(other.Create(host_, 101, RECT{}));
  RECT rc{};
  ::GetWindowRect(other.hwnd(), &rc);
  EXPECT_EQ(rc.right - rc.left, 180);
  EXPECT_EQ(rc.bottom - rc.top, 120);
  RECT client{};
  ::GetClientRect(other.hwnd(), &client);
  ::GetWindowRect(other.TreeHwnd(), &rc);
  EXPECT_EQ(rc.right - rc.left, client.right);  // the control fills the widget
}

TEST_F(DirTreeTest, ReloadTreeListsEveryDriveInLetterOrderWithButtons) {
  tree_.ReloadTree();
  HTREEITEM root = Root();
  const DWORD drives = ::GetLogicalDrives();
  std::vector<std::wstring> expected;
  for (int i = 0; i < 26; ++i)
    if (drives & (1u << i)) expected.push_back(std::wstring(1, wchar_t(L'A' + i)) + L":\\");
  ASSERT_FALSE(expected.empty());
  std::vector<std::wstring> paths;
  for (HTREEITEM c = TreeView_GetChild(tv(), root); c; c = TreeView_GetNextSibling(tv(), c)) {
    paths.push_back(tree_.NodePath(c));
    const std::wstring caption = TextOf(c);
    EXPECT_EQ(caption.substr(0, 7), L" (" + paths.back().substr(0, 2) + L")  ") << caption;
    EXPECT_EQ(caption.find(L'(', 2), std::wstring::npos) << caption;  // cut before the shell's "("
    EXPECT_EQ(ChildrenMark(c), 1);
    EXPECT_FALSE(TreeView_GetChild(tv(), c));  // not loaded yet
    EXPECT_EQ(Item(c, TVIF_IMAGE).iImage, GetSmallIconIndex(paths.back()));
    EXPECT_EQ(Item(c, TVIF_SELECTEDIMAGE).iSelectedImage, GetOpenIconIndex(paths.back()));
  }
  EXPECT_EQ(paths, expected);
  EXPECT_FALSE(tree_.Updating());
}

TEST_F(DirTreeTest, ExpandingLoadsSubfoldersOnceSortedWithButtonsOnlyWhereSubfoldersAre) {
  test::ScratchDir dir;
  dir.Folder(L"b");
  dir.Folder(L"a");
  dir.Folder(L"B2");
  dir.Folder(L"_x");
  dir.Folder(L"hidden", FILE_ATTRIBUTE_HIDDEN);
  dir.Folder(L"sys", FILE_ATTRIBUTE_SYSTEM);
  dir.Folder(L"a\\inner");
  dir.File(L"b\\only-a-file.txt");
  dir.File(L"file.txt");
  dir.Folder(L"hidden\\deep");

  tree_.ExpandToPath(dir.path());
  HTREEITEM node = Selected();
  ASSERT_TRUE(node);
  EXPECT_EQ(tree_.NodePath(node), DelSlash(dir.path()));
  EXPECT_TRUE(IsExpanded(node));

  std::vector<std::wstring> names = ChildTexts(node);
  std::vector<std::wstring> sorted = names;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const std::wstring& x, const std::wstring& y) { return ::lstrcmpW(x.c_str(), y.c_str()) < 0; });
  EXPECT_EQ(names, sorted);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B2", L"_x", L"a", L"b", L"hidden", L"sys"}));

  EXPECT_EQ(ChildrenMark(ChildNamed(node, L"a")), 1);
  EXPECT_EQ(ChildrenMark(ChildNamed(node, L"hidden")), 1);
  EXPECT_EQ(ChildrenMark(ChildNamed(node, L"b")), 0);  // files only
  EXPECT_EQ(ChildrenMark(ChildNamed(node, L"_x")), 0);
  EXPECT_FALSE(TreeView_GetChild(tv(), ChildNamed(node, L"a")));  // one level at a time

  // Loaded once: a folder made afterwards shows only after a reload.
  dir.Folder(L"later");
  TreeView_Expand(tv(), node, TVE_COLLAPSE);
  TreeView_Expand(tv(), node, TVE_EXPAND);
  EXPECT_FALSE(ChildNamed(node, L"later"));
  tree_.ReloadTree();
  tree_.ExpandToPath(dir.path());
  EXPECT_TRUE(ChildNamed(Selected(), L"later"));
}

TEST_F(DirTreeTest, NetworkDriveFoldersAllGetButtonsWithoutProbing) {
  test::ScratchDir dir;
  dir.Folder(L"empty");
  test::FakePlatform platform;
  platform.driveTypes[L"C:\\"] = DRIVE_REMOTE;
  tree_.ReloadTree();  // the drive flags are taken with the drive nodes
  tree_.ExpandToPath(dir.path());
  HTREEITEM empty = ChildNamed(Selected(), L"empty");
  ASSERT_TRUE(empty);
  EXPECT_EQ(ChildrenMark(empty), 1);
  // Opened, it turns out empty and loses its button.
  TreeView_Expand(tv(), empty, TVE_EXPAND);
  EXPECT_EQ(ChildrenMark(empty), 0);
}

TEST_F(DirTreeTest, FolderNodesShowTheShellsFolderIcons) {
  test::ScratchDir dir;
  const std::wstring plain = dir.Folder(L"plain");
  const std::wstring marked = dir.Folder(L"marked", FILE_ATTRIBUTE_SYSTEM);
  tree_.ExpandToPath(dir.path());
  for (const std::wstring& path : {plain, marked}) {
    HTREEITEM n = ChildNamed(Selected(), ExtractFileName(path));
    ASSERT_TRUE(n);
    TVITEMW item = Item(n, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    if (item.iImage != I_IMAGECALLBACK) {
      EXPECT_EQ(item.iImage, GetSmallIconIndex(path)) << path;
    }
    if (item.iSelectedImage != I_IMAGECALLBACK) {
      EXPECT_EQ(item.iSelectedImage, GetOpenIconIndex(path)) << path;
    }
    // What the tree draws: the images it is told when it asks.
    NMTVDISPINFOW info{};
    info.hdr.hwndFrom = tv();
    info.hdr.idFrom = 1;
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.item.hItem = n;
    info.item.iImage = item.iImage;
    info.item.iSelectedImage = item.iSelectedImage;
    if (item.iImage == I_IMAGECALLBACK) {
      ::SendMessageW(tree_.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&info));
      EXPECT_EQ(info.item.iImage, GetSmallIconIndex(path));
      EXPECT_EQ(info.item.iSelectedImage, GetOpenIconIndex(path));
    }
  }
}

TEST_F(DirTreeTest, ExpandToPathSelectsTheFolderWithATrailingBackslashAndTellsOnce) {
  test::ScratchDir dir;
  dir.Folder(L"one");
  dir.Folder(L"one\\two");
  dir.Folder(L"one\\two\\three");
  const std::wstring target = dir / L"one\\two";

  tree_.ExpandToPath(target);
  ASSERT_TRUE(Selected());
  EXPECT_EQ(TextOf(Selected()), L"two");
  EXPECT_EQ(tree_.NodePath(Selected()), target);
  EXPECT_EQ(tree_.SelectedPath(), target + L"\\");
  EXPECT_EQ(changes_, std::vector<std::wstring>{target + L"\\"});
  EXPECT_EQ(ChildTexts(Selected()), std::vector<std::wstring>{L"three"});
  EXPECT_FALSE(tree_.Updating());

  // Another letter case names the same folder: the stored text stays.
  std::wstring upper = UpperCase(target) + L"\\";
  tree_.ExpandToPath(upper);
  EXPECT_EQ(tree_.SelectedPath(), target + L"\\");
  EXPECT_EQ(changes_.size(), 2u);

  // Ignored: empty, one character, missing, a file.
  const std::wstring file = dir.File(L"f.txt");
  for (const std::wstring& bad : {std::wstring(), std::wstring(L"C"), dir / L"missing", file})
    tree_.ExpandToPath(bad);
  EXPECT_EQ(changes_.size(), 2u);
  EXPECT_EQ(tree_.SelectedPath(), target + L"\\");
}

TEST_F(DirTreeTest, ExpandToPathCollapsesOtherBranchesButKeepsThemLoaded) {
  test::ScratchDir dir;
  dir.Folder(L"left");
  dir.Folder(L"left\\sub");
  dir.Folder(L"right");
  tree_.ExpandToPath(dir / L"left\\sub");
  HTREEITEM scratch = TreeView_GetParent(tv(), TreeView_GetParent(tv(), Selected()));
  HTREEITEM left = ChildNamed(scratch, L"left");
  ASSERT_TRUE(left);
  EXPECT_TRUE(IsExpanded(left));

  tree_.ExpandToPath(dir / L"right");
  EXPECT_EQ(TextOf(Selected()), L"right");
  EXPECT_FALSE(IsExpanded(left));
  EXPECT_EQ(ChildTexts(left), std::vector<std::wstring>{L"sub"});

  tree_.ExpandToPath(L"C:\\");
  EXPECT_EQ(Selected(), DriveNode(L'C'));
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\");
  EXPECT_TRUE(IsExpanded(Root()));
  for (HTREEITEM d = TreeView_GetChild(tv(), Root()); d; d = TreeView_GetNextSibling(tv(), d))
    if (d != Selected()) {
      EXPECT_FALSE(IsExpanded(d)) << TextOf(d);
    }
  // C:'s own children are visible, every one of them closed.
  for (HTREEITEM c = TreeView_GetChild(tv(), Selected()); c; c = TreeView_GetNextSibling(tv(), c))
    EXPECT_FALSE(IsExpanded(c)) << TextOf(c);
}

TEST_F(DirTreeTest, FolderMadeAfterItsParentLoadedEndsTheWalkAtTheParent) {
  test::ScratchDir dir;
  dir.Folder(L"parent");
  tree_.ExpandToPath(dir / L"parent");
  const std::wstring before = tree_.SelectedPath();
  tree_.ExpandToPath(dir.path());
  changes_.clear();

  dir.Folder(L"parent\\fresh");
  tree_.ExpandToPath(dir / L"parent\\fresh");
  ASSERT_TRUE(Selected());
  EXPECT_EQ(TextOf(Selected()), L"parent");
  EXPECT_EQ(tree_.SelectedPath(), dir.path());  // unchanged by the failed walk
  EXPECT_NE(tree_.SelectedPath(), before);
  EXPECT_TRUE(changes_.empty());
  EXPECT_FALSE(tree_.Updating());  // still repainting
}

TEST_F(DirTreeTest, WalkDoesNotTakeAFolderOfTheSameNameInAnotherBranch) {
  test::ScratchDir dir;
  dir.Folder(L"p");
  dir.Folder(L"p\\aaa");
  dir.Folder(L"q");
  dir.Folder(L"q\\dup");
  tree_.ExpandToPath(dir / L"p\\aaa");
  tree_.ExpandToPath(dir / L"q\\dup");
  changes_.clear();

  dir.Folder(L"p\\dup");  // made after p was loaded
  tree_.ExpandToPath(dir / L"p\\dup");
  EXPECT_EQ(tree_.NodePath(Selected()), dir / L"p");
  EXPECT_EQ(tree_.SelectedPath(), dir / L"q\\dup\\");
  EXPECT_TRUE(changes_.empty());
}

TEST_F(DirTreeTest, OpenPathDoesTheSameTextOnlyOnce) {
  test::ScratchDir dir;
  dir.Folder(L"x");
  const std::wstring withSlash = dir / L"x\\";
  const std::wstring without = dir / L"x";

  tree_.OpenPath(withSlash);
  EXPECT_EQ(tree_.SelectedPath(), withSlash);
  EXPECT_EQ(changes_.size(), 1u);
  tree_.OpenPath(withSlash);
  tree_.OpenPath(UpperCase(withSlash));
  EXPECT_EQ(changes_.size(), 1u);
  // The text is compared before the backslash is added.
  tree_.OpenPath(without);
  EXPECT_EQ(changes_.size(), 2u);
  // What was remembered carries the backslash.
  tree_.OpenPath(withSlash);
  EXPECT_EQ(changes_.size(), 2u);

  tree_.OpenPath(L"");
  tree_.OpenPath(dir / L"nothing-here");
  EXPECT_EQ(changes_.size(), 2u);
  tree_.OpenPath(L"C:\\");
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\");
  EXPECT_EQ(changes_.size(), 3u);
}

TEST_F(DirTreeTest, ClickingTheRootGivesDrivesAndAddsTheDrives) {
  Click(Root());
  EXPECT_EQ(Selected(), Root());
  EXPECT_EQ(tree_.SelectedPath(), L"Drives");
  EXPECT_EQ(changes_, std::vector<std::wstring>{L"Drives"});
  EXPECT_TRUE(DriveNode(L'C'));
}

TEST_F(DirTreeTest, ClickedFoldersGiveTheNodePathWithoutTrailingBackslash) {
  test::ScratchDir dir;
  dir.Folder(L"w");
  dir.Folder(L"w\\sub");
  tree_.ExpandToPath(dir / L"w");
  EXPECT_EQ(tree_.SelectedPath(), dir / L"w\\");

  HTREEITEM sub = ChildNamed(Selected(), L"sub");
  ASSERT_TRUE(sub);
  Click(sub);
  EXPECT_EQ(Selected(), sub);
  EXPECT_EQ(tree_.SelectedPath(), dir / L"w\\sub");
  EXPECT_EQ(changes_.back(), dir / L"w\\sub");

  // Any button selects; a drive keeps its backslash. (The right button also opens the menu.)
  {
    test::WindowAnswerer close(test::WindowAnswerer::kMenuClass, test::WindowAnswerer::CloseMenu);
    Click(DriveNode(L'C'), WM_RBUTTONDOWN);
  }
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\");
  EXPECT_EQ(Selected(), DriveNode(L'C'));
  Click(sub, WM_MBUTTONDOWN);
  EXPECT_EQ(tree_.SelectedPath(), dir / L"w\\sub");
}

TEST_F(DirTreeTest, PressOffTheLabelKeepsTheSelectedNode) {
  test::ScratchDir dir;
  dir.Folder(L"k");
  tree_.ExpandToPath(dir / L"k");
  HTREEITEM before = Selected();
  RECT client{};
  ::GetClientRect(tv(), &client);
  ClickAt(POINT{client.right - 2, client.bottom - 2});  // empty space below the nodes
  EXPECT_EQ(Selected(), before);
  EXPECT_EQ(tree_.SelectedPath(), dir / L"k");  // the node-path form of the same folder
}

TEST_F(DirTreeTest, PressOnTheButtonLoadsTheNodeWithoutSelectingIt) {
  test::ScratchDir dir;
  dir.Folder(L"a");
  dir.Folder(L"a\\inner");
  tree_.ExpandToPath(dir.path());
  HTREEITEM scratch = Selected();
  HTREEITEM a = ChildNamed(scratch, L"a");
  ASSERT_TRUE(a);
  RECT label{};
  ASSERT_TRUE(TreeView_GetItemRect(tv(), a, &label, TRUE));
  const int indent = static_cast<int>(TreeView_GetIndent(tv()));
  // Left of the label lie the icon (16 pixels) and then the button.
  ClickAt(POINT{label.left - 16 - indent / 2, (label.top + label.bottom) / 2});
  EXPECT_TRUE(IsExpanded(a));
  EXPECT_EQ(ChildTexts(a), std::vector<std::wstring>{L"inner"});
  EXPECT_EQ(Selected(), scratch);
}

TEST_F(DirTreeTest, ArrowKeysSelectAndTellOtherKeysDoNot) {
  test::ScratchDir dir;
  dir.Folder(L"first");
  dir.Folder(L"second");
  tree_.ExpandToPath(dir / L"first");
  changes_.clear();
  ::SetFocus(tv());

  Key(VK_DOWN);
  EXPECT_EQ(TextOf(Selected()), L"second");
  EXPECT_EQ(tree_.SelectedPath(), dir / L"second");
  EXPECT_EQ(changes_, std::vector<std::wstring>{dir / L"second"});

  ::SendMessageW(tv(), WM_KEYUP, 'A', 0xC0000001);
  ::SendMessageW(tv(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(changes_.size(), 1u);

  Key(VK_UP);
  EXPECT_EQ(tree_.SelectedPath(), dir / L"first");
  EXPECT_EQ(changes_.size(), 2u);
}

TEST_F(DirTreeTest, F5ReloadsAndReturnsToTheSelectedFolder) {
  test::ScratchDir dir;
  dir.Folder(L"f5");
  tree_.ExpandToPath(dir / L"f5");
  dir.Folder(L"f5\\new");
  EXPECT_FALSE(ChildNamed(Selected(), L"new"));
  ::SendMessageW(tv(), WM_KEYUP, VK_F5, 0xC0000001);
  ASSERT_TRUE(Selected());
  EXPECT_EQ(tree_.NodePath(Selected()), dir / L"f5");
  EXPECT_TRUE(ChildNamed(Selected(), L"new"));
  EXPECT_EQ(tree_.SelectedPath(), dir / L"f5\\");
}

// A drive that the fake platform answers as an empty floppy.
class EmptyFloppyTest : public DirTreeTest {
 protected:
  void SetUp() override {
    DirTreeTest::SetUp();
    const DWORD drives = ::GetLogicalDrives();
    for (int i = 25; i >= 0 && !floppy_; --i)
      if ((drives & (1u << i)) && i != 2) floppy_ = wchar_t(L'A' + i);
    if (!floppy_) GTEST_SKIP() << "no drive besides C: to stand for a floppy";
    const std::wstring root = std::wstring(1, floppy_) + L":\\";
    platform_.driveTypes[root] = DRIVE_REMOVABLE;
    platform_.drivesWithoutMedium.push_back(root);
    tree_.SetLanguage(lnFrench);
  }
  static constexpr wchar_t kNoDisk[] = L"Il n'y a pas de disque dans le lecteur ou le lecteur n'est pas prêt.";
  test::FakePlatform platform_;
  wchar_t floppy_ = 0;
};

TEST_F(EmptyFloppyTest, ClickShowsNoDiskAndGoesBackToThePreviousFolder) {
  test::ScratchDir dir;
  dir.Folder(L"prev");
  tree_.ExpandToPath(dir / L"prev");
  changes_.clear();

  Click(DriveNode(floppy_));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, kNoDisk);
  EXPECT_EQ(tree_.NodePath(Selected()), dir / L"prev");
  EXPECT_EQ(tree_.SelectedPath(), dir / L"prev\\");
  EXPECT_EQ(changes_, std::vector<std::wstring>{dir / L"prev\\"});  // from going back only
}

TEST_F(EmptyFloppyTest, ClickAfterTheDrivesReturnsToTheRoot) {
  Click(Root());
  TreeView_Expand(tv(), Root(), TVE_EXPAND);
  changes_.clear();
  Click(DriveNode(floppy_));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(Selected(), Root());
  EXPECT_EQ(tree_.SelectedPath(), L"Drives");
  EXPECT_TRUE(changes_.empty());
}

TEST_F(EmptyFloppyTest, ArrowKeyOntoItStaysThereAndKeepsThePathTheListShows) {
  tree_.ExpandToPath(L"C:\\");
  TreeView_Expand(tv(), Selected(), TVE_COLLAPSE);
  ::SetFocus(tv());
  // Walk the drive nodes with the arrow keys until the floppy is reached.
  std::wstring before;
  for (int i = 0; i < 26 && Selected() != DriveNode(floppy_); ++i) {
    before = tree_.SelectedPath();
    Key(floppy_ < L'C' ? VK_UP : VK_DOWN);
  }
  ASSERT_EQ(Selected(), DriveNode(floppy_));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, kNoDisk);
  // No jump back; SelectedPath still names the drive reached before, which
  // the list still shows.
  EXPECT_EQ(Selected(), DriveNode(floppy_));
  EXPECT_EQ(tree_.SelectedPath(), before);
  EXPECT_EQ(changes_.back(), before);
}

TEST_F(DirTreeTest, LanguageLoadsTheTreeTextsAndRebuildsTheNodes) {
  tree_.SetPopUpMenuEnabled(false);
  EXPECT_FALSE(tree_.PopUpMenuEnabled());
  tree_.SetLanguage(lnGerman);
  EXPECT_EQ(tree_.Language(), lnGerman);
  EXPECT_EQ(Text(Msg::RenameQuestion), L"Wollen Sie den markierten Ordner umbenennen");
  EXPECT_TRUE(tree_.PopUpMenuEnabled());
  EXPECT_TRUE(DriveNode(L'C'));
  EXPECT_TRUE(IsExpanded(Root()));

  tree_.SetLanguage(lnSysDefault);
  EXPECT_EQ(tree_.Language(), LanguageFromLangId(::GetUserDefaultLangID()));
  tree_.SetLanguage(lnFrench);
  EXPECT_EQ(Text(Msg::InvalidFolderName), L"Erreur - Nom de répertoire invalide");
}

TEST_F(DirTreeTest, SelectedPathSetterIgnoresLetterCase) {
  tree_.SetSelectedPath(L"C:\\Data");
  tree_.SetSelectedPath(L"c:\\data");
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\Data");
  tree_.SetSelectedPath(L"C:\\Data\\");
  EXPECT_EQ(tree_.SelectedPath(), L"C:\\Data\\");
  EXPECT_TRUE(changes_.empty());
  tree_.SetSelectedFile(L"a.txt");
  tree_.SetSelectedFile(L"A.TXT");
  EXPECT_EQ(tree_.SelectedFile(), L"a.txt");
}

}  // namespace
}  // namespace ferlane
