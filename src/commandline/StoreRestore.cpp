#include "commandline/StoreRestore.h"

#include <set>

#include "browse/ShellOps.h"
#include "platform/Platform.h"
#include "platform/logic/PathFold.h"

#include "platform/PrivateRights.h"
#include "platform/logic/AsideName.h"
#include "platform/logic/EventLog.h"
#include "shellfolders/Folders.h"
#include "shellfolders/QuietMoves.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

// A store folder's entries; false with the reason when it cannot be read.
bool ListStore(const std::wstring& store, StoreOutcome& outcome, std::vector<MoveItem>& items, DWORD& error) {
  const DWORD attrs = ::GetFileAttributesW(store.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    error = ::GetLastError();
    outcome.storeMissing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return outcome.storeMissing;
  }
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    error = ERROR_DIRECTORY;
    return false;
  }
  std::vector<FolderEntry> entries;
  const bool whole = ReadFolderEntries(store, entries, error);
  // What a move left under an aside name is named apart (FindSetAside),
  // never taken out as if it were an item.
  for (auto& e : entries)
    if (!HasAsideMark(e.name)) items.push_back({std::move(e.name), e.isFolder});
  return whole;
}

// Both stores read before anything is asked or moved; false, with the one
// that could not be read named in result, stops the restore.
bool ReadBothStores(const StorePaths& store, WholeStoreRestore& result, std::vector<MoveItem> (&items)[2]) {
  result.outcomes.resize(2);
  for (int i = 0; i < 2; ++i) {
    result.outcomes[i].store = store[i];
    DWORD error = ERROR_SUCCESS;
    if (!ListStore(store[i], result.outcomes[i], items[i], error)) {
      result.unreadable = store[i];
      result.error = error;
      return false;
    }
  }
  return true;
}

}  // namespace

WholeStoreRestore RestoreWholeStore(const StorePaths& store, const std::array<std::wstring, 2>& destinations) {
  WholeStoreRestore result;
  std::vector<MoveItem> items[2];
  if (!ReadBothStores(store, result, items)) return result;
  for (int i = 0; i < 2; ++i) {
    StoreOutcome& o = result.outcomes[i];
    if (o.storeMissing) continue;
    o.destination = destinations[i];
    QuietMoves moves = MoveItemsQuietly(items[i], o.store, o.destination, ItemRule::Programs);
    if (moves.folderError) {
      o.destinationError = moves.folderError;
      for (const MoveItem& item : items[i])
        if (ApplyItemRule(ItemRule::Programs, item.isDirectory, item.name) != ItemMove::Skip)
          o.all.push_back(item.name);
      continue;
    }
    o.restored = std::move(moves.moved);
    // Out of the store, each item takes its destination's rights.
    for (const std::wstring& name : o.restored) FollowPlace(JoinPath(o.destination, name), false);
    o.nameTaken = std::move(moves.nameTaken);
    o.notMoved = std::move(moves.notMoved);
    o.kept = std::move(moves.skipped);
    o.remains = std::move(moves.remains);
    o.setAside = std::move(moves.setAside);
  }
  return result;
}

namespace {

// The question each item is asked before a restore would move it. names:
// the folded names the store holds, an older store's item added as it would
// join.
void PlanStoreItem(const MoveItem& item, const std::wstring& from, bool older, StoreOutcome& o,
                   std::set<std::wstring>& names) {
  // An older store's item joins the store first, unless the name is held.
  const bool fresh = names.insert(FoldPath(item.name)).second;
  if (older && !fresh) {
    o.stranded.push_back(JoinPath(from, item.name));
    return;
  }
  if (ApplyItemRule(ItemRule::Programs, item.isDirectory, item.name) == ItemMove::Skip) {
    o.kept.push_back(item.name);
    return;
  }
  if (o.destinationError) {
    o.all.push_back(item.name);
    return;
  }
  if (PathExists(JoinPath(o.destination, item.name))) {
    o.nameTaken.push_back(item.name);  // in the store, an older store's item too
    return;
  }
  o.restored.push_back(item.name);
}

}  // namespace

WholeStoreRestore WholeStoreTrial(const StorePaths& store, const std::wstring& roleLabel,
                                  const std::array<std::wstring, 2>& destinations) {
  WholeStoreRestore result;
  std::vector<MoveItem> items[2];
  if (!ReadBothStores(store, result, items)) return result;
  const std::wstring localAppData = LocalAppDataPath();
  for (int i = 0; i < 2; ++i) {
    StoreOutcome& o = result.outcomes[i];
    o.destination = destinations[i];
    if (!FolderExists(o.destination)) o.destinationError = ERROR_PATH_NOT_FOUND;
    // The store's own items first: an older store's item never joins over
    // a name the store holds.
    std::set<std::wstring> names;
    for (const MoveItem& item : items[i]) PlanStoreItem(item, o.store, false, o, names);
    for (const std::wstring& old : OlderStoreFolders(GetProgramFilesDir(), GetProgramFiles64Dir(), localAppData,
                                                     roleLabel, kStoreLeaves[i])) {
      std::vector<MoveItem> olderItems;
      StoreOutcome read;
      DWORD error = ERROR_SUCCESS;
      if (!FolderExists(old)) continue;
      if (!ListStore(old, read, olderItems, error)) {
        result.unreadable = old;
        result.error = error;
        return result;
      }
      for (const MoveItem& item : olderItems) PlanStoreItem(item, old, true, o, names);
    }
  }
  return result;
}

void RecordWholeRestore(IEventTrail* trail, const StorePaths& store, const std::vector<StoreOutcome>& outcomes,
                        const Report& report) {
  if (!report.total) return;
  const std::wstring to = outcomes[0].destination + L" ; " + outcomes[1].destination;
  Record(trail, WithFailures(EventId::ItemsRestored, report.failures.size()),
         ItemCountStrings(StoreUserFolder(store), to, report.done, report.reasons, report.total));
}

}  // namespace ferlane
