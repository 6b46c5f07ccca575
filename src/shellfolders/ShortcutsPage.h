#pragma once
// Tab 2, "  &Déplacer les raccourcis": the four shell-folder views and their moves.
#include "app/TabPage.h"

namespace ferlane {

class ShortcutsPage : public ITabPage {
 public:
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;

 private:
  PageHost host_;
};

}  // namespace ferlane
