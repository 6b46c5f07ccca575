#include "listplace/OlderListFile.h"

#include "listplace/logic/ListFileLocation.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "protect/logic/ListFile.h"
#include "shellfolders/Folders.h"

namespace ferlane {

std::wstring OlderListFileToAdopt(const std::wstring& programFolder, const std::wstring& userName) {
  if (userName.empty() || PathExists(ListFilePath(programFolder, userName))) return {};
  const std::wstring localAppData = LocalAppDataPath();
  for (const std::wstring& older :
       OlderListFiles(programFolder, userName, GetProgramFilesDir(), GetProgramFiles64Dir(), localAppData)) {
    const DWORD attrs = ::GetFileAttributesW(older.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return older;
  }
  return {};
}

bool AdoptOlderListFile(const std::wstring& programFolder, const std::wstring& userName) {
  // The first one found is the user's list; should the move fail, the next
  // is not taken for it.
  const std::wstring older = OlderListFileToAdopt(programFolder, userName);
  return !older.empty() && MoveWithoutReplacing(older, ListFilePath(programFolder, userName)) == ERROR_SUCCESS;
}

}  // namespace ferlane
