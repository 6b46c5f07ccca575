#include "platform/PrivateRights.h"

#include <vector>

#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/UniqueHandle.h"

namespace ferlane {

HANDLE CreatePrivateFile(const std::wstring& path, DWORD access, DWORD disposition, DWORD& rightsError, DWORD share) {
  // Windows 95, 98 and Me keep no rights.
  if (!IsNtFamily(GetOsFamily())) {
    rightsError = ERROR_SUCCESS;
    return Platform().CreateFileWithRights(path, access, disposition, nullptr, rightsError, share);
  }
  const FileRights wanted = PrivateRights(false);
  return Platform().CreateFileWithRights(path, access, disposition, &wanted, rightsError, share);
}

DWORD KeepPrivate(const std::wstring& path, bool folder, bool evenIfSame) {
  if (!IsNtFamily(GetOsFamily())) return ERROR_SUCCESS;
  const FileRights wanted = PrivateRights(folder);
  FileRights seen;
  // Rewriting a folder's rights walks all it holds: only when they differ.
  if (!evenIfSame && Platform().ReadFileRights(path, seen) && SameRights(seen, wanted)) return ERROR_SUCCESS;
  return Platform().WriteFileRights(path, wanted);
}

DWORD FollowPlace(const std::wstring& path, bool intoStore) {
  if (!IsNtFamily(GetOsFamily())) return ERROR_SUCCESS;
  DWORD first = ERROR_SUCCESS;
  FileRights before;
  if (Platform().ReadFileRights(path, before))
    first = Platform().WriteFileRights(path, RightsAfterMove(before, intoStore));
  const DWORD attrs = ::GetFileAttributesW(path.c_str());
  // A link is not followed: what it points at lies elsewhere.
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY) || (attrs & FILE_ATTRIBUTE_REPARSE_POINT))
    return first;
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return first;
  do {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    const DWORD error = FollowPlace(path + L"\\" + name, intoStore);
    if (first == ERROR_SUCCESS) first = error;
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
  return first;
}

std::wstring RightsRefusedText(const std::wstring& path, DWORD error) {
  return L"Les droits d'acc\u00E8s de \"" + path +
         L"\" n'ont pas pu \u00EAtre r\u00E9serv\u00E9s aux administrateurs et \u00E0 son utilisateur : " +
         SystemErrorText(error) +
         L" D'autres utilisateurs de cet ordinateur peuvent peut-\u00EAtre le lire. Ferlane continue.";
}

bool RightsNotice::FirstRefusal(DWORD error) {
  if (error == ERROR_SUCCESS || told_) return false;
  told_ = true;
  return true;
}

void RightsNotice::Refused(HWND owner, const std::wstring& path, DWORD error) {
  if (FirstRefusal(error)) ShowWarning(owner, RightsRefusedText(path, error));
}

}  // namespace ferlane
