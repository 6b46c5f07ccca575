#include "app/ListFolder.h"

#include "app/OlderListFile.h"
#include "platform/Deadline.h"
#include "platform/ErrorText.h"
#include "platform/FileMove.h"
#include "platform/PrivateRights.h"
#include "protect/logic/ListFile.h"
#include "shellfolders/Folders.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {

UserListFile PrepareUserListFile(const Policies& policies, const std::wstring& programFolder,
                                 const std::wstring& userName) {
  UserListFile list;
  list.path = UserListPath(policies, programFolder, userName);
  // The lists earlier versions left elsewhere come beside the program
  // first; from there, the one step below takes them on.
  list.adoptedOlder = AdoptOlderListFile(programFolder, userName);
  if (policies.listFolder.empty() || userName.empty()) return list;
  list.folder = policies.listFolder;
  if (!IsAbsoluteFolder(list.folder)) {
    list.folderError = ERROR_BAD_PATHNAME;
    return list;
  }
  // Asked once per run on a worker with a deadline (the window's claim may
  // have asked already): a server that does not answer costs one deadline,
  // and the folder then counts as unreachable.
  if (const DWORD reach = FolderAnswers(std::wstring(WithoutFinalSeparator(list.folder)), kCommandLineLookupMs)) {
    list.folderError = reach;
    return list;
  }
  if (const DWORD made = CreateFolderPath(std::wstring(WithoutFinalSeparator(list.folder)))) {
    list.folderError = made;
    return list;
  }
  if (::GetFileAttributesW(list.path.c_str()) != INVALID_FILE_ATTRIBUTES) return list;
  const DWORD lookup = ::GetLastError();
  if (lookup != ERROR_FILE_NOT_FOUND && lookup != ERROR_PATH_NOT_FOUND) {
    list.folderError = lookup;  // there may be a list we cannot see
    return list;
  }
  const std::wstring beside = ListFilePath(programFolder, userName);
  if (!PathExists(beside)) return list;
  const DWORD moved = MoveWithoutReplacing(beside, list.path);
  if (NameTaken(moved)) return list;  // another run put one there meanwhile
  if (moved != ERROR_SUCCESS) {
    // The folder would hold an empty list while the user's stays behind.
    list.folderError = moved;
    return list;
  }
  list.movedFrom = beside;
  // A move keeps the rights the file had; the folder's are not the list's.
  list.rightsError = KeepPrivate(list.path, false, true);
  return list;
}

std::wstring ListFolderUnreachableText(const std::wstring& folder, DWORD error) {
  return L"Le dossier des listes \"" + folder +
         L"\", r\u00E9gl\u00E9 par l'administrateur, ne peut pas \u00EAtre atteint : " +
         (error == kNoAnswer ? std::wstring(L"son serveur n'a pas r\u00E9pondu \u00E0 temps.") : SystemErrorText(error));
}

std::wstring ListMovedText(const std::wstring& from, const std::wstring& to) {
  return L"Votre liste \"" + from + L"\" a \u00E9t\u00E9 d\u00E9plac\u00E9e vers \"" + to +
         L"\", le dossier des listes r\u00E9gl\u00E9 par l'administrateur.";
}

std::wstring ListGroupCaption(const std::wstring& folder, bool reachable) {
  std::wstring caption = L"&R\u00E9pertoires et Fichiers s\u00E9lectionn\u00E9s";
  if (folder.empty()) return caption;
  // A folder's "&" is no access key.
  std::wstring shown;
  for (wchar_t c : folder) shown += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
  return caption + (reachable ? L" (dans " : L" (injoignable : ") + shown + L", r\u00E9gl\u00E9 par l'administrateur)";
}

}  // namespace ferlane
