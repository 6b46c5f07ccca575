#include "protect/logic/HideShow.h"

#include <gtest/gtest.h>

#include <map>

#include "protect/logic/DropRules.h"

namespace ferlane {
namespace {

constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10, kArchive = 0x20;

// Paths absent from the map cannot be read; writes to them fail silently,
// as the real call does; every write is recorded.
class FakeFiles : public IFileAttributes {
 public:
  std::map<std::wstring, std::uint32_t> attributes;
  std::vector<std::pair<std::wstring, std::uint32_t>> writes;
  int reads = 0;

  std::uint32_t Get(const std::wstring& path) override {
    ++reads;
    auto it = attributes.find(path);
    return it == attributes.end() ? kInvalidFileAttributes : it->second;
  }
  void Set(const std::wstring& path, std::uint32_t value) override {
    writes.emplace_back(path, value);
    auto it = attributes.find(path);
    if (it != attributes.end()) it->second = value | (it->second & kDirectory);
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
  EXPECT_EQ(StateFromAttributes(kInvalidFileAttributes), ItemState::Hidden);
}

TEST(HideShowRules, ShowAllClearsOnlyTheHiddenBit) {
  FakeFiles fs;
  fs.attributes = {{L"ro-hidden", kReadOnly | kHidden | kArchive},
                   {L"sys-folder", kDirectory | kHidden | kSystem},
                   {L"plain", kArchive}};
  auto items = Items({L"ro-hidden", L"sys-folder", L"plain"});
  items[2].state = ItemState::Hidden;  // a stale word is corrected too
  ShowAll(fs, items);
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
  HideAll(fs, items);
  EXPECT_EQ(fs.attributes[L"ro"], kHidden);
  EXPECT_EQ(fs.attributes[L"sys-folder"], kDirectory | kHidden);
  ASSERT_EQ(fs.writes.size(), 3u);
  for (const auto& w : fs.writes) EXPECT_EQ(w.second, kHidden);
  // The missing path failed silently and still reads "Caché".
  for (const auto& item : items) EXPECT_EQ(item.state, ItemState::Hidden);
}

TEST(HideShowRules, UnreadablePathIsNeverWrittenByShowing) {
  FakeFiles fs;
  auto items = Items({L"missing"});
  ShowAll(fs, items);
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_EQ(items[0].state, ItemState::Visible);
  // The toggle takes its show branch for it and writes nothing either.
  items[0].selected = true;
  ToggleSelected(fs, items);
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_EQ(items[0].state, ItemState::Visible);
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
  EXPECT_EQ(ShowIfHidden(fs, L"gone"), ItemState::Visible);
  EXPECT_EQ(fs.calls, 2);
  EXPECT_TRUE(fs.writes.empty());
}

TEST(HideShowRules, ShowingRereadsAndNeverSetsTheHiddenBit) {
  // Between the two reads someone else cleared the hidden bit: clearing must
  // not flip it back on.
  class Racing : public FakeFiles {
    std::uint32_t Get(const std::wstring&) override { return reads++ == 0 ? kHidden : kReadOnly; }
  } fs;
  ShowIfHidden(fs, L"p");
  ASSERT_EQ(fs.writes.size(), 1u);
  EXPECT_EQ(fs.writes[0].second, kReadOnly);
}

TEST(HideShowRules, ToggleSwapsSelectedItemsAndLeavesTheOthers) {
  FakeFiles fs;
  fs.attributes = {{L"hidden", kHidden | kSystem}, {L"visible", kReadOnly}, {L"untouched", kHidden}};
  auto items = Items({L"hidden", L"visible", L"untouched"});
  items[0].selected = items[1].selected = true;
  items[2].state = ItemState::Visible;  // stale on purpose: not selected, so not refreshed
  ToggleSelected(fs, items);
  EXPECT_EQ(fs.attributes[L"hidden"], kSystem);
  EXPECT_EQ(fs.attributes[L"visible"], kHidden);
  EXPECT_EQ(fs.attributes[L"untouched"], kHidden);
  EXPECT_EQ(items[0].state, ItemState::Visible);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
  EXPECT_EQ(items[2].state, ItemState::Visible);
}

TEST(HideShowRules, ToggleOfAPathListedTwiceShowsThenHidesIt) {
  FakeFiles fs;
  fs.attributes = {{L"p", kHidden}};
  auto items = Items({L"p", L"p"});
  items[0].selected = items[1].selected = true;
  ToggleSelected(fs, items);
  EXPECT_EQ(fs.attributes[L"p"], kHidden);
  EXPECT_EQ(items[0].state, ItemState::Visible);
  EXPECT_EQ(items[1].state, ItemState::Hidden);
}

TEST(HideShowRules, EmptyListTouchesNothing) {
  FakeFiles fs;
  std::vector<ProtectedItem> none;
  ShowAll(fs, none);
  HideAll(fs, none);
  ToggleSelected(fs, none);
  EXPECT_EQ(fs.reads, 0);
  EXPECT_TRUE(fs.writes.empty());
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

}  // namespace
}  // namespace ferlane
