#pragma once
// The pictures of the toolbar's buttons (42 x 42 at 96 DPI, drawn for each
// DPI step), each with a greyed copy for a disabled button. The buttons are owner-drawn: a disabled bitmap button
// would otherwise show a blank grey square.
#include <windows.h>
#include <commctrl.h>

#include "platform/UniqueHandle.h"

namespace ferlane {

class ToolbarPictures {
 public:
  ToolbarPictures() = default;
  ~ToolbarPictures();
  ToolbarPictures(const ToolbarPictures&) = delete;
  ToolbarPictures& operator=(const ToolbarPictures&) = delete;

  // Loads one bitmap resource per button, in button order, drawn for `dpi`
  // (the 96-DPI picture's id + IDB_DPI_STEP per step); returns false when one
  // is missing.
  bool Load(HINSTANCE instance, const int* bitmapIds, int count, int dpi);
  int Size() const { return size_; }
  // Draws button `index` for its WM_DRAWITEM: flat buttons show an edge only
  // while pressed, raised ones always.
  void Draw(const DRAWITEMSTRUCT& item, int index, bool raised) const;

 private:
  HIMAGELIST list_ = nullptr;  // ours: normal pictures first, then the greyed copies
  int count_ = 0;
  int size_ = 0;  // of a picture, square
};

}  // namespace ferlane
