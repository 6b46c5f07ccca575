#include "shellfolders/PersonalItemsPage.h"

namespace ferlane {

void PersonalItemsPage::Create(const PageHost& host) { host_ = host; }
void PersonalItemsPage::Show(bool) {}
void PersonalItemsPage::Layout(const RECT&) {}

}  // namespace ferlane
