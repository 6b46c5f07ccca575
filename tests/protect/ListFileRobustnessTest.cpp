// Lists as a real workstation produces them: edited in Notepad, cut by a
// crash, read-only; and listed names Win32 would otherwise change.
#include <gtest/gtest.h>

#include "protect/ListFileIo.h"
#include "protect/ProtectTestSupport.h"
#include "protect/ProtectedList.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

using namespace std::string_literals;
using test::ReadBytes;
using test::FilesIn;
using test::WriteBytes;

class ListFileRobustness : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(list.Create(parent.hwnd(), 1001, RECT{0, 0, 400, 300})); }
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.ItemCount(); ++i) out.push_back(list.Caption(i));
    return out;
  }
  test::RecordingMessages messages;
  test::ScratchDir dir;
  test::HiddenParent parent;
  ProtectedList list;
  std::wstring name = dir / L"dupont";
};

TEST_F(ListFileRobustness, NotepadEncodingsKeepEveryItemAcrossALoadAndASave) {
  const std::wstring cafe = dir.File(L"caf\u00E9.txt"), cache = dir.Folder(L"Cach\u00E9");
  const std::wstring text = cafe + L"\r\nFichier\r\n" + cache + L"\r\nDossier\r\n";
  std::string utf16 = "\xFF\xFE", utf8;
  for (wchar_t c : text) utf16 += static_cast<char>(c & 0xFF), utf16 += static_cast<char>(c >> 8);
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(n - 1));
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
  for (const auto& bytes : {utf16, utf8}) {
    ProtectedList fresh;
    ASSERT_TRUE(fresh.Create(parent.hwnd(), 1002));
    ASSERT_TRUE(WriteBytes(name, bytes));
    ASSERT_EQ(fresh.LoadListFile(name), 0u);
    EXPECT_FALSE(fresh.LoadedPartly());
    ASSERT_EQ(fresh.ItemCount(), 2);
    EXPECT_EQ(fresh.Caption(0), cafe);
    EXPECT_EQ(fresh.StateText(0), L"Visible");  // the real file, found
    EXPECT_EQ(fresh.Caption(1), cache);
    EXPECT_EQ(fresh.TypeText(1), L"Dossier");
    // Written back in the program's own format (ANSI here), every item kept.
    ASSERT_EQ(fresh.SaveListFile(name), 0u);
    EXPECT_EQ(ReadBytes(name), EncodeListLines({cafe, L"Fichier", cache, L"Dossier"}));
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ListFileRobustness, AFileReadInPartIsKeptBesideBeforeItIsReplaced) {
  const std::string original = "C:\\a\r\nFichier\r\nC:\\b\0\r\nFichier\r\nC:\\c\r\nDossier\r\n"s;
  ASSERT_TRUE(WriteBytes(name, original));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  EXPECT_TRUE(list.LoadedPartly());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
  EXPECT_NE(ProtectedList::UnplacedText(name, list.LoadUnplaced()).find(name + L".bak"), std::wstring::npos);
  // An older copy is never overwritten.
  ASSERT_TRUE(WriteBytes(name + L".bak", "older"));
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name + L".bak"), "older");
  EXPECT_EQ(ReadBytes(name + L".bak2"), original);
  EXPECT_EQ(ReadBytes(name), "C:\\a\r\nFichier\r\nC:\\b\r\nFichier\r\n");
  // Kept once: the next save just writes.
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(FilesIn(dir).size(), 3u);
}

TEST_F(ListFileRobustness, AnUndecodableFileIsKeptBesideBeforeItIsReplaced) {
  // UTF-16 with a lone surrogate between two whole items: what follows it
  // cannot be read, so the file's bytes must survive the next save.
  std::string original = "\xFF\xFE";
  auto add = [&](const std::wstring& text) {
    for (wchar_t c : text) original += static_cast<char>(c & 0xFF), original += static_cast<char>(c >> 8);
  };
  add(L"C:\\a\r\nFichier\r\n");
  add(std::wstring(1, wchar_t(0xD800)));
  add(L"C:\\c\r\nDossier\r\n");
  ASSERT_TRUE(WriteBytes(name, original));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  EXPECT_TRUE(list.LoadedPartly());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\a"}));
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name + L".bak"), original);
  EXPECT_EQ(ReadBytes(name), "C:\\a\r\nFichier\r\n");
}

TEST_F(ListFileRobustness, AReadOnlyListFileIsNotReplaced) {
  ASSERT_TRUE(WriteBytes(name, "C:\\a\r\nFichier\r\n"));
  ASSERT_TRUE(::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.Supprimer1Click();
  EXPECT_EQ(list.SaveListFile(name), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadBytes(name), "C:\\a\r\nFichier\r\n");
  EXPECT_TRUE(::GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FilesIn(dir), std::vector<std::wstring>{L"dupont"});
  ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ListFileRobustness, ASaveStoppedAfterAnyStepLeavesAWholeListAndNoDebris) {
  const std::vector<std::wstring> oldLines{L"C:\\old", L"Fichier"}, newLines{L"C:\\new", L"Dossier"};
  for (ListSaveStep step : {ListSaveStep::Write, ListSaveStep::Flush, ListSaveStep::Rename}) {
    ASSERT_EQ(WriteListFile(name, oldLines), 0u);
    const DWORD rc = WriteListFile(name, newLines, [&](ListSaveStep at) { return at == step; });
    EXPECT_NE(rc, 0u);
    // The next start: stale temporary files go, and the list reads whole.
    ProtectedList next;
    ASSERT_TRUE(next.Create(parent.hwnd(), 1002));
    ASSERT_EQ(next.LoadListFile(name), 0u);
    EXPECT_FALSE(next.LoadedPartly());
    ASSERT_EQ(next.ItemCount(), 1);
    EXPECT_EQ(next.Caption(0), step == ListSaveStep::Rename ? L"C:\\new" : L"C:\\old") << static_cast<int>(step);
    EXPECT_EQ(FilesIn(dir), std::vector<std::wstring>{L"dupont"}) << static_cast<int>(step);
  }
  // Only the save's own names are removed.
  dir.File(L"fer.txt");
  dir.File(L"ferme.tmp");
  ProtectedList again;
  ASSERT_TRUE(again.Create(parent.hwnd(), 1003));
  ASSERT_EQ(again.LoadListFile(name), 0u);
  EXPECT_EQ(FilesIn(dir).size(), 3u);
}

TEST_F(ListFileRobustness, TheExactItemIsChangedNotItsTrimmedTwin) {
  // "twin." and "twin" both exist; Win32 would take the first for the second.
  const std::wstring twin = dir.File(L"twin"), dotted = dir / L"twin.";
  HANDLE h = ::CreateFileW((L"\\\\?\\" + dotted).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  ASSERT_TRUE(WriteBytes(name, EncodeListLines({dotted, L"Fichier"})));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.SpeedButton2Click();
  EXPECT_EQ(list.StateText(0), L"Cach\u00E9");
  EXPECT_TRUE(::GetFileAttributesW((L"\\\\?\\" + dotted).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(::GetFileAttributesW(twin.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  ::DeleteFileW((L"\\\\?\\" + dotted).c_str());
}

TEST(AttributeFailureMessage, NamesEachPathWithItsReasonAndCutsALongList) {
  AttributeFailures failures{{L"C:\\a", ERROR_WRITE_PROTECT}, {L"C:\\b", ERROR_ACCESS_DENIED}};
  std::wstring text = AttributeFailureText(failures);
  EXPECT_EQ(text.find(L"C:\\a : "), text.find(L"\r\n") + 2);
  EXPECT_NE(text.find(L"C:\\b : "), std::wstring::npos);
  failures.assign(40, {L"C:\\x", ERROR_WRITE_PROTECT});
  EXPECT_NE(AttributeFailureText(failures).find(L"(et 25 autres)"), std::wstring::npos);
}

}  // namespace
}  // namespace ferlane
