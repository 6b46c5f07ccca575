#pragma once
// Right side of tab 3: the personal programs and desktop views, their context
// menus and the "&Cacher" commands that park the selected items in the hidden
// store.
#include "platform/TabPage.h"
#include "browse/FileListView.h"
#include "platform/SplitterBar.h"
#include "platform/UniqueHandle.h"
#include "shellfolders/ShellFolders.h"

namespace ferlane {

class PersonalItemsPage : public ITabPage {
 public:
  explicit PersonalItemsPage(ShellFolders& folders) : folders_(folders) {}
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;
  void TabStops(std::vector<HWND>& order) const override;
  bool OnCommand(UINT id) override;

  // Popup opspepro of progperso
  void outSlectionner1Click();  // "Tout Sélectionner"
  void Attribut1Click();        // "&Cacher"
  // Popup opspebur of burperso
  void outslectionner2Click();  // "&Tout sélectionner"
  void Attribut2Click();        // "&Cacher"

  TFileListView& progperso() { return progperso_; }
  TFileListView& burperso() { return burperso_; }
  HMENU opspepro() const { return opspepro_.get(); }
  HMENU opspebur() const { return opspebur_.get(); }

 private:
  ShellFolders& folders_;
  TFileListView progperso_, burperso_;
  UniqueHMenu opspepro_, opspebur_;
  HWND outer_ = nullptr, progGroup_ = nullptr, burGroup_ = nullptr;
  SplitterBar splitter_;
  int programsHeight_ = 0;  // in the screen's pixels: from the design at creation, then dragged
  Dpi dpi_;
  RECT area_{};
};

}  // namespace ferlane
