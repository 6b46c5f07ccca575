#include "protect/logic/HideShow.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>

#include "protect/logic/DropRules.h"

namespace ferlane {
namespace {

constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10, kArchive = 0x20;

constexpr std::uint32_t kNotFound = 2, kAccessDenied = 5, kWriteProtect = 19;

// Paths absent from the map cannot be read and refuse writes; paths in
// `refused` refuse them with their code (a read-only volume); every write
// is recorded.
class FakeFiles : public IFileAttributes {
 public:
  std::map<std::wstring, std::uint32_t> attributes;
  std::map<std::wstring, std::uint32_t> refused;
  std::vector<std::pair<std::wstring, std::uint32_t>> writes;
  int reads = 0;

  std::uint32_t Get(const std::wstring& path) override {
    ++reads;
    auto it = attributes.find(path);
    return it == attributes.end() ? kInvalidFileAttributes : it->second;
  }
  std::uint32_t Set(const std::wstring& path, std::uint32_t value) override {
    writes.emplace_back(path, value);
    if (auto r = refused.find(path); r != refused.end()) return r->second;
    auto it = attributes.find(path);
    if (it == attributes.end()) return kNotFound;
    it->second = value | (it->second & kDirectory);
    return 0;
  }
};

std::vector<ProtectedItem> Items(std::initializer_list<std::wstring> paths) {
  std::vector<ProtectedItem> items;
  for (const auto& p : paths) items.push_back({p, ItemType::File, ItemState::Visible, false});
  return items;
}

TEST(ItemWords, TypeAndStateWordsAreTheFourFixedOnes) {
  EXPECT_STREQ(TypeWord(ItemType::Folder), L"Dossier");
  EXPECT_STREQ(TypeWord(ItemType::File), L"Fichier");
  EXPECT_STREQ(StateWord(ItemState::Hidden), L"Cach\u00E9");
  EXPECT_STREQ(StateWord(ItemState::Visible), L"Visible");
  EXPECT_EQ(StateFromAttributes(kHidden | kSystem), ItemState::Hidden);
  EXPECT_EQ(StateFromAttributes(kArchive | kReadOnly), ItemState::Visible);
  // A path that cannot be read is shown as such, not as hidden.
  EXPECT_EQ(StateFromAttributes(kInvalidFileAttributes), ItemState::Missing);
  EXPECT_STREQ(StateWord(ItemState::Missing), L"Introuvable");
}

TEST(HideShowRules, ShowAllClearsOnlyTheHiddenBit) {
  FakeFiles fs;
  fs.attributes = {{L"ro-hidden", kReadOnly | kHidden | kArchive},
                   {L"sys-folder", kDirectory | kHidden | kSystem},
                   {L"plain", kArchive}};
  auto items = Items({L"ro-hidden", L"sys-folder", L"plain"});
  items[2].state = ItemState::Hidden;  // a stale word is corrected too
  RunListCommand(ListCommand::ShowAll, fs, items);
  EXPECT_EQ(fs.attributes[L"ro-hidden"], kReadOnly | kArchive);
  EXPECT_EQ(fs.attributes[L"sys-folder"], kDirectory | kSystem);
  EXPECT_EQ(fs.attributes[L"plain"], kArchive);
  // Nothing is written to a path that was not hidden.
  EXPECT_EQ(fs.writes.size(), 2u);
  for (const auto& item : items) EXPECT_EQ(item.state, ItemState::Visible);
}

TEST(HideShowRules, HideAllReplacesTheWholeWordWithHidden) {
  FakeFiles fs;
  fs.attributes = {{L"ro", kReadOnly | kArchive}, {L"sys-folder", kDirectory | kHidden | kSystem}};
  auto items = Items({L"ro", L"sys-folder", L"missing"});
  EXPECT_TRUE(RunListCommand(ListCommand::HideAll, fs, items).failures.empty());
  EXPECT_EQ(fs.attributes[L"ro"], kHidden);
  EXPECT_EQ(fs.attributes[L"sys-folder"], kDirectory | kHidden);
  // Nothing is written to a path that is not there, and it says so.
  ASSERT_EQ(fs.writes.size(), 2u);
  for (const auto& w : fs.writes) EXPECT_EQ(w.second, kHidden);
  EXPECT_EQ(items[0].state, ItemState::Hidden);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Missing);
}

TEST(HideShowRules, RefusedWritesAreReportedAndTheWordTellsWhatHappened) {
  // A read-only volume: every write refused, the loop still covers all.
  FakeFiles fs;
  fs.attributes = {{L"a", kArchive}, {L"b", kHidden}, {L"ok", kArchive}};
  fs.refused = {{L"a", kWriteProtect}, {L"b", kAccessDenied}};
  auto items = Items({L"a", L"b", L"ok"});
  auto failures = RunListCommand(ListCommand::HideAll, fs, items).failures;
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].path, L"a");
  EXPECT_EQ(failures[0].error, kWriteProtect);
  EXPECT_EQ(failures[1].path, L"b");
  EXPECT_EQ(items[0].state, ItemState::Visible);  // it stayed visible
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Hidden);

  failures = RunListCommand(ListCommand::ShowAll, fs, items).failures;
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, L"b");
  EXPECT_EQ(failures[0].error, kAccessDenied);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Visible);

  for (auto& item : items) item.selected = true;
  failures = RunListCommand(ListCommand::ToggleSelected, fs, items).failures;
  EXPECT_EQ(failures.size(), 2u);
  EXPECT_EQ(items[0].state, ItemState::Visible);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Hidden);
}

TEST(HideShowRules, UnreadablePathIsNeverWrittenByShowing) {
  FakeFiles fs;
  auto items = Items({L"missing"});
  EXPECT_TRUE(RunListCommand(ListCommand::ShowAll, fs, items).failures.empty());
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_EQ(items[0].state, ItemState::Missing);
  // The toggle writes nothing either.
  items[0].selected = true;
  EXPECT_TRUE(RunListCommand(ListCommand::ToggleSelected, fs, items).failures.empty());
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_EQ(items[0].state, ItemState::Missing);
}

TEST(HideShowRules, PathThatVanishesBetweenTheTwoReadsIsNotWritten) {
  // The first read says hidden; by the second the path is gone.
  class Vanishing : public FakeFiles {
    std::uint32_t Get(const std::wstring& path) override {
      return calls++ == 0 ? kHidden | kReadOnly : FakeFiles::Get(path);
    }

   public:
    int calls = 0;
  } fs;
  AttributeFailures failures;
  EXPECT_EQ(ShowIfHidden(fs, L"gone", failures), ItemState::Missing);
  EXPECT_EQ(fs.calls, 2);
  EXPECT_TRUE(failures.empty());
  EXPECT_TRUE(fs.writes.empty());
}

TEST(HideShowRules, ShowingRereadsAndNeverSetsTheHiddenBit) {
  // Between the two reads someone else cleared the hidden bit: clearing must
  // not flip it back on.
  class Racing : public FakeFiles {
    std::uint32_t Get(const std::wstring&) override { return reads++ == 0 ? kHidden : kReadOnly; }
  } fs;
  AttributeFailures failures;
  EXPECT_EQ(ShowIfHidden(fs, L"p", failures), ItemState::Visible);
  ASSERT_EQ(fs.writes.size(), 1u);
  EXPECT_EQ(fs.writes[0].second, kReadOnly);
}

TEST(HideShowRules, ToggleSwapsSelectedItemsAndLeavesTheOthers) {
  FakeFiles fs;
  fs.attributes = {{L"hidden", kHidden | kSystem}, {L"visible", kReadOnly}, {L"untouched", kHidden}};
  auto items = Items({L"hidden", L"visible", L"untouched"});
  items[0].selected = items[1].selected = true;
  items[2].state = ItemState::Visible;  // stale on purpose: not selected, so not refreshed
  RunListCommand(ListCommand::ToggleSelected, fs, items);
  EXPECT_EQ(fs.attributes[L"hidden"], kSystem);
  EXPECT_EQ(fs.attributes[L"visible"], kHidden);
  EXPECT_EQ(fs.attributes[L"untouched"], kHidden);
  EXPECT_EQ(items[0].state, ItemState::Visible);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Visible);
}

TEST(HideShowRules, ToggleOfAPathListedTwiceShowsThenHidesItAndBothRowsSayHidden) {
  FakeFiles fs;
  fs.attributes = {{L"p", kHidden}};
  auto items = Items({L"p", L"p"});
  items[0].selected = items[1].selected = true;
  RunListCommand(ListCommand::ToggleSelected, fs, items);
  EXPECT_EQ(fs.attributes[L"p"], kHidden);
  // Both rows tell what the file is once the command is done.
  EXPECT_EQ(items[0].state, ItemState::Hidden);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
}

TEST(HideShowRules, OnlyAPathListedAgainIsReadOnceMoreAndLetterCaseMakesNoOtherPath) {
  // A file system that ignores letter case, as Windows does.
  class AnyCase : public FakeFiles {
    static std::wstring Up(std::wstring p) {
      for (auto& c : p) c = static_cast<wchar_t>(std::towupper(c));
      return p;
    }

   public:
    std::uint32_t Get(const std::wstring& path) override { return FakeFiles::Get(Up(path)); }
    std::uint32_t Set(const std::wstring& path, std::uint32_t v) override { return FakeFiles::Set(Up(path), v); }
  } fs;
  fs.attributes = {{L"P", kHidden}, {L"Q", kArchive}};
  auto items = Items({L"p", L"q", L"P"});
  for (auto& item : items) item.selected = true;
  PathFold upper = [](std::wstring_view p) {
    std::wstring s(p);
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
  };
  RunListCommand(ListCommand::ToggleSelected, fs, items, nullptr, upper);
  // p shown, then P hidden again: both rows say hidden; q read back once.
  EXPECT_EQ(fs.attributes[L"P"], kHidden);
  EXPECT_EQ(items[0].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Hidden);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  // Reads: three per item (the toggle's look, the rule's own read, the read
  // back), and the two rows of P once more at the end; q not again.
  EXPECT_EQ(fs.reads, 3 * 3 + 2);
}

TEST(HideShowRules, EmptyListTouchesNothing) {
  FakeFiles fs;
  std::vector<ProtectedItem> none;
  RunListCommand(ListCommand::ShowAll, fs, none);
  RunListCommand(ListCommand::HideAll, fs, none);
  RunListCommand(ListCommand::ToggleSelected, fs, none);
  EXPECT_EQ(fs.reads, 0);
  EXPECT_TRUE(fs.writes.empty());
}

// Stops the command once `stopAfter` items are done, and records what it was told.
class StopAfter : public IItemProgress {
 public:
  explicit StopAfter(std::size_t n) : stopAfter(n) {}
  std::size_t stopAfter;
  std::vector<std::pair<std::size_t, ItemState>> told;
  bool ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) override {
    told.emplace_back(item, state);
    lastTotal = total;
    return done < stopAfter;
  }
  std::size_t lastTotal = 0;
};

TEST(HideShowRules, StoppedCommandLeavesEveryItemDoneOrUntouched) {
  FakeFiles fs;
  fs.attributes = {{L"a", kArchive}, {L"b", kReadOnly}, {L"c", kArchive}, {L"d", kSystem}};
  auto items = Items({L"a", L"b", L"c", L"d"});
  StopAfter stop(2);
  const ListCommandResult result = RunListCommand(ListCommand::HideAll, fs, items, &stop);
  EXPECT_TRUE(result.Stopped());
  EXPECT_EQ(result.done, 2u);
  EXPECT_EQ(result.total, 4u);
  // The two done are hidden and say so; the two others were neither read nor written.
  EXPECT_EQ(fs.attributes[L"a"], kHidden);
  EXPECT_EQ(fs.attributes[L"b"], kHidden);
  EXPECT_EQ(fs.attributes[L"c"], kArchive);
  EXPECT_EQ(fs.attributes[L"d"], kSystem);
  EXPECT_TRUE(items[0].done && items[1].done);
  EXPECT_FALSE(items[2].done || items[3].done);
  EXPECT_EQ(items[0].state, ItemState::Hidden);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Visible);
  EXPECT_EQ(fs.writes.size(), 2u);
  // Progress heard of each item done, by its place in the list, with the state read back.
  ASSERT_EQ(stop.told.size(), 2u);
  EXPECT_EQ(stop.told[1], (std::pair<std::size_t, ItemState>{1, ItemState::Hidden}));
  EXPECT_EQ(stop.lastTotal, 4u);
}

TEST(HideShowRules, ToggleCountsAndReportsOnlyTheSelectedItems) {
  FakeFiles fs;
  fs.attributes = {{L"a", kHidden}, {L"b", kArchive}, {L"c", kArchive}};
  auto items = Items({L"a", L"b", L"c"});
  items[0].selected = items[2].selected = true;
  StopAfter stop(99);
  const ListCommandResult result = RunListCommand(ListCommand::ToggleSelected, fs, items, &stop);
  EXPECT_FALSE(result.Stopped());
  EXPECT_EQ(result.total, 2u);
  ASSERT_EQ(stop.told.size(), 2u);
  EXPECT_EQ(stop.told[0], (std::pair<std::size_t, ItemState>{0, ItemState::Visible}));
  EXPECT_EQ(stop.told[1], (std::pair<std::size_t, ItemState>{2, ItemState::Hidden}));
  EXPECT_FALSE(items[1].done);
  EXPECT_EQ(fs.attributes[L"b"], kArchive);
}

TEST(HideShowRules, OneItemStepIsTheCommandsOwnRule) {
  // The step a run without the list view uses: same rule, same read-back.
  FakeFiles fs;
  fs.attributes = {{L"ro", kReadOnly | kArchive}, {L"hs", kHidden | kSystem}};
  AttributeFailures failures;
  EXPECT_EQ(StepItem(ListCommand::HideAll, fs, L"ro", failures), ItemState::Hidden);
  EXPECT_EQ(fs.attributes[L"ro"], kHidden);
  EXPECT_EQ(StepItem(ListCommand::ShowAll, fs, L"hs", failures), ItemState::Visible);
  EXPECT_EQ(fs.attributes[L"hs"], kSystem);
  EXPECT_EQ(StepItem(ListCommand::ShowAll, fs, L"gone", failures), ItemState::Missing);
  // A refused write: the state read back says the file did not change.
  fs.refused[L"hs"] = kAccessDenied;
  EXPECT_EQ(StepItem(ListCommand::HideAll, fs, L"hs", failures), ItemState::Visible);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, L"hs");
}

TEST(DropRulesTest, FolderOnlyForTheExactShellTypeName) {
  EXPECT_EQ(TypeFromTypeText(L"Dossier de fichiers"), ItemType::Folder);
  EXPECT_EQ(TypeFromTypeText(L"dossier de fichiers"), ItemType::File);
  EXPECT_EQ(TypeFromTypeText(L"File Folder"), ItemType::File);
  EXPECT_EQ(TypeFromTypeText(L"Raccourci"), ItemType::File);
  EXPECT_EQ(TypeFromTypeText(L""), ItemType::File);
  // A row's kind tag wins over its type text, in any language.
  EXPECT_EQ(TypeOfRow(L"dir", L"Folder"), ItemType::Folder);
  EXPECT_EQ(TypeOfRow(L"file", L"Dossier de fichiers"), ItemType::File);
  EXPECT_EQ(TypeOfRow(L"", L"Dossier de fichiers"), ItemType::Folder);
}

TEST(DropRulesTest, RowPathWinsAndTheJoinUsesOneSeparator) {
  EXPECT_EQ(DroppedPath(L"C:\\boot.ini", L"C:\\", L"boot.ini"), L"C:\\boot.ini");
  // In the drive list the folder is "Drives": the row's own path is the drive.
  EXPECT_EQ(DroppedPath(L"D:\\", L"Drives", L" (D:)  Disque local "), L"D:\\");
  EXPECT_EQ(DroppedPath(L"", L"C:\\", L"boot.ini"), L"C:\\boot.ini");
  EXPECT_EQ(DroppedPath(L"", L"C:\\Comptes", L"budget.xls"), L"C:\\Comptes\\budget.xls");
  EXPECT_EQ(DroppedPath(L"", L"C:\\Comptes\\", L"budget.xls"), L"C:\\Comptes\\budget.xls");
}

TEST(HideShowRules, RefreshReadsEveryStateAfreshAndWritesNothing) {
  FakeFiles fs;
  fs.attributes = {{L"C:\\a", kHiddenAttribute}, {L"C:\\b", 0x20}};
  auto items = Items({L"C:\\a", L"C:\\b", L"C:\\gone"});
  for (auto& item : items) item.state = ItemState::Visible;  // what the rows said before
  const ListCommandResult result = RunListCommand(ListCommand::Refresh, fs, items);
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(result.done, 3u);
  EXPECT_EQ(result.total, 3u);
  EXPECT_EQ(items[0].state, ItemState::Hidden);
  EXPECT_EQ(items[1].state, ItemState::Visible);
  EXPECT_EQ(items[2].state, ItemState::Missing);
}

}  // namespace
}  // namespace ferlane
