#include "protect/logic/HideShow.h"

#include <unordered_map>

namespace ferlane {

const wchar_t* TypeWord(ItemType type) {
  switch (type) {
    case ItemType::Folder: return L"Dossier";
    case ItemType::Unknown: return L"";
    case ItemType::File: break;
  }
  return L"Fichier";
}

const wchar_t* StateWord(ItemState state) {
  switch (state) {
    case ItemState::Hidden: return L"Cach\u00E9";
    case ItemState::Missing: return L"Introuvable";
    case ItemState::Visible: break;
  }
  return L"Visible";
}

bool ReadTypeWord(std::wstring_view line, ItemType& type) {
  const std::size_t first = line.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return false;
  line = line.substr(first, line.find_last_not_of(L" \t") + 1 - first);
  // The words are ASCII: their case folds by hand, the same on every system.
  auto is = [line](std::wstring_view word) {
    if (line.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      const wchar_t c = line[i] >= L'a' && line[i] <= L'z' ? static_cast<wchar_t>(line[i] - 32) : line[i];
      if (c != word[i]) return false;
    }
    return true;
  };
  if (is(L"DOSSIER") || is(L"FOLDER")) type = ItemType::Folder;
  else if (is(L"FICHIER") || is(L"FILE")) type = ItemType::File;
  else return false;
  return true;
}

ItemType TypeFromAttributes(std::uint32_t attributes) {
  if (attributes == kInvalidFileAttributes) return ItemType::Unknown;
  return (attributes & kDirectoryAttribute) ? ItemType::Folder : ItemType::File;
}

ItemState StateFromAttributes(std::uint32_t attributes) {
  if (attributes == kInvalidFileAttributes) return ItemState::Missing;
  return (attributes & kHiddenAttribute) ? ItemState::Hidden : ItemState::Visible;
}

namespace {

ItemState Write(IFileAttributes& fs, const std::wstring& path, std::uint32_t word, AttributeFailures& failures) {
  if (std::uint32_t error = fs.Set(path, word)) failures.push_back({path, error});
  return StateFromAttributes(fs.Get(path));
}

}  // namespace

ItemState ShowByClearing(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures) {
  // A word that cannot be read must not be written back, or a refused path
  // would get every bit set.
  std::uint32_t attributes = fs.Get(path);
  if (attributes == kInvalidFileAttributes) return ItemState::Missing;
  return Write(fs, path, attributes & ~kHiddenAttribute, failures);
}

ItemState HideByReplacing(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures) {
  // Nothing to hide at a path that is not there.
  if (fs.Get(path) == kInvalidFileAttributes) return ItemState::Missing;
  return Write(fs, path, kHiddenAttribute, failures);
}

ItemState ShowIfHidden(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures) {
  ItemState state = StateFromAttributes(fs.Get(path));
  return state == ItemState::Hidden ? ShowByClearing(fs, path, failures) : state;
}

ItemState Toggle(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures) {
  switch (StateFromAttributes(fs.Get(path))) {
    case ItemState::Hidden: return ShowByClearing(fs, path, failures);
    case ItemState::Visible: return HideByReplacing(fs, path, failures);
    case ItemState::Missing: break;
  }
  return ItemState::Missing;
}

bool Concerns(ListCommand command, const ProtectedItem& item) {
  return command != ListCommand::ToggleSelected || item.selected;
}

ItemState StepItem(ListCommand command, IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures) {
  switch (command) {
    case ListCommand::ShowAll: return ShowIfHidden(fs, path, failures);
    case ListCommand::HideAll: return HideByReplacing(fs, path, failures);
    case ListCommand::Refresh: return StateFromAttributes(fs.Get(path));
    case ListCommand::ToggleSelected: break;
  }
  return Toggle(fs, path, failures);
}

namespace {

// A later step on the same file may have changed what an earlier row read
// back: the rows of a path done more than once are read again.
void RereadRepeatedPaths(IFileAttributes& fs, std::vector<ProtectedItem>& items, PathFold fold, std::size_t done) {
  std::unordered_map<std::wstring, int> times;
  times.reserve(done);
  auto key = [fold](const std::wstring& path) { return fold ? fold(path) : path; };
  for (const auto& item : items)
    if (item.done) ++times[key(item.path)];
  if (times.size() == done) return;  // every path once
  for (auto& item : items)
    if (item.done && times[key(item.path)] > 1) item.state = StateFromAttributes(fs.Get(item.path));
}

}  // namespace

ListCommandResult RunListCommand(ListCommand command, IFileAttributes& fs, std::vector<ProtectedItem>& items,
                                 IItemProgress* progress, PathFold fold) {
  ListCommandResult result;
  for (const auto& item : items) result.total += Concerns(command, item) ? 1 : 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    ProtectedItem& item = items[i];
    if (!Concerns(command, item)) continue;
    item.state = StepItem(command, fs, item.path, result.failures);
    item.done = true;
    ++result.done;
    if (progress && !progress->ItemDone(i, item.state, result.done, result.total)) break;
  }
  RereadRepeatedPaths(fs, items, fold, result.done);
  return result;
}

}  // namespace ferlane
