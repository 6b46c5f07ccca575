#include "platform/Messages.h"

namespace ferlane {
namespace {
std::wstring g_title = L"Ferlane";
IMessageSink* g_sink = nullptr;
}  // namespace

const std::wstring& ApplicationTitle() { return g_title; }
void SetApplicationTitle(const std::wstring& title) { g_title = title; }
void SetMessageSink(IMessageSink* sink) { g_sink = sink; }

int ShowMessage(HWND owner, const std::wstring& text, UINT flags) {
  if (g_sink) return g_sink->Show(owner, text, g_title, flags);
  return ::MessageBoxW(owner, text.c_str(), g_title.c_str(), flags | MB_TASKMODAL);
}

}  // namespace ferlane
