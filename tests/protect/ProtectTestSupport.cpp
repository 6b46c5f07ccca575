#include "protect/ProtectTestSupport.h"

#include "platform/UniqueHandle.h"
#include "support/Fakes.h"

namespace ferlane::test {

HiddenParent::HiddenParent() {
  static const wchar_t kClass[] = L"FerlaneProtectTestParent";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kClass, &wc)) {
    wc.lpfnWndProc = &HiddenParent::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassExW(&wc);
  }
  hwnd_ = ::CreateWindowExW(0, kClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), this);
}

HiddenParent::~HiddenParent() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK HiddenParent::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<HiddenParent*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_ITEMCHANGED) ++self->itemChanged;
  if (self && msg == WM_NCDESTROY) self->hwnd_ = nullptr;
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

std::string ReadBytes(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}


std::vector<std::wstring> FilesIn(const ScratchDir& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((dir.path() + L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(h, &fd));
  ::FindClose(h);
  return names;
}


}  // namespace ferlane::test
