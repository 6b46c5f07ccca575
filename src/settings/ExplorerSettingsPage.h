#pragma once
// Left column of tab 3: the Explorer, taskbar and autostart settings.
#include "app/TabPage.h"

namespace ferlane {

class ExplorerSettingsPage : public ITabPage {
 public:
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;

 private:
  PageHost host_;
};

}  // namespace ferlane
