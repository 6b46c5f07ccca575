// The tree's context menu and its folder operations, on real folders.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/DirTree.h"
#include "browse/FileListView.h"
#include "browse/WindowAnswerer.h"
#include "browse/browse_resources.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

UINT TreeCommand(TreeMenuItem item) { return IDM_TREE_FIRST + static_cast<UINT>(item); }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class DirTreeOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 700, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(tree_.Create(host_, 100, RECT{0, 0, 400, 600}));
    tree_.SetLanguage(lnFrench);
    tree_.OnFileChange = [this](TDirTree&, const std::wstring& file) { chosen_.push_back(file); };
  }
  void TearDown() override {
    ::SetCurrentDirectoryW(L"C:\\");
    ::DestroyWindow(host_);
    LoadTreeTexts(lnEnglish);
    LoadListTexts(lnEnglish);
  }
  HWND tv() const { return tree_.TreeHwnd(); }
  void Command(TreeMenuItem item) {
    ::SendMessageW(tree_.hwnd(), WM_COMMAND, TreeCommand(item), 0);
    test::PumpMessages();
  }
  // The items' enabled states read from the menu on screen after a right click on node.
  std::vector<bool> EnabledOnRightClick(HTREEITEM node) {
    std::vector<bool> enabled;
    test::WindowAnswerer read(test::WindowAnswerer::kMenuClass, [&](HWND menuWindow) {
      HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
      for (int i = 0; i < kTreeMenuItemCount; ++i)
        enabled.push_back(!(::GetMenuState(menu, TreeCommand(static_cast<TreeMenuItem>(i)), MF_BYCOMMAND) &
                            (MF_GRAYED | MF_DISABLED)));
      test::WindowAnswerer::CloseMenu(menuWindow);
    });
    TreeView_EnsureVisible(tv(), node);
    RECT rc{};
    TreeView_GetItemRect(tv(), node, &rc, TRUE);
    const LPARAM lp = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::PostMessageW(tv(), WM_RBUTTONUP, 0, lp);
    ::SendMessageW(tv(), WM_RBUTTONDOWN, MK_RBUTTON, lp);
    test::PumpMessages();
    return enabled;
  }
  HTREEITEM DriveC() const {
    for (HTREEITEM c = TreeView_GetChild(tv(), TreeView_GetRoot(tv())); c; c = TreeView_GetNextSibling(tv(), c))
      if (tree_.NodePath(c) == L"C:\\") return c;
    return nullptr;
  }

  test::RecordingMessages messages_;
  test::ScratchDir dir_;
  HWND host_ = nullptr;
  TDirTree tree_;
  std::vector<std::wstring> chosen_;
};

TEST_F(DirTreeOpsTest, RightClickShowsTheFrenchMenuEnabledByLevel) {
  HMENU menu = tree_.ContextMenu();
  ASSERT_EQ(::GetMenuItemCount(menu), 15);
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, TreeCommand(TreeMenuItem::TreeSize), text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Taille de l'&arborescence");
  MENUITEMINFOW mii{sizeof mii, MIIM_BITMAP};
  ::GetMenuItemInfoW(menu, TreeCommand(TreeMenuItem::NewFolder), FALSE, &mii);
  EXPECT_NE(mii.hbmpItem, nullptr);

  dir_.Folder(L"f");
  tree_.ExpandToPath(dir_ / L"f");
  // Order: new, rename, delete, cut, copy, paste, size, contents, connect, disconnect, properties.
  const std::vector<bool> root = {false, false, false, false, false, false, false, false, true, true, false};
  const std::vector<bool> drive = {true, false, false, false, false, false, true, true, true, true, true};
  const std::vector<bool> folder = {true, true, true, true, true, false, true, true, true, true, true};
  EXPECT_EQ(EnabledOnRightClick(TreeView_GetRoot(tv())), root);
  EXPECT_EQ(EnabledOnRightClick(DriveC()), drive);
  tree_.ExpandToPath(dir_ / L"f");
  EXPECT_EQ(EnabledOnRightClick(TreeView_GetSelection(tv())), folder);
}

TEST_F(DirTreeOpsTest, NewFolderIsNamedAtOnceAndFailsSilentlyWhenTheNameIsTaken) {
  dir_.Folder(L"p");
  tree_.ExpandToPath(dir_ / L"p");
  Command(TreeMenuItem::NewFolder);
  EXPECT_TRUE(Exists(dir_ / L"p\\Nouveau Dossier"));
  EXPECT_EQ(tree_.SelectedPath(), dir_ / L"p\\Nouveau Dossier\\");
  HWND edit = TreeView_GetEditControl(tv());
  ASSERT_NE(edit, nullptr);
  // The fresh folder's rename asks nothing.
  ::SetWindowTextW(edit, L"Choisi");
  TreeView_EndEditLabelNow(tv(), FALSE);
  test::PumpMessages();
  EXPECT_TRUE(Exists(dir_ / L"p\\Choisi"));
  EXPECT_TRUE(messages_.shown.empty());

  dir_.Folder(L"p\\Nouveau Dossier");
  tree_.ExpandToPath(dir_ / L"p");
  EXPECT_FALSE(tree_.CreateFolder());
  EXPECT_EQ(TreeView_GetEditControl(tv()), nullptr);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(tree_.SelectedPath(), dir_ / L"p\\");

  // The root takes no folder; a bad name is refused.
  TreeView_SelectItem(tv(), TreeView_GetRoot(tv()));
  EXPECT_FALSE(tree_.CreateFolder());
  tree_.ExpandToPath(dir_ / L"p");
  EXPECT_FALSE(tree_.CreateFolder(nullptr, L"a:b"));
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[0].text, L"ERREUR - Impossible d'ajouter des lecteurs");
  EXPECT_EQ(messages_.shown[1].text, L"Le nom de dossier contient des caractères interdits");
}

TEST_F(DirTreeOpsTest, CopyThenPasteCopiesTheFolderOnceAndOpensTheTarget) {
  dir_.Folder(L"A");
  dir_.File(L"A\\inside.txt", 3);
  dir_.Folder(L"B");
  tree_.ExpandToPath(dir_ / L"A");
  Command(TreeMenuItem::Copy);
  EXPECT_TRUE(tree_.PastePending());
  tree_.ExpandToPath(dir_ / L"B");
  Command(TreeMenuItem::Paste);
  EXPECT_TRUE(Exists(dir_ / L"B\\A\\inside.txt"));
  EXPECT_TRUE(Exists(dir_ / L"A\\inside.txt"));
  EXPECT_EQ(tree_.SelectedPath(), dir_ / L"B\\");
  EXPECT_FALSE(tree_.PastePending());
  EXPECT_TRUE(::GetMenuState(tree_.ContextMenu(), TreeCommand(TreeMenuItem::Paste), MF_BYCOMMAND) & MF_GRAYED);

  // A folder that vanished is told.
  const std::wstring gone = dir_.Folder(L"gone");
  tree_.ReloadTree();
  tree_.ExpandToPath(gone);
  ASSERT_EQ(tree_.SelectedPath(), gone + L"\\");
  ::RemoveDirectoryW(gone.c_str());
  EXPECT_FALSE(tree_.DeleteFolder(TreeView_GetSelection(tv())));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, dir_ / L"gonepas trouvé");
}

TEST_F(DirTreeOpsTest, TreeSizeCountsEveryFileInTheLocalesFigures) {
  const LCID before = ::GetThreadLocale();
  ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT));
  dir_.Folder(L"t");
  dir_.File(L"t\\ten.bin", 10, FILE_ATTRIBUTE_HIDDEN);
  tree_.ExpandToPath(dir_ / L"t");
  Command(TreeMenuItem::TreeSize);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            L"===== Taille de l'arbre =====\r\rDossier \"t\"\ret de tous ses sous-dossiers \r =  10 Bytes\r"
            L"     (i.e. 1,00 KB )");

  // Past the delay the walk shows its progress and still gives the same figure...
  dir_.Folder(L"t\\deeper");
  dir_.File(L"t\\deeper\\more.bin", 2000);
  tree_.SetTreeSizeProgressDelay(0);
  Command(TreeMenuItem::TreeSize);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_NE(messages_.shown[1].text.find(L" =  2" L"\u00A0" L"010 Bytes"), std::wstring::npos) << messages_.shown[1].text;
  // ...and Esc stops it without a figure.
  ::PostMessageW(tree_.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  tree_.ShowTreeSize();
  EXPECT_EQ(messages_.shown.size(), 2u);
  ::SetThreadLocale(before);
}

// Clicks the button captioned "Annuler" as soon as it is made, so the click
// waits in the queue of the progress window's loop before any walk can end.
HHOOK g_cancelHook = nullptr;
int g_cancelClicks = 0;
LRESULT CALLBACK ClickAnnulerWhenMade(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
    wchar_t cls[16] = {};
    ::GetClassNameW(reinterpret_cast<HWND>(wp), cls, 16);
    if (::lstrcmpiW(cls, L"Button") == 0 && create->lpszName && !IS_INTRESOURCE(create->lpszName) &&
        std::wstring(create->lpszName) == L"Annuler") {
      ::PostMessageW(reinterpret_cast<HWND>(wp), BM_CLICK, 0, 0);
      ++g_cancelClicks;
    }
  }
  return ::CallNextHookEx(g_cancelHook, code, wp, lp);
}

TEST_F(DirTreeOpsTest, TreeSizeAnnulerButtonStopsTheWalkWithoutAFigure) {
  dir_.Folder(L"t");
  dir_.File(L"t\\ten.bin", 10);
  tree_.ExpandToPath(dir_ / L"t");
  tree_.SetTreeSizeProgressDelay(0);
  g_cancelClicks = 0;
  g_cancelHook = ::SetWindowsHookExW(WH_CBT, &ClickAnnulerWhenMade, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(g_cancelHook);
  tree_.ShowTreeSize();
  ::UnhookWindowsHookEx(g_cancelHook);
  EXPECT_EQ(g_cancelClicks, 1);
  EXPECT_TRUE(messages_.shown.empty());
  // Without the click, the same walk gives its figure.
  tree_.ShowTreeSize();
  EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(DirTreeOpsTest, FolderContentsListsFilesOnlyAndOkHandsBackTheChoice) {
  dir_.Folder(L"c");
  dir_.Folder(L"c\\sub");
  dir_.File(L"c\\one.txt", 1);
  dir_.File(L"c\\two.txt", 2);
  tree_.ExpandToPath(dir_ / L"c");
  Command(TreeMenuItem::FolderContents);
  HWND window = tree_.FolderContentsHwnd();
  ASSERT_NE(window, nullptr);
  wchar_t caption[MAX_PATH] = {};
  ::GetWindowTextW(window, caption, MAX_PATH);
  EXPECT_STREQ(caption, L"Fichiers dans \" ..\\c \"");
  HWND list = tree_.FolderContentsList();
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  wchar_t text[64] = {};
  ListView_GetItemText(list, 0, 0, text, 64);
  EXPECT_STREQ(text, L"one.txt");

  // OK without a selection: no file, no event; the tree goes back to the folder.
  tree_.SetSelectedFile(L"old");
  ::SendMessageW(tree_.FolderContentsOk(), BM_CLICK, 0, 0);
  test::PumpMessages();
  EXPECT_EQ(tree_.FolderContentsHwnd(), nullptr);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(tree_.SelectedFile(), L"");
  EXPECT_TRUE(chosen_.empty());
  EXPECT_EQ(tree_.SelectedPath(), dir_ / L"c\\");

  Command(TreeMenuItem::FolderContents);
  ListView_SetItemState(tree_.FolderContentsList(), 1, LVIS_SELECTED, LVIS_SELECTED);
  ::SendMessageW(tree_.FolderContentsOk(), BM_CLICK, 0, 0);
  test::PumpMessages();
  EXPECT_EQ(tree_.SelectedFile(), dir_ / L"c\\two.txt");
  ASSERT_EQ(chosen_.size(), 1u);
  EXPECT_EQ(chosen_[0], dir_ / L"c\\two.txt");
}

TEST_F(DirTreeOpsTest, NetworkItemsWithoutANetworkAndTheLinkedListFollowingTheDrives) {
  // Wine has no network: the connection dialog fails and nothing moves;
  // the disconnection goes back to the drives whatever the dialog answered.
  TFileListView list;
  ASSERT_TRUE(list.Create(host_, 101, RECT{0, 0, 300, 200}));
  tree_.SetFileList(&list);
  dir_.Folder(L"n");
  tree_.OpenPath(dir_ / L"n");
  Command(TreeMenuItem::ConnectNetworkDrive);
  EXPECT_EQ(tree_.SelectedPath(), dir_ / L"n\\");
  Command(TreeMenuItem::DisconnectNetworkDrive);
  EXPECT_EQ(tree_.SelectedPath(), L"Drives");
  EXPECT_EQ(TreeView_GetSelection(tv()), TreeView_GetRoot(tv()));
  EXPECT_TRUE(list.DriveMode());
  tree_.SetFileList(nullptr);
}

}  // namespace
}  // namespace ferlane
