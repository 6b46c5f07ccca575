#pragma once
// Tab 4, "   &Bureau et programmes cachés": the hidden store's two views, the
// "Menu <Démarrer>" strip, their context menus and the "&Rétablir" commands.
#include "platform/TabPage.h"
#include "browse/FileListView.h"
#include "platform/SplitterBar.h"
#include "platform/UniqueHandle.h"
#include "shellfolders/ShellFolders.h"

namespace ferlane {

class HiddenStorePage : public ITabPage {
 public:
  explicit HiddenStorePage(ShellFolders& folders) : folders_(folders) {}
  ~HiddenStorePage() override;
  HiddenStorePage(const HiddenStorePage&) = delete;
  HiddenStorePage& operator=(const HiddenStorePage&) = delete;
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;
  void TabStops(std::vector<HWND>& order) const override;
  bool OnCommand(UINT id) override;

  void SpeedButton4Click();  // "Menu <Démarrer>"
  // Toolbar SpeedButton5 and "&Rétablir le bureau et les programmes" (menu
  // "&Action"), with items selected in the page's views.
  void SpeedButton5Click();
  // Whether either view has a selected item.
  bool HasSelection() const;
  // The four views that command re-lists, after the whole store was put back.
  void RelistAfterRestore();
  // Popup menucacheprog of progcach
  void toutslectionner1Click();  // "&Tout sélectionner"
  void Rtablir1Click();          // "&Rétablir"
  // Popup menucachebur of burcach
  void outslectionner3Click();  // "&Tout sélectionner"
  void Rtablir2Click();         // "&Rétablir"

  TFileListView& progcach() { return progcach_; }
  TFileListView& burcach() { return burcach_; }
  HWND SpeedButton4() const { return speedButton4_; }
  HMENU menucacheprog() const { return menucacheprog_.get(); }
  HMENU menucachebur() const { return menucachebur_.get(); }

 private:
  ShellFolders::MoveOutcome RestorePrograms(bool quiet);
  ShellFolders::MoveOutcome RestoreDesktop(bool quiet);
  // While the page is shown, the store is looked at now and then: another
  // program may change or delete it.
  static void CALLBACK WatchTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  ShellFolders& folders_;
  TFileListView progcach_, burcach_;
  UniqueHMenu menucacheprog_, menucachebur_;
  HWND speedButton4_ = nullptr, progGroup_ = nullptr, burGroup_ = nullptr;
  UniqueHIcon speedButton4Picture_;
  SplitterBar splitter_;
  int topHeight_ = 0;  // in the screen's pixels: from the design at creation, then dragged
  Dpi dpi_;
  RECT area_{};
  HWND window_ = nullptr;  // the main window, which carries the watch timer
  bool visible_ = false;
};

}  // namespace ferlane
