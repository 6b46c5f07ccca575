#pragma once
// Moves run with no window (the command line): nothing is asked or shown, a
// name the destination holds is never replaced, even one that appears while
// the command runs, and what happened is told in the result instead.
#include <windows.h>

#include <string>
#include <vector>

#include "shellfolders/logic/MoveRules.h"

namespace ferlane {

// One item a move command takes, as the file system names it.
struct MoveItem {
  std::wstring name;
  bool isDirectory = false;
};

struct QuietMoves {
  DWORD folderError = ERROR_SUCCESS;  // a missing end: nothing moved
  std::wstring missingFolder;
  std::vector<std::wstring> moved, nameTaken, notMoved;
  std::vector<std::wstring> skipped;  // left by the item rule
  // Full paths of what stayed of a moved item's source across volumes: the
  // item is whole at the destination, these parts could not be deleted.
  std::vector<std::wstring> remains;
  // Full paths under which a source whose move failed stayed: it was set
  // aside for a copy across volumes and could not be put back.
  std::vector<std::wstring> setAside;
};

// Moves the items that `rule` takes from the folder `from` into `to`, each
// under its own name, once both folders are found to exist.
QuietMoves MoveItemsQuietly(const std::vector<MoveItem>& items, const std::wstring& from, const std::wstring& to,
                            ItemRule rule);

}  // namespace ferlane
