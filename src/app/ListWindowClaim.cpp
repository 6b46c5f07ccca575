#include "app/ListWindowClaim.h"

#include "app/logic/ListWindow.h"
#include "platform/FileIdentity.h"
#include "platform/logic/PathFold.h"

namespace ferlane {
namespace {

constexpr wchar_t kMainWindowClass[] = L"Tficheprincipale";
constexpr wchar_t kMarkProperty[] = L"Ferlane.ListFile";

struct Search {
  UINT_PTR mark;
  HWND found;
};

BOOL CALLBACK MatchMark(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (::lstrcmpW(name, kMainWindowClass) != 0) return TRUE;
  if (reinterpret_cast<UINT_PTR>(::GetPropW(window, kMarkProperty)) != search->mark) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

ListWindowClaim::ListWindowClaim(const std::wstring& listFile) {
  // Known by its folder's identity and its folded name, not by its
  // spelling: "C:\Ferlane\Marie", "c:\ferlane\marie", a subst drive, an 8.3
  // name or a share of the same folder are one list.
  const std::uint64_t key = PathKey(FileIdentity(listFile));
  // Never 0: a window without the mark answers 0.
  mark_ = static_cast<UINT_PTR>(key) | 1;
  mutex_.reset(::CreateMutexW(nullptr, FALSE, ListWindowMutexName(key).c_str()));
  const DWORD error = ::GetLastError();
  // A mutex another user's or an elevated window made may refuse this token:
  // it is held all the same.
  held_ = mutex_ && error != ERROR_ALREADY_EXISTS;
  if (!held_ && !mutex_ && error != ERROR_ACCESS_DENIED) held_ = true;  // no claim possible: run as before
}

void ListWindowClaim::Mark(HWND window) const {
  ::SetPropW(window, kMarkProperty, reinterpret_cast<HANDLE>(mark_));
}

bool ListWindowClaim::BringHolderToFront(DWORD waitMs) const {
  // The holder may still be starting (its splash is up): it is looked for a
  // little while.
  const DWORD start = ::GetTickCount();
  Search search{mark_, nullptr};
  for (;;) {
    ::EnumWindows(MatchMark, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    if (::GetTickCount() - start >= waitMs) return false;
    ::Sleep(100);
  }
  if (::IsIconic(search.found)) ::ShowWindow(search.found, SW_RESTORE);
  // A password window it shows is what must come first.
  HWND front = ::GetLastActivePopup(search.found);
  ::SetForegroundWindow(front ? front : search.found);
  return true;
}

}  // namespace ferlane
