#pragma once
// The folder-contents window of the directory tree: a tool window over the
// tree listing the files of one folder, with an OK button that hands the
// chosen file back to the tree. The tree owns it; its HWND is destroyed with it.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/UniqueHandle.h"

namespace ferlane {

class FolderContentsWindow {
 public:
  FolderContentsWindow() = default;
  ~FolderContentsWindow();
  FolderContentsWindow(const FolderContentsWindow&) = delete;
  FolderContentsWindow& operator=(const FolderContentsWindow&) = delete;

  // Creates the window as a child of parent covering rc, lists the files of
  // folder and shows it with caption.
  bool Create(HWND parent, const RECT& rc, const std::wstring& folder, const std::wstring& caption);
  HWND hwnd() const { return hwnd_; }
  HWND ListHwnd() const { return list_; }
  HWND OkButton() const { return ok_; }
  // Full path of the selected row, or empty.
  std::wstring SelectedFile() const;

  // Raised by the OK button; the owner closes the window afterwards.
  std::function<void()> OnOk;

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) {
    hwnd_ = hwnd;
    if (!hwnd) list_ = ok_ = tooltip_ = nullptr;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Fill(const std::wstring& folder);
  void Layout();
  void OpenSelected();

  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND panel_ = nullptr;
  HWND ok_ = nullptr;
  HWND tooltip_ = nullptr;
  UniqueHBitmap okGlyph_;
  std::wstring folder_;
};

}  // namespace ferlane
