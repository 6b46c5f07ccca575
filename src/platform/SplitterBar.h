#pragma once
// A splitter: a thin child window that the user drags to share space between
// two panes. It only reports how far it was dragged; its owner moves the panes
// (and the bar) in its layout.
#include <windows.h>

#include <functional>

namespace ferlane {

class SplitterBar {
 public:
  // Columns: a vertical bar dragged left and right; Rows: a horizontal bar.
  enum class Axis { Columns, Rows };
  SplitterBar() = default;
  ~SplitterBar();
  SplitterBar(const SplitterBar&) = delete;
  SplitterBar& operator=(const SplitterBar&) = delete;

  bool Create(HWND parent, HINSTANCE instance, int id, Axis axis);
  HWND hwnd() const { return hwnd_; }
  // Pixels the pointer moved along the bar's axis since the last report.
  std::function<void(int moved)> OnMoved;

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  Axis axis_ = Axis::Columns;
  bool dragging_ = false;
  POINT last_{};
};

}  // namespace ferlane
