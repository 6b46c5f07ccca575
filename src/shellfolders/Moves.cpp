#include "shellfolders/Moves.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/logic/PathFold.h"
#include "platform/PrivateRights.h"
#include "shellfolders/Folders.h"
#include "shellfolders/logic/MergePlan.h"

namespace ferlane {
namespace {

// Names compared as the file system compares them.
std::wstring FoldedName(std::wstring text) {
  FoldPathInPlace(text);
  return text;
}

}  // namespace

HWND ShellMoves::OperationOwner() const {
  // The application's own top-level window: the main window's owner if it has one.
  HWND owner = owner_ ? ::GetWindow(owner_, GW_OWNER) : nullptr;
  return owner ? owner : owner_;
}

bool ShellMoves::FolderReady(const std::wstring& folder, bool quiet) const {
  const DWORD attrs = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(folder.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return true;
  DWORD reason = folder.empty() ? ERROR_PATH_NOT_FOUND : ::GetLastError();
  if (attrs != INVALID_FILE_ATTRIBUTES) reason = ERROR_DIRECTORY;  // a file of that name
  if (quiet) return false;
  for (int i = 0; i < 2; ++i) {
    if (!folder.empty() && folder == store_[i]) {
      if (storeError_[i] != ERROR_SUCCESS) reason = storeError_[i];
      ShowError(owner_, MissingStoreText(folder, SystemErrorText(reason)));
      return false;
    }
  }
  ShowError(owner_, MissingFolderText(folder, SystemErrorText(reason)));
  return false;
}

namespace {

// The entries of a folder. One listing answers every "is this name taken?"
// of a command, where asking the file system for each absent name costs a
// scan of the folder under Wine.
std::vector<FolderEntry> EntriesIn(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  ReadFolderEntries(folder, entries, error);
  return entries;
}

// Lower-cased name -> whether it is a folder.
std::unordered_map<std::wstring, bool> TakenIn(const std::wstring& folder) {
  std::unordered_map<std::wstring, bool> taken;
  for (auto& e : EntriesIn(folder)) taken.emplace(FoldedName(std::move(e.name)), e.isFolder);
  return taken;
}

struct SelectedItem {
  std::wstring name;
  ItemMove move;
  bool found;
};

// The items that `rule` moves, in their order.
std::vector<SelectedItem> ItemsToMove(const std::vector<MoveItem>& chosen, const std::wstring& from, ItemRule rule) {
  std::vector<SelectedItem> items;
  for (const MoveItem& item : chosen) {
    if (item.name.empty()) continue;
    const ItemMove move = ApplyItemRule(rule, item.isDirectory, item.name);
    if (move == ItemMove::Skip) continue;
    items.push_back({item.name, move, PathExists(JoinPath(from, item.name))});
  }
  return items;
}

}  // namespace

bool ShellMoves::Ask(const std::wstring& question) const {
  return ShowMessage(owner_, question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool ShellMoves::IsStoreFolder(const std::wstring& folder) const {
  for (const auto& s : store_)
    if (!s.empty() && ::lstrcmpiW(s.c_str(), folder.c_str()) == 0) return true;
  return false;
}

ShellMoves::Outcome ShellMoves::Move(const std::vector<MoveItem>& chosen, const std::wstring& from,
                                                  const std::wstring& to, ItemRule rule, bool quiet) {
  // A shell move into a folder that is not there would rename the item to the
  // folder's name instead: nothing moves unless both ends exist.
  if (!FolderReady(from, quiet) || !FolderReady(to, quiet)) return Outcome::FolderMissing;
  const bool wasBusy = std::exchange(busy_, true);
  std::vector<SelectedItem> items = ItemsToMove(chosen, from, rule);
  // A name the destination cannot take is said before anything moves.
  std::vector<std::wstring> tooLong;
  std::erase_if(items, [&](const SelectedItem& item) {
    const bool folder = item.move == ItemMove::Folder;
    const InsideLengths inside = folder && item.found ? LengthsInside(JoinPath(from, item.name)) : InsideLengths{};
    if (FitsIn(to.size(), item.name, folder, inside)) return false;
    tooLong.push_back(item.name);
    return true;
  });
  if (!tooLong.empty()) ShowError(owner_, TooLongText(tooLong, to, IsStoreFolder(to)));

  const bool sameFolder = ::lstrcmpiW(from.c_str(), to.c_str()) == 0;
  std::unordered_map<std::wstring, bool> taken = TakenIn(to);
  std::vector<PlannedMove> plan;
  std::vector<std::wstring> sources, merges, left, kept;
  for (const SelectedItem& item : items) {
    const bool folder = item.move == ItemMove::Folder;
    const auto existing = taken.find(FoldedName(item.name));
    const ClashStep step = ClashFor(folder, item.found && !sameFolder && existing != taken.end()
                                                ? std::optional<bool>(existing->second)
                                                : std::nullopt);
    // Wine's shell replaces a file without a word and leaves a folder where
    // it was: both are asked here, whatever the shell would do.
    ClashOutcome outcome = Resolve(step);
    if (step == ClashStep::AskReplace) outcome = Resolve(step, Ask(ReplaceQuestion(item.name, to)));
    if (step == ClashStep::AskMerge) outcome = Resolve(step, Ask(MergeQuestion(item.name, from, to)));
    if (outcome == ClashOutcome::Move || outcome == ClashOutcome::Replace) {
      // Once the user agreed, a shell that asks too does not ask again.
      plan.push_back({item.move, outcome == ClashOutcome::Replace, item.found});
      sources.push_back(JoinPath(from, item.name));
    } else if (outcome == ClashOutcome::Merge) {
      merges.push_back(item.name);
    } else if (outcome == ClashOutcome::Leave) {
      left.push_back(item.name);  // a file and a folder of one name
    } else if (outcome == ClashOutcome::Declined) {
      kept.push_back(item.name);  // the user's "Non": no failure
    }
    taken.emplace(FoldedName(item.name), folder);
  }
  // Plain shortcut moves go to the shell together, in their order: one
  // request for a thousand shortcuts instead of a thousand.
  std::vector<std::size_t> claimed;
  for (const MoveBatch& b : MoveBatches(plan)) RunBatch(plan, sources, b, to, claimed);
  if (!sameFolder) CheckClaimedMoves(plan, sources, claimed, from, left);
  // The rights follow the place: what came into the store takes the store's,
  // what left it (or moved between the shell folders) its destination's.
  const bool intoStore = IsStoreFolder(to);
  rightsRefusal_ = ERROR_SUCCESS;
  if (!sameFolder)
    for (std::size_t i : claimed) {
      const std::wstring name(EntryName(sources[i]));
      if (std::find(left.begin(), left.end(), name) == left.end()) FollowRights(JoinPath(to, name), intoStore);
    }
  const std::size_t keptBeforeMerges = kept.size();
  for (const auto& name : merges) MergeInto(JoinPath(from, name), JoinPath(to, name), name, intoStore, left, kept);
  bool failed = false;
  const std::wstring report = MoveReportText(left, kept, kept.size() > keptBeforeMerges, to, &failed);
  if (!report.empty()) ShowMessage(owner_, report, MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
  // Moved all the same, but other users may still read it: said once a run.
  if (rightsRefusal_ != ERROR_SUCCESS) rightsNotice_.Refused(owner_, rightsRefused_, rightsRefusal_);
  RecordMove(from, to, items.size() + tooLong.size(), tooLong, left, kept.size());
  busy_ = wasBusy;
  return Outcome::Done;
}

void ShellMoves::RecordMove(const std::wstring& from, const std::wstring& to, std::size_t total,
                            std::vector<std::wstring> failures, const std::vector<std::wstring>& left,
                            std::size_t kept) const {
  if (!trail_ || total == 0) return;
  // Why each stayed, never its name: the log is every user's to read.
  std::vector<std::wstring> reasons(failures.size(), L"nom trop long pour la destination");
  reasons.insert(reasons.end(), left.size(), L"non d\u00E9plac\u00E9");
  failures = std::move(reasons);
  // What the user kept back ("Non") is neither done nor failed.
  const std::size_t notDone = std::min(total, failures.size() + kept);
  const EventId plain = IsStoreFolder(to)     ? EventId::ItemsParked
                        : IsStoreFolder(from) ? EventId::ItemsRestored
                                              : EventId::ShortcutsMoved;
  trail_->Write(WithFailures(plain, failures.size()), ItemCountStrings(from, to, total - notDone, failures, total));
}

void ShellMoves::CheckClaimedMoves(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                                     const std::vector<std::size_t>& claimed, const std::wstring& from,
                                     std::vector<std::wstring>& notMoved) const {
  // A shell that reports its failures has said so already; one that answers
  // success for a missing source or a folder it left in place (Wine's) would
  // otherwise fail without a word.
  if (claimed.empty()) return;
  const std::unordered_map<std::wstring, bool> left = TakenIn(from);
  for (std::size_t i : claimed) {
    const std::wstring name(EntryName(sources[i]));
    if (!plan[i].sourceFound || left.count(FoldedName(name))) notMoved.push_back(name);
  }
}

void ShellMoves::FollowRights(const std::wstring& path, bool intoStore) {
  const DWORD error = FollowPlace(path, intoStore);
  if (error != ERROR_SUCCESS && intoStore && rightsRefusal_ == ERROR_SUCCESS) {
    rightsRefusal_ = error;
    rightsRefused_ = path;
  }
}

void ShellMoves::MergeInto(const std::wstring& source, const std::wstring& target, const std::wstring& shownAs,
                           bool intoStore, std::vector<std::wstring>& left, std::vector<std::wstring>& kept) {
  std::vector<std::wstring> namedInside, keptHere;
  for (const MergeItem& item : PlanMerge(EntriesIn(source), EntriesIn(target), &FoldedName)) {
    const std::wstring path = JoinPath(source, item.name);
    ClashOutcome outcome = Resolve(item.step);
    if (item.step == ClashStep::AskReplace) outcome = Resolve(item.step, Ask(ReplaceQuestion(item.name, target)));
    if (item.step == ClashStep::AskMerge) outcome = Resolve(item.step, Ask(MergeQuestion(item.name, source, target)));
    if (outcome == ClashOutcome::Merge) {
      const std::size_t before = left.size(), keptBefore = kept.size();
      MergeInto(path, JoinPath(target, item.name), JoinPath(shownAs, item.name), intoStore, left, kept);
      if (left.size() > before || kept.size() > keptBefore) namedInside.push_back(item.name);
    } else if (outcome == ClashOutcome::Declined) {
      kept.push_back(JoinPath(shownAs, item.name));
      keptHere.push_back(FoldedName(item.name));
    } else if (outcome == ClashOutcome::Move || outcome == ClashOutcome::Replace) {
      // Each item merged in takes the rights of its new place, as a whole
      // move does.
      if (MoveOne(item.isFolder ? ItemMove::Folder : ItemMove::File, path, target,
                  outcome == ClashOutcome::Replace ? FOF_NOCONFIRMATION : 0) &&
          !PathExists(path))
        FollowRights(JoinPath(target, item.name), intoStore);
    }
  }
  // What the folder still holds is named, whatever kept it (a refusal, or a
  // shell that said it moved what it left), except what the user kept back.
  std::vector<FolderEntry> remaining = EntriesIn(source);
  std::erase_if(remaining, [&](const FolderEntry& e) {
    return std::find(keptHere.begin(), keptHere.end(), FoldedName(e.name)) != keptHere.end();
  });
  if (remaining.empty() && !keptHere.empty()) return;  // it holds what the user kept
  if (remaining.empty()) {
    // The read-only mark of a customised folder must not keep it.
    ::SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::RemoveDirectoryW(source.c_str())) left.push_back(shownAs);
    return;
  }
  const std::vector<std::wstring> named = MergeLeftovers(shownAs, remaining, namedInside, &FoldedName);
  left.insert(left.end(), named.begin(), named.end());
}

bool ShellMoves::MoveOne(ItemMove move, const std::wstring& source, const std::wstring& to,
                           FILEOP_FLAGS extra) {
  bool aborted = false;
  const bool done = move == ItemMove::Folder
                        ? MoveFolder(source, to, extra, &aborted)
                        : ShellFileOp(OperationOwner(), source, to, FO_MOVE, extra, &aborted) == 0;
  return done && !aborted;
}

void ShellMoves::RunBatch(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                            MoveBatch batch, const std::wstring& to, std::vector<std::size_t>& claimed) {
  const PlannedMove& first = plan[batch.first];
  const FILEOP_FLAGS extra = static_cast<FILEOP_FLAGS>(first.confirmed ? FOF_NOCONFIRMATION : 0);
  if (batch.last - batch.first == 1) {
    if (MoveOne(first.move, sources[batch.first], to, extra)) claimed.push_back(batch.first);
    return;
  }
  const std::vector<std::wstring> list(sources.begin() + static_cast<std::ptrdiff_t>(batch.first),
                                       sources.begin() + static_cast<std::ptrdiff_t>(batch.last));
  bool aborted = false;
  if (ShellMoveList(OperationOwner(), list, to, extra, &aborted) == 0) {
    if (!aborted)
      for (std::size_t i = batch.first; i < batch.last; ++i) claimed.push_back(i);
    return;
  }
  if (aborted) return;
  // A request that failed part-way: the items still in place go one by one,
  // so one refused item does not hold back the others.
  for (std::size_t i = batch.first; i < batch.last; ++i)
    if (PathExists(sources[i]) && MoveOne(first.move, sources[i], to, extra)) claimed.push_back(i);
}

}  // namespace ferlane
