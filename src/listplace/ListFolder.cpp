#include "listplace/ListFolder.h"

#include "listplace/OlderListFile.h"
#include "platform/Deadline.h"
#include "platform/ErrorText.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "platform/UniqueHandle.h"
#include "protect/ListFileIo.h"
#include "protect/logic/ListFile.h"
#include "shellfolders/Folders.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

DWORD ReadWhole(HANDLE file, std::string& bytes) {
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return ::GetLastError();
    if (got == 0) return ERROR_SUCCESS;
    bytes.append(chunk, got);
  }
}

// The list beside the program copied into the folder, for an account the
// system does not let move it (a move to a share first puts the list aside in
// the program's folder, which a standard user may not write; Unix rules under
// Wine refuse even the rename): written as a save writes, private from its
// creation and flushed, then renamed without replacing, so that a list
// already there is never overwritten; the old one is removed only once the
// copy reads back the same.
void CopyListIntoFolder(const std::wstring& beside, UserListFile& list) {
  // Held open, shared for reading alone, until the copy is checked: nobody
  // changes it unseen meanwhile; delete sharing lets it go at the end.
  UniqueFile source(::CreateFileW(beside.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  std::string bytes;
  DWORD error = source ? ReadWhole(source.get(), bytes) : ::GetLastError();
  if (error != ERROR_SUCCESS) {
    list.folderError = error;
    list.unreadableBeside = beside;
    return;
  }
  ListTemp temp;
  DWORD rights = ERROR_SUCCESS;
  if ((error = CreateListTemp(list.path, bytes, temp, &rights)) != ERROR_SUCCESS) {
    list.folderError = error;
    return;
  }
  // Renamed while still held (delete sharing allows it), so no clean-up of
  // another start takes it for a killed save's debris.
  if (!::MoveFileExW(temp.name.c_str(), list.path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
    DiscardListTemp(temp);
    if (!NameTaken(error)) list.folderError = error;  // taken: another run put one there meanwhile
    return;
  }
  temp.file.reset();
  std::string back;
  bool exists = false;
  error = ReadListBytes(list.path, back, exists);
  if (error == ERROR_SUCCESS && !exists) error = ERROR_FILE_NOT_FOUND;
  if (error == ERROR_SUCCESS && back != bytes) {
    // Not what was written: this copy goes, the old list stays the only one.
    ::DeleteFileW(list.path.c_str());
    error = ERROR_FILE_CORRUPT;
  }
  if (error != ERROR_SUCCESS) {
    list.folderError = error;
    return;
  }
  list.movedFrom = beside;
  list.rightsError = rights;
  // Windows lets its user delete the list; rights that give no DELETE, or
  // Unix rules under Wine, do not: then it stays, and is said once. Asked
  // once the file is closed: a delete of an open file is done at its close,
  // and Wine answers yes before that close fails.
  Platform().RemoveEntry(beside, false);
  source.reset();
  if (::GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) list.leftBeside = beside;
}

}  // namespace

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
  std::wstring remains;
  const DWORD moved = MoveWithoutReplacing(beside, list.path, &remains);
  if (NameTaken(moved)) return list;  // another run put one there meanwhile
  if (moved != ERROR_SUCCESS) {
    // Copied instead; what fails then is named, and the folder never holds
    // an empty list while the user's stays behind.
    CopyListIntoFolder(beside, list);
    return list;
  }
  list.movedFrom = beside;
  list.leftBeside = remains;  // what of it the move could not remove
  // A move keeps the rights the file had; the folder's are not the list's.
  list.rightsError = KeepPrivate(list.path, false, true);
  return list;
}

namespace {

// Whether a missing folder could be made: its nearest level that exists must
// be a folder (a file there stops the making).
DWORD MissingFolderBlocked(std::wstring level) {
  for (std::size_t cut = level.find_last_of(L'\\'); cut != std::wstring::npos && cut > 2;
       cut = level.find_last_of(L'\\')) {
    level.resize(cut);
    const DWORD attrs = ::GetFileAttributesW(level.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_SUCCESS : ERROR_DIRECTORY;
    const DWORD lookup = ::GetLastError();
    if (lookup != ERROR_FILE_NOT_FOUND && lookup != ERROR_PATH_NOT_FOUND) return lookup;
  }
  return ERROR_SUCCESS;
}

}  // namespace

bool ListCouldLeave(const std::wstring& from) {
  UniqueFile probe(::CreateFileW(from.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(probe);
}

UserListLook LookAtUserListFile(const Policies& policies, const std::wstring& programFolder,
                                const std::wstring& userName) {
  UserListLook look;
  look.path = UserListPath(policies, programFolder, userName);
  const std::wstring beside = ListFilePath(programFolder, userName);
  look.olderFrom = OlderListFileToAdopt(programFolder, userName);
  // Where the list beside the program would be read from once adopted.
  const std::wstring besideNow = look.olderFrom.empty() ? beside : look.olderFrom;
  look.readFrom = policies.listFolder.empty() ? besideNow : look.path;
  if (policies.listFolder.empty() || userName.empty()) return look;
  look.folder = policies.listFolder;
  if (!IsAbsoluteFolder(look.folder)) {
    look.folderError = ERROR_BAD_PATHNAME;
    return look;
  }
  const std::wstring folder(WithoutFinalSeparator(look.folder));
  // Asked as the run asks it: a server that does not answer costs the one
  // deadline, and the trial then says what the run would say.
  if (const DWORD reach = FolderAnswers(folder, kCommandLineLookupMs)) {
    look.folderError = reach;
    return look;
  }
  const DWORD attrs = ::GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    const DWORD lookup = ::GetLastError();
    if (lookup != ERROR_FILE_NOT_FOUND && lookup != ERROR_PATH_NOT_FOUND) {
      look.folderError = lookup;
      return look;
    }
    look.folderError = MissingFolderBlocked(folder);
    if (look.folderError) return look;
    look.folderWouldBeMade = true;
  } else if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    look.folderError = ERROR_DIRECTORY;
    return look;
  } else if (::GetFileAttributesW(look.path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return look;  // the folder's list is the user's; nothing would come
  } else if (const DWORD lookup = ::GetLastError(); lookup != ERROR_FILE_NOT_FOUND && lookup != ERROR_PATH_NOT_FOUND) {
    look.folderError = lookup;
    return look;
  }
  if (!PathExists(besideNow)) return look;
  look.movedFrom = beside;
  look.copied = !ListCouldLeave(besideNow);
  look.readFrom = besideNow;
  return look;
}

std::wstring ListFolderUnreachableText(const std::wstring& folder, DWORD error) {
  return L"Le dossier des listes \"" + folder +
         L"\", r\u00E9gl\u00E9 par l'administrateur, ne peut pas \u00EAtre atteint : " +
         (error == kNoAnswer ? std::wstring(L"son serveur n'a pas r\u00E9pondu \u00E0 temps.") : SystemErrorText(error));
}

std::wstring ListFolderErrorText(const UserListFile& list) {
  if (list.unreadableBeside.empty()) return ListFolderUnreachableText(list.folder, list.folderError);
  return L"Votre liste \"" + list.unreadableBeside +
         L"\" ne peut pas \u00EAtre copi\u00E9e vers le dossier des listes \"" + list.folder +
         L"\", r\u00E9gl\u00E9 par l'administrateur : " + SystemErrorText(list.folderError);
}

std::wstring ListMovedText(const UserListFile& list) {
  if (list.leftBeside.empty())
    return L"Votre liste \"" + list.movedFrom + L"\" a \u00E9t\u00E9 d\u00E9plac\u00E9e vers \"" + list.path +
           L"\", le dossier des listes r\u00E9gl\u00E9 par l'administrateur.";
  return L"Votre liste a \u00E9t\u00E9 copi\u00E9e vers \"" + list.path +
         L"\", le dossier des listes r\u00E9gl\u00E9 par l'administrateur. L'ancienne, \"" + list.leftBeside +
         L"\", ne peut pas \u00EAtre supprim\u00E9e : elle reste \u00E0 c\u00F4t\u00E9 du programme et n'est plus "
         L"utilis\u00E9e.";
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
