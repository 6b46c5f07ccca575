#include "platform/ErrorText.h"

namespace ferlane {

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buf = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::wstring text;
  if (n && buf) text.assign(buf, n);
  if (buf) ::LocalFree(buf);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"Erreur système " + std::to_wstring(code);
  return text;
}

std::wstring ExceptionText(const std::exception& e) {
  const char* what = e.what();
  int n = ::MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring text(static_cast<std::size_t>(n - 1), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, what, -1, text.data(), n);
  return text;
}

}  // namespace ferlane
