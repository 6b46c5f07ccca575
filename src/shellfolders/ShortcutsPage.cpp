#include "shellfolders/ShortcutsPage.h"

namespace ferlane {

void ShortcutsPage::Create(const PageHost& host) { host_ = host; }
void ShortcutsPage::Show(bool) {}
void ShortcutsPage::Layout(const RECT&) {}

}  // namespace ferlane
