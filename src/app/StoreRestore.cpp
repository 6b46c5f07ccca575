#include "app/StoreRestore.h"

#include "platform/PrivateRights.h"
#include "platform/logic/AsideName.h"
#include "platform/logic/EventLog.h"
#include "shellfolders/Folders.h"
#include "shellfolders/QuietMoves.h"

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

}  // namespace

WholeStoreRestore RestoreWholeStore(const StorePaths& store, const std::array<std::wstring, 2>& destinations) {
  WholeStoreRestore result;
  result.outcomes.resize(2);
  std::vector<MoveItem> items[2];
  // Both stores are read before anything moves.
  for (int i = 0; i < 2; ++i) {
    result.outcomes[i].store = store[i];
    DWORD error = ERROR_SUCCESS;
    if (!ListStore(store[i], result.outcomes[i], items[i], error)) {
      result.unreadable = store[i];
      result.error = error;
      return result;
    }
  }
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

void RecordWholeRestore(IEventTrail* trail, const StorePaths& store, const std::vector<StoreOutcome>& outcomes,
                        const Report& report) {
  if (!report.total) return;
  const std::wstring to = outcomes[0].destination + L" ; " + outcomes[1].destination;
  Record(trail, WithFailures(EventId::ItemsRestored, report.failures.size()),
         ItemCountStrings(StoreUserFolder(store), to, report.done, report.failures, report.total));
}

}  // namespace ferlane
