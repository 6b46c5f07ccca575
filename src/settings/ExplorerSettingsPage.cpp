#include "settings/ExplorerSettingsPage.h"

namespace ferlane {

void ExplorerSettingsPage::Create(const PageHost& host) { host_ = host; }
void ExplorerSettingsPage::Show(bool) {}
void ExplorerSettingsPage::Layout(const RECT&) {}

}  // namespace ferlane
