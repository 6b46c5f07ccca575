#include "listplace/ListWindowClaim.h"

#include <aclapi.h>

#include <vector>

#include "listplace/logic/ListWindow.h"
#include "platform/AccessLists.h"
#include "platform/Deadline.h"
#include "platform/FolderIdentity.h"
#include "platform/logic/PathFold.h"
#include "platform/Platform.h"

namespace ferlane {
namespace {

constexpr wchar_t kMainWindowClass[] = L"Tficheprincipale";

// The window's marks: the claim it started with and, when it made the
// folder of its list, the one under the folder's identity. A fixed set of
// names, so that no new atom is made for each list.
constexpr const wchar_t* kMarkProperties[] = {L"Ferlane.ListFile", L"Ferlane.ListFile.Made"};

struct Search {
  UINT_PTR mark;
  HWND found;
};

BOOL CALLBACK MatchMark(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (::lstrcmpW(name, kMainWindowClass) != 0) return TRUE;
  for (const wchar_t* property : kMarkProperties) {
    if (reinterpret_cast<UINT_PTR>(::GetPropW(window, property)) != search->mark) continue;
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::uint64_t ListKey(const std::wstring& listFile) {
  // The folder is asked once per run, on a worker with the window's
  // deadline: a server that does not answer holds the start up once, and
  // the list is then known by its folded path (the window will find its
  // folder unreachable and write no list).
  const std::size_t slash = listFile.find_last_of(L"\\/");
  if (slash != std::wstring::npos && FolderAnswers(listFile.substr(0, slash), kWindowLookupMs) != ERROR_SUCCESS)
    return PathKey(FoldPath(listFile));
  return PathKey(FolderIdentityAndName(listFile));
}

ClaimOwner OwnerOf(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
    return ClaimOwner::Unknown;
  ClaimOwner found = ClaimOwner::Unknown;
  if (owner && ::IsValidSid(owner)) {
    const TrusteeSids sids;
    // The user first: a start run as SYSTEM owns its name as its user.
    if (PSID user = sids.Of(Trustee::User); user && ::EqualSid(owner, user)) found = ClaimOwner::ThisUser;
    else
      switch (sids.Which(owner)) {
        case Trustee::Administrators: found = ClaimOwner::Administrators; break;
        case Trustee::System: found = ClaimOwner::System; break;
        default: found = ClaimOwner::Other; break;
      }
  }
  ::LocalFree(descriptor);
  return found;
}

}  // namespace

// The window's name: owned by the user, open to the user, SYSTEM and the
// Administrators only. Without tokens (Windows 95 to Me) there is none, and
// the name is made as before.
class ListWindowClaim::PrivateObjectRights {
 public:
  PrivateObjectRights() {
    FileRights rights;
    for (Trustee who : {Trustee::User, Trustee::System, Trustee::Administrators})
      rights.entries.push_back(RightsEntry{who, MUTEX_ALL_ACCESS, true, 0, {}});
    PACL acl = nullptr;
    if (BuildAcl(rights, sids_, acl_, acl) != ERROR_SUCCESS) return;
    if (!::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorOwner(&descriptor_, sids_.Of(Trustee::User), FALSE) ||
        !::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
      return;
    ready_ = true;
  }
  PSECURITY_DESCRIPTOR Descriptor() { return ready_ ? &descriptor_ : nullptr; }

 private:
  TrusteeSids sids_;
  UniqueLocal acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  bool ready_ = false;
};

ListWindowClaim::ListWindowClaim(const std::wstring& listFile) {
  // Known by its folder's identity and its folded name, not by its
  // spelling: "C:\Ferlane\Marie", "c:\ferlane\marie", a subst drive, an 8.3
  // name or a share of the same folder are one list.
  const std::uint64_t key = ListKey(listFile);
  // Never 0: a window without the mark answers 0.
  mark_ = static_cast<UINT_PTR>(key) | 1;
  name_ = ListWindowMutexName(key);
  Claim(Platform().Elevation() == TokenElevation::Limited);
}

void ListWindowClaim::Claim(bool openOnly) {
  ClaimOpening opening = ClaimOpening::Failed;
  ClaimOwner owner = ClaimOwner::Unknown;
  if (openOnly) {
    mutex_.reset(::OpenMutexW(SYNCHRONIZE | READ_CONTROL, FALSE, name_.c_str()));
    const DWORD error = ::GetLastError();
    opening = mutex_ ? ClaimOpening::Existed
              : error == ERROR_FILE_NOT_FOUND ? ClaimOpening::NotFound
              : error == ERROR_ACCESS_DENIED  ? ClaimOpening::AccessDenied
                                              : ClaimOpening::Failed;
  } else {
    PrivateObjectRights rights;
    SECURITY_ATTRIBUTES sa{sizeof(sa), rights.Descriptor(), FALSE};
    mutex_.reset(::CreateMutexW(rights.Descriptor() ? &sa : nullptr, FALSE, name_.c_str()));
    const DWORD error = ::GetLastError();
    opening = !mutex_                         ? (error == ERROR_ACCESS_DENIED ? ClaimOpening::AccessDenied
                                                                              : ClaimOpening::Failed)
              : error == ERROR_ALREADY_EXISTS ? ClaimOpening::Existed
                                              : ClaimOpening::Created;
  }
  if (opening == ClaimOpening::Existed) owner = OwnerOf(mutex_.get());
  verdict_ = JudgeClaim(opening, owner, openOnly);
  // Only the holder keeps the name alive: a start that does not hold it lets
  // go at once, so a later start finds it free once the holder has closed.
  if (verdict_ != ClaimVerdict::Held) mutex_.reset();
}

std::wstring ListWindowClaim::NameOf(const std::wstring& listFile) { return ListWindowMutexName(ListKey(listFile)); }

void ListWindowClaim::Mark(HWND window) const {
  if (!window) return;
  for (const wchar_t* property : kMarkProperties) {
    const auto held = reinterpret_cast<UINT_PTR>(::GetPropW(window, property));
    if (held == mark_) return;
    if (held == 0) {
      ::SetPropW(window, property, reinterpret_cast<HANDLE>(mark_));
      return;
    }
  }
}

void ListWindowClaim::Unmark(HWND window) {
  for (const wchar_t* property : kMarkProperties) ::RemovePropW(window, property);
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

std::optional<ListWindowClaim> ClaimUnderMadeFolder(const ListWindowClaim& claim, const std::wstring& listFile,
                                                    HWND window) {
  std::optional<ListWindowClaim> also;
  if (ListWindowClaim::NameOf(listFile) == claim.Name()) return also;
  also.emplace(listFile);
  if (!also->MayOpen()) {
    also.reset();
    return also;
  }
  also->Mark(window);
  return also;
}

}  // namespace ferlane
