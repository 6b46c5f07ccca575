#include "platform/AccessLists.h"

#include <aclapi.h>

#include "platform/Platform.h"

namespace ferlane {

UniqueSid NtAuthoritySid(BYTE count, DWORD first, DWORD second) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!::AllocateAndInitializeSid(&nt, count, first, second, 0, 0, 0, 0, 0, 0, &sid)) return UniqueSid();
  return UniqueSid(sid);
}

std::vector<BYTE> TokenUserSid() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  UniqueKernelHandle token(raw);
  DWORD needed = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  if (needed == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), needed, &needed)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

PSID TrusteeSids::Of(Trustee who) const {
  switch (who) {
    case Trustee::System: return system.get();
    case Trustee::Administrators: return administrators.get();
    case Trustee::User: return user.empty() ? nullptr : const_cast<BYTE*>(user.data());
    case Trustee::Other: break;
  }
  return nullptr;
}

Trustee TrusteeSids::Which(PSID sid) const {
  for (Trustee who : {Trustee::System, Trustee::Administrators, Trustee::User})
    if (PSID known = Of(who); known && ::EqualSid(known, sid)) return who;
  return Trustee::Other;
}

DWORD BuildAcl(const FileRights& rights, const TrusteeSids& sids, UniqueLocal& owned, PACL& acl) {
  std::vector<EXPLICIT_ACCESS_W> access;
  for (const RightsEntry& e : rights.entries) {
    PSID sid = e.who == Trustee::Other && !e.sid.empty() ? const_cast<std::uint8_t*>(e.sid.data()) : sids.Of(e.who);
    if (!sid) return e.who == Trustee::Other ? ERROR_INVALID_PARAMETER : ERROR_NO_SUCH_USER;
    EXPLICIT_ACCESS_W a{};
    a.grfAccessPermissions = e.mask;
    a.grfAccessMode = e.allow ? GRANT_ACCESS : DENY_ACCESS;
    a.grfInheritance = e.inheritance;  // the same flag bits
    a.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    a.Trustee.TrusteeType = TRUSTEE_IS_UNKNOWN;
    a.Trustee.ptstrName = static_cast<LPWSTR>(sid);
    access.push_back(a);
  }
  acl = nullptr;
  if (const DWORD error = ::SetEntriesInAclW(static_cast<ULONG>(access.size()), access.data(), nullptr, &acl))
    return error;
  owned.reset(acl);
  return ERROR_SUCCESS;
}

bool Win32Platform::ReadFileRights(const std::wstring& path, FileRights& rights) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  UniqueLocal owned(descriptor);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!::GetSecurityDescriptorControl(descriptor, &control, &revision)) return false;
  rights = FileRights{};
  rights.fromParent = (control & SE_DACL_PROTECTED) == 0;
  rights.openToAll = dacl == nullptr;
  const TrusteeSids sids;
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace)) return false;
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    RightsEntry entry;  // any other kind of entry stays someone else's
    entry.inheritance = header->AceFlags;
    if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
      // Both kinds share this layout.
      auto* body = static_cast<ACCESS_ALLOWED_ACE*>(ace);
      entry.allow = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
      entry.mask = body->Mask;
      entry.who = sids.Which(&body->SidStart);
      if (entry.who == Trustee::Other) {
        const BYTE* sid = reinterpret_cast<const BYTE*>(&body->SidStart);
        entry.sid.assign(sid, sid + ::GetLengthSid(&body->SidStart));
      }
    }
    rights.entries.push_back(entry);
  }
  return true;
}

namespace {

// Whether the volume that holds path keeps rights at all (FAT does not).
bool VolumeKeepsRights(const std::wstring& path) {
  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return true;  // let the system say
  DWORD flags = 0;
  if (!::GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) return true;
  return (flags & FILE_PERSISTENT_ACLS) != 0;
}

}  // namespace

DWORD Win32Platform::WriteFileRights(const std::wstring& path, const FileRights& rights) {
  const TrusteeSids sids;
  UniqueLocal owned;
  PACL acl = nullptr;
  if (const DWORD error = BuildAcl(rights, sids, owned, acl)) return error;
  static_assert(kDaclInformation == DACL_SECURITY_INFORMATION && kProtectedDacl == PROTECTED_DACL_SECURITY_INFORMATION &&
                kUnprotectedDacl == UNPROTECTED_DACL_SECURITY_INFORMATION);
  const SECURITY_INFORMATION what = RightsWriteFlags(rights);
  std::wstring name = path;  // the call takes a writable text
  return ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, what, nullptr, nullptr,
                                 rights.openToAll ? nullptr : acl, nullptr);
}

HANDLE Win32Platform::CreateFileWithRights(const std::wstring& path, DWORD access, DWORD disposition,
                                           const FileRights* rights, DWORD& rightsError, DWORD share) {
  rightsError = ERROR_SUCCESS;
  const TrusteeSids sids;
  UniqueLocal owned;
  PACL acl = nullptr;
  SECURITY_DESCRIPTOR descriptor;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  if (rights) {
    rightsError = BuildAcl(*rights, sids, owned, acl);
    if (rightsError == ERROR_SUCCESS &&
        !(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
          ::SetSecurityDescriptorDacl(&descriptor, TRUE, rights->openToAll ? nullptr : acl, FALSE) &&
          ::SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED,
                                         rights->fromParent ? 0 : SE_DACL_PROTECTED)))
      rightsError = ::GetLastError();
    // A volume without rights takes the file all the same: said as refused.
    if (rightsError == ERROR_SUCCESS && !VolumeKeepsRights(path)) rightsError = ERROR_NOT_SUPPORTED;
    if (rightsError == ERROR_SUCCESS) attributes.lpSecurityDescriptor = &descriptor;
  }
  return ::CreateFileW(path.c_str(), access, share, rights && !rightsError ? &attributes : nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace ferlane
