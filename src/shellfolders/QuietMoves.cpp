#include "shellfolders/QuietMoves.h"

#include "platform/FileMove.h"
#include "shellfolders/Folders.h"
#include "shellfolders/logic/MergePlan.h"

namespace ferlane {
namespace {

// ERROR_SUCCESS when `folder` is a folder, else why not.
DWORD FolderState(const std::wstring& folder) {
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;
  const DWORD attrs = ::GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_SUCCESS : ERROR_DIRECTORY;  // a file of that name
}

}  // namespace

QuietMoves MoveItemsQuietly(const std::vector<MoveItem>& items, const std::wstring& from, const std::wstring& to,
                            ItemRule rule) {
  QuietMoves report;
  // A move into a folder that is not there would give the item the folder's
  // name instead: nothing moves unless both ends exist.
  for (const std::wstring* end : {&from, &to}) {
    if (const DWORD state = FolderState(*end); state != ERROR_SUCCESS) {
      report.folderError = state;
      report.missingFolder = *end;
      return report;
    }
  }
  for (const MoveItem& item : items) {
    if (item.name.empty()) continue;
    const ItemMove move = ApplyItemRule(rule, item.isDirectory, item.name);
    if (move == ItemMove::Skip) {
      report.skipped.push_back(item.name);
      continue;
    }
    const std::wstring source = JoinPath(from, item.name);
    const bool folder = move == ItemMove::Folder;
    if (!FitsIn(to.size(), item.name, folder, folder ? LengthsInside(source) : InsideLengths{})) {
      report.notMoved.push_back(item.name);
      continue;
    }
    std::wstring remains;
    const DWORD error = MoveWithoutReplacing(source, JoinPath(to, item.name), &remains);
    if (error == ERROR_SUCCESS) {
      report.moved.push_back(item.name);
      if (!remains.empty()) report.remains.push_back(remains);
    } else if (!remains.empty()) {
      report.setAside.push_back(remains);
    } else {
      (NameTaken(error) ? report.nameTaken : report.notMoved).push_back(item.name);
    }
  }
  return report;
}

}  // namespace ferlane
