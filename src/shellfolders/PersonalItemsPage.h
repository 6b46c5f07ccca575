#pragma once
// Right side of tab 3: the personal programs and desktop views and their "&Cacher" commands.
#include "app/TabPage.h"

namespace ferlane {

class PersonalItemsPage : public ITabPage {
 public:
  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;

 private:
  PageHost host_;
};

}  // namespace ferlane
