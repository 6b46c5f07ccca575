#include "shellfolders/HiddenStorePage.h"

namespace ferlane {

void HiddenStorePage::Create(const PageHost& host) { host_ = host; }
void HiddenStorePage::Show(bool) {}
void HiddenStorePage::Layout(const RECT&) {}

}  // namespace ferlane
