#pragma once
// Tab 4, "   &Bureau et programmes cachés": the hidden store's two views and their "&Rétablir" commands.
#include "app/TabPage.h"

namespace ferlane {

class HiddenStorePage : public ITabPage {
 public:
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;

 private:
  PageHost host_;
};

}  // namespace ferlane
