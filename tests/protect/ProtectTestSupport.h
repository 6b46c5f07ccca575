#pragma once
// Helpers of the protected-list tests: a hidden parent that records the list
// view's notifications, file-list rows a test sets up, and file bytes.
#include <windows.h>

#include <string>
#include <vector>

#include "protect/ProtectedList.h"

namespace ferlane::test {

class ScratchDir;

// A hidden top-level window standing in for the main window.
class HiddenParent {
 public:
  HiddenParent();
  ~HiddenParent();
  HiddenParent(const HiddenParent&) = delete;
  HiddenParent& operator=(const HiddenParent&) = delete;
  HWND hwnd() const { return hwnd_; }
  // LVN_ITEMCHANGED notifications received from children.
  int itemChanged = 0;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

struct Row {
  std::wstring caption, typeText, fullPath, kind;
  bool selected = false;
};

// Rows of a file list as a test lays them out.
class FakeRows : public IFileRows {
 public:
  std::vector<Row> rows;
  std::wstring folder;
  int ItemCount() const override { return static_cast<int>(rows.size()); }
  std::wstring Caption(int row) const override { return rows.at(row).caption; }
  std::wstring SubItem(int row, int index) const override {
    const Row& r = rows.at(row);
    switch (index) {
      case 1: return r.typeText;
      case 4: return r.fullPath;
      case 5: return r.kind;
      default: return L" ";
    }
  }
  bool IsSelected(int row) const override { return rows.at(row).selected; }
  void SetSelected(int row, bool selected) override { rows.at(row).selected = selected; }
  std::wstring Folder() const override { return folder; }
};

std::string ReadBytes(const std::wstring& path);
// The names of every entry of the folder, "." and ".." left out.
std::vector<std::wstring> FilesIn(const ScratchDir& dir);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace ferlane::test
