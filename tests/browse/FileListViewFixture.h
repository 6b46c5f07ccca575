#pragma once
// The file list view's test fixture: a view in a host window, a scratch
// folder and the helpers the listing and the navigation tests share.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "browse/FileListView.h"
#include "support/Fakes.h"

namespace ferlane {

class FileListViewTest : public ::testing::Test {
 protected:
  FileListViewTest() {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 700, 500, nullptr,
                              nullptr, nullptr, nullptr);
    RECT rc{0, 0, 680, 460};
    EXPECT_TRUE(view_.Create(host_, 100, rc));
  }
  ~FileListViewTest() override {
    ::SetCurrentDirectoryW(L"C:\\");  // the scratch folder must not stay in use
    ::DestroyWindow(host_);
  }

  // A scratch folder with known entries; the view shows it.
  void MakeKnownFolder() {
    dir_.File(L"hidden.txt", 10, FILE_ATTRIBUTE_HIDDEN);
    dir_.File(L"system.dat", 10, FILE_ATTRIBUTE_SYSTEM);
    dir_.File(L"readonly.txt", 10, FILE_ATTRIBUTE_READONLY);
    dir_.File(L"archive.txt", 10, FILE_ATTRIBUTE_ARCHIVE);
    dir_.File(L"empty.txt", 0, FILE_ATTRIBUTE_ARCHIVE);
    dir_.File(L"one.bin", 1, FILE_ATTRIBUTE_ARCHIVE);
    dir_.File(L"k.bin", 1024, FILE_ATTRIBUTE_ARCHIVE);
    dir_.File(L"k1.bin", 1025, FILE_ATTRIBUTE_ARCHIVE);
    dir_.File(L"big.bin", 5000, FILE_ATTRIBUTE_ARCHIVE);
    dir_.Folder(L"sub");
    dir_.Folder(L"zfolder");
  }

  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> c;
    for (int i = 0; i < view_.ItemCount(); ++i) c.push_back(view_.Caption(i));
    return c;
  }
  int Row(const std::wstring& caption) const {
    for (int i = 0; i < view_.ItemCount(); ++i)
      if (view_.Caption(i) == caption) return i;
    return -1;
  }
  void SelectOnly(std::initializer_list<int> rows) {
    for (int i = 0; i < view_.ItemCount(); ++i) view_.SetSelected(i, false);
    for (int r : rows) view_.SetSelected(r, true);
  }
  void Key(WORD key) { ::SendMessageW(view_.ListHwnd(), WM_KEYDOWN, key, 0); }
  HWND Header() const { return ListView_GetHeader(view_.ListHwnd()); }
  HDITEMW HeaderItem(int i) const {
    HDITEMW hd{};
    hd.mask = HDI_FORMAT | HDI_BITMAP;
    Header_GetItem(Header(), i, &hd);
    return hd;
  }
  std::wstring HeaderText(int i) const {
    wchar_t buf[64] = {};
    HDITEMW hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = buf;
    hd.cchTextMax = 64;
    Header_GetItem(Header(), i, &hd);
    return buf;
  }
  // A click on a column heading, as the header reports it to the list.
  void ClickHeader(int column) {
    NMHEADERW nm{};
    nm.hdr.hwndFrom = Header();
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(Header()));
    nm.hdr.code = HDN_ITEMCLICKW;
    nm.iItem = column;
    nm.iButton = 0;
    ::SendMessageW(view_.ListHwnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  }
  std::wstring CellText(int row, int column) const {
    wchar_t buf[MAX_PATH] = {};
    ListView_GetItemText(view_.ListHwnd(), row, column, buf, MAX_PATH);
    return buf;
  }

  test::RecordingMessages messages_;
  test::ScratchDir dir_;
  HWND host_ = nullptr;
  TFileListView view_;
};

}  // namespace ferlane
