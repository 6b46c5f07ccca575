#include "platform/Messages.h"

#include "platform/Termination.h"

namespace ferlane {
namespace {
std::wstring g_title = L"Ferlane";
IMessageSink* g_sink = nullptr;
}  // namespace

const std::wstring& ApplicationTitle() { return g_title; }
void SetApplicationTitle(const std::wstring& title) { g_title = title; }
void SetMessageSink(IMessageSink* sink) { g_sink = sink; }

int ShowMessage(HWND owner, const std::wstring& text, UINT flags) {
  // After a termination request a modal box closes at once without waiting.
  if (TerminationRequested()) return (flags & 0xF) == MB_YESNO ? IDNO : IDOK;
  if (g_sink) return g_sink->Show(owner, text, g_title, flags);
  return ::MessageBoxW(owner, text.c_str(), g_title.c_str(), flags | MB_TASKMODAL);
}

}  // namespace ferlane
