// Lists as a real workstation produces them: edited in Notepad, cut by a
// crash, read-only, written by a script while the window is open; and listed
// names Win32 would otherwise change.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/logic/PathFold.h"
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

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }
// Two more spellings of a path: "/" for "\\", and a "." segment before its name.
std::string Slashed(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}
std::string Dotted(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return path.substr(0, slash) + "\\." + path.substr(slash);
}

// Three items on disk, and the rows as "path|type".
class ListFileMerge : public ListFileRobustness {
 protected:
  static std::vector<std::wstring> Rows(const ProtectedList& l) {
    std::vector<std::wstring> out;
    for (int i = 0; i < l.ItemCount(); ++i) out.push_back(l.Caption(i) + L"|" + l.TypeText(i));
    return out;
  }
  std::wstring a = dir.File(L"alpha.txt"), b = dir.File(L"beta.txt"), d = dir.Folder(L"delta");
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
  // Only whole lines are rows: "C:\\b" may be the start of a longer name.
  const std::string original = "C:\\a\r\nFichier\r\nC:\\b\0ta\r\nFichier\r\nC:\\c\r\nDossier\r\n"s;
  ASSERT_TRUE(WriteBytes(name, original));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  EXPECT_TRUE(list.LoadedPartly());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\a"}));
  EXPECT_NE(ProtectedList::UnplacedText(name, list.LoadUnplaced()).find(name + L".bak"), std::wstring::npos);
  // An older copy is never overwritten.
  ASSERT_TRUE(WriteBytes(name + L".bak", "older"));
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name + L".bak"), "older");
  EXPECT_EQ(ReadBytes(name + L".bak2"), original);
  EXPECT_EQ(ReadBytes(name), "C:\\a\r\nFichier\r\n");
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
  // Untouched, in a form a save would not write: nothing to save, no refusal.
  ASSERT_TRUE(WriteBytes(name, "C:\\a\nFichier\n"));
  ASSERT_TRUE(::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  EXPECT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), "C:\\a\nFichier\n");
  ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
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
  // Only the save's own names are removed, and never a save in progress:
  // another window's, in a folder for the lists that users share.
  dir.File(L"fer.txt");
  dir.File(L"ferme.tmp");
  ListTemp inProgress;
  ASSERT_EQ(CreateListTemp(name, EncodeListLines(newLines), inProgress, nullptr), 0u);
  ProtectedList again;
  ASSERT_TRUE(again.Create(parent.hwnd(), 1003));
  ASSERT_EQ(again.LoadListFile(name), 0u);
  EXPECT_EQ(FilesIn(dir).size(), 4u);
  EXPECT_EQ(CommitListTemp(inProgress, name), 0u);
  EXPECT_EQ(ReadBytes(name), EncodeListLines(newLines));
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

TEST_F(ListFileMerge, EveryLineShapeLoadsEveryItemAndWhatCannotBePlacedIsKept) {
  const std::string A = Narrow(a), B = Narrow(b), D = Narrow(d);
  const std::string gone = Narrow(dir / L"gone.txt");
  std::string utf16;  // as "cmd /u" writes it: no mark
  for (char c : A + "\r\n" + D + "\r\nDossier\r\n") utf16 += c, utf16 += '\0';
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::wstring> rows;
    std::vector<std::wstring> unplaced;  // strays, then words
    std::string saved = {};              // the file after the close, when it tells
    std::size_t joined = 0;
  } cases[] = {
      {"one path per line, the type when the row is first read", A + "\n" + D + "\n\n" + B,
       {a + L"|Fichier", d + L"|Dossier", b + L"|Fichier"}, {}},
      {"words that follow no path", "Fichier\r\n" + A + "\r\nFichier\r\nDossier\r\n", {a + L"|Fichier"},
       {L"Fichier", L"Dossier"}},
      {"a remark kept in place, a word after a path named and kept aside, a type word in any case",
       "; poste de Marie\r\n" + A + "\r\nREM poste de Marie\r\n# dossiers\r\n" + D + "\r\ndossier \r\n",
       {a + L"|Fichier", d + L"|Dossier"}, {L"REM poste de Marie"},
       "; poste de Marie\r\n" + A + "\r\nFichier\r\n# dossiers\r\n" + D + "\r\nDossier\r\n"},
      {"one item under five spellings is one row; blanks and quotes around a path",
       Narrow(FoldPath(a)) + "\r\nFichier\r\n" + A + "\r\n\"" + A + "\" \r\n" + Slashed(A) + "\r\n" + Dotted(A) + "\r\n" +
           Narrow(d + L"\\.\\") + "\r\n" + D + "/\r\nFolder\r\n  " + B + "\t\r\n",
       {FoldPath(a) + L"|Fichier", d + L"\\.\\|Dossier", L"  " + b + L"\t|Fichier"}, {}, {}, 5},
      {"UTF-16 without a mark", utf16, {a + L"|Fichier", d + L"|Dossier"}, {}},
      {"an item that cannot be read keeps no type word", gone + "\r\n", {dir / L"gone.txt" + L"|"}, {},
       gone + "\r\n"},
  };
  for (const Case& c : cases) {
    ProtectedList fresh;
    ASSERT_TRUE(fresh.Create(parent.hwnd(), 1002));
    ASSERT_TRUE(WriteBytes(name, c.bytes));
    ASSERT_EQ(fresh.LoadListFile(name), 0u) << c.what;
    EXPECT_EQ(Rows(fresh), c.rows) << c.what;
    std::vector<std::wstring> unplaced = fresh.LoadUnplaced().strays;
    for (const auto& word : fresh.LoadUnplaced().words) unplaced.push_back(word);
    EXPECT_EQ(unplaced, c.unplaced) << c.what;
    ASSERT_EQ(fresh.SaveListFile(name), 0u) << c.what;
    EXPECT_EQ(fresh.JoinedRows(), c.joined) << c.what;
    if (!c.saved.empty()) {
      EXPECT_EQ(ReadBytes(name), c.saved) << c.what;
    }
    // Read again the same; the original bytes kept when lines were left over.
    ProtectedList again;
    ASSERT_TRUE(again.Create(parent.hwnd(), 1003));
    ASSERT_EQ(again.LoadListFile(name), 0u);
    EXPECT_EQ(Rows(again), c.rows) << c.what;
    EXPECT_FALSE(again.LoadedPartly()) << c.what;
    EXPECT_EQ(ReadBytes(ListBackupName(name, 1)), c.unplaced.empty() ? "" : c.bytes) << c.what;
    ::DeleteFileW(ListBackupName(name, 1).c_str());
  }
  const std::wstring said = ProtectedList::UnplacedText(name, {true, {L"Dossier"}, {L"REM x"}});
  EXPECT_NE(said.find(L"\"Dossier\""), std::wstring::npos);
  EXPECT_NE(said.find(L"\"REM x\""), std::wstring::npos);
  EXPECT_NE(said.find(ListBackupName(name, 1)), std::wstring::npos);
}

// Another program holds the file open, unshared, until a thread lets it go.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD access, DWORD share, DWORD forMs) : forMs_(forMs) {
    file_ = ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (forMs_) thread_ = ::CreateThread(nullptr, 0, &Release, this, 0, nullptr);
  }
  ~HeldFile() {
    if (thread_) {
      ::WaitForSingleObject(thread_, INFINITE);
      ::CloseHandle(thread_);
    } else if (file_ != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file_);
    }
  }
  bool Held() const { return file_ != INVALID_HANDLE_VALUE; }

 private:
  static DWORD WINAPI Release(void* self) {
    auto* held = static_cast<HeldFile*>(self);
    ::Sleep(held->forMs_);
    ::CloseHandle(held->file_);
    return 0;
  }
  HANDLE file_ = INVALID_HANDLE_VALUE, thread_ = nullptr;
  DWORD forMs_;
};

// What the file on disk became while the window was open, and during its
// save. The window read a, b and c (while an editor held the file open for
// writing), removed c and added e.
TEST_F(ListFileMerge, TheCloseKeepsEveryWritersChangesAndNeverLosesTheList) {
  const std::wstring c = dir.File(L"gamma.txt"), e = dir.File(L"epsilon.txt"), f = dir.File(L"phi.txt");
  const std::wstring g = dir.File(L"beto.txt");  // as long as beta.txt
  const std::wstring folder = dir / L"listes", list = folder + L"\\dupont";
  std::unique_ptr<HeldFile> held;
  struct Case {
    const char* what;
    std::function<void()> meanwhile;
    std::vector<std::wstring> lines;  // the file after the close
    std::size_t added = 0, removed = 0, back = 0;
    bool missing = false;
    std::string copy;  // what the .bak holds; none when empty
    std::function<void()> duringSave = {};
  } cases[] = {
      {"unchanged", [] {}, {a, L"Fichier", b, L"Fichier", e, L"Fichier"}},
      // A script drops b, writes a in other letters, keeps c and appends d
      // and f one per line, as it writes its own lists.
      {"a script's edit",
       [&] {
         WriteBytes(list, Narrow(FoldPath(a)) + "\r\nFichier\r\n" + Narrow(c) + "\r\nFichier\r\n" + Narrow(d) +
                              "\r\n" + Narrow(f) + "\r\n");
       },
       // The disk's rows keep no type word until the window reads them.
       {a, L"Fichier", e, L"Fichier", d, f}, 2, 1},
      {"emptied", [&] { WriteBytes(list, ""); }, {a, L"Fichier", b, L"Fichier", e, L"Fichier"}, 0, 0, 2},
      {"deleted", [&] { ::DeleteFileW(list.c_str()); }, {a, L"Fichier", b, L"Fichier", e, L"Fichier"}, 0, 0, 2,
       true},
      {"left holding no path", [&] { WriteBytes(list, "Fichier\r\n"); },
       {a, L"Fichier", b, L"Fichier", e, L"Fichier"}, 0, 0, 2, false, "Fichier\r\n"},
      // Another folder under the name: the rows it lacks are no removals.
      {"another file under the name",
       [&] {
         ::MoveFileW(folder.c_str(), (folder + L"-avant").c_str());
         ::CreateDirectoryW(folder.c_str(), nullptr);
         WriteListFile(list, {b, L"Fichier", c, L"Fichier", f, L"Fichier"});
       },
       {a, L"Fichier", b, L"Fichier", e, L"Fichier", f, L"Fichier"}, 1, 0},
      {"held unshared by a writer for a moment during the save", [] {},
       {a, L"Fichier", b, L"Fichier", e, L"Fichier"}, 0, 0, 0, false, "",
       [&] { held = std::make_unique<HeldFile>(list, GENERIC_READ | GENERIC_WRITE, 0, 150); }},
      // Same size, same time: only the bytes tell the file changed.
      {"rewritten during the save with its size and time put back", [] {},
       {a, L"Fichier", e, L"Fichier", g, L"Fichier"}, 1, 1, 0, false, "",
       [&] {
         WIN32_FILE_ATTRIBUTE_DATA was{};
         ::GetFileAttributesExW(list.c_str(), GetFileExInfoStandard, &was);
         WriteListFile(list, {a, L"Fichier", g, L"Fichier", c, L"Fichier"});
         UniqueFile file(::CreateFileW(list.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
         ::SetFileTime(file.get(), nullptr, nullptr, &was.ftLastWriteTime);
       }},
  };
  for (const Case& k : cases) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_EQ(WriteListFile(list, {a, L"Fichier", b, L"Fichier", c, L"Fichier"}), 0u);
    ProtectedList window;
    ASSERT_TRUE(window.Create(parent.hwnd(), 1002));
    held = std::make_unique<HeldFile>(list, GENERIC_WRITE, FILE_SHARE_READ, 0);
    ASSERT_TRUE(held->Held());
    ASSERT_EQ(window.LoadListFile(list), 0u) << k.what;
    held.reset();
    window.SetSelected(2, true);
    window.Supprimer2Click();
    window.AddItem(e, ItemType::File);
    k.meanwhile();
    int flushes = 0;
    auto during = [&](ListSaveStep step) {
      if (step == ListSaveStep::Flush && ++flushes == 1 && k.duringSave) k.duringSave();
      return false;
    };
    ASSERT_EQ(window.SaveListFile(list, during), 0u) << k.what;
    held.reset();
    EXPECT_EQ(ReadBytes(list), EncodeListLines(k.lines)) << k.what;
    const auto typeWords = std::count_if(k.lines.begin(), k.lines.end(),
                                         [](const std::wstring& line) { return line == L"Fichier" || line == L"Dossier"; });
    EXPECT_EQ(window.ItemCount(), static_cast<int>(k.lines.size() - typeWords)) << k.what;
    EXPECT_EQ(window.MergedFromDisk(), k.added) << k.what;
    EXPECT_EQ(window.RemovedOnDisk(), k.removed) << k.what;
    EXPECT_EQ(window.WrittenBack(), k.back) << k.what;
    EXPECT_EQ(window.ListWasMissing(), k.missing) << k.what;
    EXPECT_EQ(ReadBytes(ListBackupName(list, 1)), k.copy) << k.what;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::remove_all(folder + L"-avant", ec);
  }
}

TEST_F(ListFileMerge, RemarksOutliveTheirRowAndOneAnotherWriterAddsIsKeptAside) {
  const std::string A = Narrow(a), B = Narrow(b);
  ASSERT_TRUE(WriteBytes(name, "; r1\r\n" + A + "\r\nFichier\r\n# r2\r\n" + B + "\r\nFichier\r\n; fin\r\n"));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.SetSelected(0, true);
  list.Supprimer2Click();  // a's remark stays, before the next row
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), "; r1\r\n# r2\r\n" + B + "\r\nFichier\r\n; fin\r\n");
  list.Supprimer1Click();
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), "; r1\r\n# r2\r\n; fin\r\n");

  // Another writer's new remark before a row the window keeps is not merged
  // line by line: the file as it left it is kept aside.
  list.AddItem(b, ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  const std::string other = "; r1\r\n# r2\r\n; nouvelle\r\n" + B + "\r\nFichier\r\n; fin\r\n";
  ASSERT_TRUE(WriteBytes(name, other));
  list.AddItem(a, ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(ListBackupName(name, 1)), other);
  EXPECT_EQ(list.KeptCopy(), ListBackupName(name, 1));
}

TEST_F(ListFileMerge, AWriterBusyDuringTheSaveIsMergedAgainAndOneThatNeverStopsIsNotOverwritten) {
  ASSERT_EQ(WriteListFile(name, {a, L"Fichier"}), 0u);
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.AddItem(b, ItemType::File);
  // The other writer is half-way through a line at the first check, done at
  // the second: its row is read whole, never as the cut-off "Fich".
  int flushes = 0;
  auto busy = [&](ListSaveStep step) {
    if (step != ListSaveStep::Flush) return false;
    ++flushes;
    if (flushes == 1) WriteBytes(name, EncodeListLines({a, L"Fichier"}) + Narrow(d) + "\r\nDoss");
    if (flushes == 2) WriteBytes(name, EncodeListLines({a, L"Fichier", d, L"Dossier"}));
    return false;
  };
  ASSERT_EQ(list.SaveListFile(name, busy), 0u);
  EXPECT_EQ(flushes, 3);
  EXPECT_EQ(ReadBytes(name), EncodeListLines({a, L"Fichier", b, L"Fichier", d, L"Dossier"}));

  std::string last;
  auto endless = [&](ListSaveStep step) {
    if (step == ListSaveStep::Flush) WriteBytes(name, last = ReadBytes(name) + Narrow(a) + "\r\nFichier\r\n");
    return false;
  };
  list.AddItem(a, ItemType::File);
  EXPECT_EQ(list.SaveListFile(name, endless), kListKeepsChanging);
  EXPECT_EQ(ReadBytes(name), last);
  // No temporary file left: the list, two files, a folder, and the copy of
  // the file as the writer had left it half-way ("Doss" is no type word).
  EXPECT_EQ(FilesIn(dir).size(), 5u);
  EXPECT_EQ(ReadBytes(ListBackupName(name, 1)), EncodeListLines({a, L"Fichier"}) + Narrow(d) + "\r\nDoss");
}

TEST_F(ListFileMerge, ANewListAndAKeptCopyArePrivateFromTheirFirstByte) {
  test::FakePlatform platform;
  platform.keptRights.emplace();
  ASSERT_TRUE(WriteBytes(name, "Dossier\r\n" + Narrow(a) + "\r\nFichier\r\n"));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  ASSERT_EQ(platform.createdPrivate.size(), 2u);
  EXPECT_EQ(platform.createdPrivate[0], ListBackupName(name, 1));
  EXPECT_TRUE(IsListTempName(platform.createdPrivate[1].substr(dir.path().size())));
  EXPECT_TRUE(SameRights((*platform.keptRights)[name + L".bak"], PrivateRights(false)));
  EXPECT_TRUE(platform.rightsWrites.empty());  // nothing narrowed afterwards
  EXPECT_EQ(list.RightsError(), 0u);
}

}  // namespace
}  // namespace ferlane
