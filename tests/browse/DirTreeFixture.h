#pragma once
// The directory tree's test fixture: a tree in a host window, the paths it
// reported, and the helpers that read, click and edit its nodes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/DirTree.h"
#include "browse/logic/Texts.h"
#include "support/Fakes.h"

namespace ferlane {

class DirTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 700, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(host_);
    ASSERT_TRUE(tree_.Create(host_, 100, RECT{0, 0, 400, 600}));
    tree_.OnDirChange = [this](TDirTree& sender, const std::wstring& path) {
      EXPECT_EQ(&sender, &tree_);
      changes_.push_back(path);
    };
  }
  void TearDown() override {
    ::DestroyWindow(host_);
    LoadTreeTexts(lnEnglish);
  }

  HWND tv() const { return tree_.TreeHwnd(); }
  HTREEITEM Root() const { return TreeView_GetRoot(tv()); }
  HTREEITEM Selected() const { return TreeView_GetSelection(tv()); }

  std::wstring TextOf(HTREEITEM n) const {
    wchar_t buf[512] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = n;
    item.pszText = buf;
    item.cchTextMax = 512;
    TreeView_GetItem(tv(), &item);
    return buf;
  }
  TVITEMW Item(HTREEITEM n, UINT mask) const {
    TVITEMW item{};
    item.mask = mask;
    item.hItem = n;
    item.stateMask = TVIS_EXPANDED;
    TreeView_GetItem(tv(), &item);
    return item;
  }
  int ChildrenMark(HTREEITEM n) const { return Item(n, TVIF_CHILDREN).cChildren; }
  bool IsExpanded(HTREEITEM n) const { return (Item(n, TVIF_STATE).state & TVIS_EXPANDED) != 0; }

  std::vector<std::wstring> ChildTexts(HTREEITEM n) const {
    std::vector<std::wstring> texts;
    for (HTREEITEM c = TreeView_GetChild(tv(), n); c; c = TreeView_GetNextSibling(tv(), c))
      texts.push_back(TextOf(c));
    return texts;
  }
  HTREEITEM ChildNamed(HTREEITEM n, const std::wstring& text) const {
    for (HTREEITEM c = TreeView_GetChild(tv(), n); c; c = TreeView_GetNextSibling(tv(), c))
      if (TextOf(c) == text) return c;
    return nullptr;
  }
  HTREEITEM DriveNode(wchar_t letter) const {
    for (HTREEITEM c = TreeView_GetChild(tv(), Root()); c; c = TreeView_GetNextSibling(tv(), c))
      if (tree_.NodePath(c) == std::wstring(1, letter) + L":\\") return c;
    return nullptr;
  }

  // A press and release on the node's label; the release is queued first so
  // that the control's own tracking of the press ends at once.
  void Click(HTREEITEM n, UINT down = WM_LBUTTONDOWN) {
    TreeView_EnsureVisible(tv(), n);
    RECT rc{};
    ASSERT_TRUE(TreeView_GetItemRect(tv(), n, &rc, TRUE));
    ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, down);
  }
  void ClickAt(POINT pt, UINT down = WM_LBUTTONDOWN) {
    const LPARAM lp = MAKELPARAM(pt.x, pt.y);
    const UINT up = down == WM_RBUTTONDOWN ? WM_RBUTTONUP : down == WM_MBUTTONDOWN ? WM_MBUTTONUP : WM_LBUTTONUP;
    ::PostMessageW(tv(), up, 0, lp);
    ::SendMessageW(tv(), down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, lp);
    test::PumpMessages();
  }
  void Key(WPARAM key) {
    ::SendMessageW(tv(), WM_KEYDOWN, key, 1);
    ::SendMessageW(tv(), WM_KEYUP, key, 0xC0000001);
    test::PumpMessages();
  }

  // Runs an in-place edit of the selected node to its end with `text`.
  bool EditSelected(const std::wstring& text) {
    HWND edit = tree_.EditSelectedNode();
    if (!edit) return false;
    ::SetWindowTextW(edit, text.c_str());
    TreeView_EndEditLabelNow(tv(), FALSE);
    test::PumpMessages();
    return true;
  }

  static bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  test::RecordingMessages messages_;
  HWND host_ = nullptr;
  TDirTree tree_;
  std::vector<std::wstring> changes_;
};

}  // namespace ferlane
