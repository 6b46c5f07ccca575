#pragma once
// The moves of tabs 2 to 4 with the user at hand: one shell request for many
// shortcuts, a question for each name the destination holds, a program group
// merged into its namesake item by item, and one message for what stayed.
// The moves that never ask (the command line's) are QuietMoves.
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "platform/EventTrail.h"
#include "platform/PrivateRights.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/QuietMoves.h"
#include "shellfolders/logic/MoveRules.h"

namespace ferlane {

class ShellMoves {
 public:
  // owner: the window that owns the questions and the shell's windows (set
  // once the main window exists); store: the hidden store's folders and why
  // each could not be made, named when a move finds one missing.
  ShellMoves(const HWND& owner, const StorePaths& store, const std::array<DWORD, 2>& storeError)
      : owner_(owner), store_(store), storeError_(storeError) {}

  enum class Outcome { Done, FolderMissing };
  // Moves the items `rule` takes from `from` to `to`. Before anything moves,
  // both folders must exist (a store folder is named as such); when one is
  // missing the user is told once, unless `quiet`.
  Outcome Move(const std::vector<MoveItem>& items, const std::wstring& from, const std::wstring& to, ItemRule rule,
               bool quiet);
  // A move runs: the views it empties are not to be listed meanwhile.
  bool Busy() const { return busy_; }
  // Where each move that took items writes its one event; none by default.
  void SetEventTrail(IEventTrail* trail) { trail_ = trail; }

 private:
  bool FolderReady(const std::wstring& folder, bool quiet) const;
  // True when the shell answered success and the user cancelled nothing.
  bool MoveOne(ItemMove move, const std::wstring& source, const std::wstring& to, FILEOP_FLAGS extra);
  // Adds to `claimed` the indices of the moves the shell says it made.
  void RunBatch(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources, MoveBatch batch,
                const std::wstring& to, std::vector<std::size_t>& claimed);
  // Names of claimed moves that left their item in place.
  void CheckClaimedMoves(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                         const std::vector<std::size_t>& claimed, const std::wstring& from,
                         std::vector<std::wstring>& notMoved) const;
  // Moves the entries of `source` one by one into the existing folder
  // `target`, asking for each name taken; what stays is added to `left` as
  // shownAs + "\" + name, what the user kept back ("Non") to `kept`, and an
  // emptied source is removed.
  void MergeInto(const std::wstring& source, const std::wstring& target, const std::wstring& shownAs, bool intoStore,
                 std::vector<std::wstring>& left, std::vector<std::wstring>& kept);
  // Gives a moved item, and all it holds, the rights of its new place; the
  // first refusal to narrow what came into the store is kept to be said.
  void FollowRights(const std::wstring& path, bool intoStore);
  // The answer to a question of a move (true = Oui).
  bool Ask(const std::wstring& question) const;
  bool IsStoreFolder(const std::wstring& folder) const;
  // The move's one event: how many of the items taken went, and what stayed
  // (names too long for the destination, then what the move left).
  void RecordMove(const std::wstring& from, const std::wstring& to, std::size_t total,
                  std::vector<std::wstring> failures, const std::vector<std::wstring>& left, std::size_t kept) const;
  HWND OperationOwner() const;

  const HWND& owner_;
  const StorePaths& store_;
  const std::array<DWORD, 2>& storeError_;
  bool busy_ = false;
  IEventTrail* trail_ = nullptr;
  DWORD rightsRefusal_ = ERROR_SUCCESS;  // of the move under way
  std::wstring rightsRefused_;
  RightsNotice rightsNotice_;
};

}  // namespace ferlane
