#pragma once
// Tab 2, "  &Déplacer les raccourcis": the four shell-folder views, each in a
// group box whose top line is its folder path panel, and the splitters
// between them. The moves themselves are the drops that ShellFolders routes.
#include "platform/TabPage.h"
#include "browse/FileListView.h"
#include "platform/SplitterBar.h"
#include "shellfolders/ShellFolders.h"

namespace ferlane {

class ShortcutsPage : public ITabPage {
 public:
  explicit ShortcutsPage(ShellFolders& folders) : folders_(folders) {}
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;
  void TabStops(std::vector<HWND>& order) const override;

  TFileListView& programmescommuns() { return views_[0]; }
  TFileListView& programmesperso() { return views_[1]; }
  TFileListView& bureaucommun() { return views_[2]; }
  TFileListView& bureauperso() { return views_[3]; }

 private:
  ShellFolders& folders_;
  TFileListView views_[4];  // upper left, upper right, lower left, lower right
  HWND groups_[4] = {};
  HWND panels_[4] = {};
  SplitterBar rows_, upperColumns_, lowerColumns_;
  // In the screen's pixels: set from the design at creation, then dragged.
  int upperLeft_ = 0;
  int lowerLeft_ = 0;
  int lowerHeight_ = 0;
  Dpi dpi_;
  RECT area_{};
};

}  // namespace ferlane
