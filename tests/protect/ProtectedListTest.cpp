#include "protect/ProtectedList.h"

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "platform/logic/PathFold.h"
#include "protect/ListFileIo.h"
#include "protect/ProtectTestSupport.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

using test::FakeRows;
using test::ReadBytes;
using test::Row;
using test::WriteBytes;

const std::wstring kHidden = L"Cach\u00E9";
const std::wstring kMissing = L"Introuvable";

// The attribute bits the commands decide. Wine reports every file as
// archived whatever was written, so the archive and normal bits are left out.
DWORD Kept(const std::wstring& path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? a : a & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL);
}

class ProtectedListTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(list.Create(parent.hwnd(), 1001, RECT{0, 0, 400, 300}));
    list.onChange = [this] { ++changes; };
  }
  // Writes a list file of the given lines (CR LF after each) and loads it.
  DWORD Load(const std::vector<std::wstring>& lines) {
    std::wstring name = dir / L"dupont";
    std::string bytes;
    for (const auto& line : lines) bytes += std::string(line.begin(), line.end()) + "\r\n";
    WriteBytes(name, bytes);
    return list.LoadListFile(name);
  }
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.ItemCount(); ++i) out.push_back(list.Caption(i));
    return out;
  }

  test::RecordingMessages messages;  // no command may show a box
  test::ScratchDir dir;
  test::HiddenParent parent;
  ProtectedList list;
  int changes = 0;
};

TEST_F(ProtectedListTest, ListViewHasTheThreeColumnsAndTheSystemIcons) {
  HWND lv = list.hwnd();
  ASSERT_TRUE(::IsWindow(lv));
  EXPECT_EQ(::GetParent(lv), parent.hwnd());
  LONG style = ::GetWindowLongW(lv, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_FALSE(style & LVS_SINGLESEL);
  EXPECT_FALSE(style & LVS_EDITLABELS);
  EXPECT_TRUE(style & LVS_SHAREIMAGELISTS);
  const wchar_t* captions[] = {L"Nom", L"Type", L"Attribut"};
  const int widths[] = {250, 60, 50};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[32] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = text;
    col.cchTextMax = 32;
    ASSERT_TRUE(::SendMessageW(lv, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&col)));
    EXPECT_STREQ(text, captions[i]);
    // The design's width, or more where the header's caption needs it.
    EXPECT_GE(col.cx, widths[i]);
    EXPECT_LE(col.cx, widths[i] + 16);
  }
  SHFILEINFOW sfi{};
  auto system = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(lv, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), system);
  EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(ProtectedListTest, ExampleFileLoadsAsAFolderAndAFile) {
  std::wstring folder = dir.Folder(L"Priv\u00E9", FILE_ATTRIBUTE_HIDDEN);
  std::wstring file = dir.File(L"budget.xls");
  // The folder's name is not plain ASCII: write its line in the ANSI code page.
  std::string bytes = EncodeListLines({folder, L"Dossier", file, L"Fichier"});
  ASSERT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
  ASSERT_TRUE(WriteBytes(dir / L"dupont", bytes));
  ASSERT_EQ(list.LoadListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.Caption(0), folder);
  EXPECT_EQ(list.TypeText(0), L"Dossier");
  EXPECT_EQ(list.StateText(0), kHidden);
  EXPECT_EQ(list.Caption(1), file);
  EXPECT_EQ(list.TypeText(1), L"Fichier");
  EXPECT_EQ(list.StateText(1), L"Visible");
  SHFILEINFOW sfi{};
  ASSERT_TRUE(::SHGetFileInfoW(folder.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX));
  EXPECT_EQ(list.ImageIndex(0), sfi.iIcon);
  ASSERT_TRUE(::SHGetFileInfoW(L"x.xls", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES));
  EXPECT_EQ(list.ImageIndex(1), sfi.iIcon);
  EXPECT_EQ(changes, 1) << "one change call for the whole load";
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectedListTest, MissingPathLoadsAsIntrouvableWithItsStoredType) {
  std::wstring gone = dir / L"gone";
  ASSERT_EQ(Load({gone, L"Dossier", gone + L".txt", L"dossier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.TypeText(0), L"Dossier");
  EXPECT_EQ(list.StateText(0), kMissing);
  EXPECT_GE(list.ImageIndex(0), 0);
  // A type word in lower case is taken, and saved back in the program's form.
  EXPECT_EQ(list.TypeText(1), L"Dossier");
  ASSERT_EQ(list.SaveListFile(dir / L"again"), static_cast<DWORD>(ERROR_SUCCESS));
  std::string g(gone.begin(), gone.end());
  EXPECT_EQ(ReadBytes(dir / L"again"), g + "\r\nDossier\r\n" + g + ".txt\r\nDossier\r\n");
}

TEST_F(ProtectedListTest, NoFileOrAZeroByteFileGivesAnEmptyList) {
  EXPECT_EQ(list.LoadListFile(dir / L"nobody"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_EQ(Load({}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(list.ItemCount(), 0);
  // And a list emptied saves as zero bytes, over the non-empty file it read.
  ASSERT_TRUE(WriteBytes(dir / L"dupont", "C:\\x\r\nFichier\r\n"));
  ASSERT_EQ(list.LoadListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  list.Supprimer1Click();
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(dir / L"dupont"), "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectedListTest, UnreadableFileReturnsItsErrorAndLeavesTheListEmpty) {
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, "C:\\x\r\nFichier\r\n"));
  HANDLE lock = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  DWORD error = list.LoadListFile(name);
  ::CloseHandle(lock);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_TRUE(messages.shown.empty()) << "the window shows the message, not the list";
}

TEST_F(ProtectedListTest, ListThatCouldNotBeReadIsNotOverwrittenAtSave) {
  std::wstring name = dir / L"dupont";
  const std::string stored = "C:\\old1\r\nDossier\r\nC:\\old2\r\nFichier\r\n";
  ASSERT_TRUE(WriteBytes(name, stored));
  HANDLE lock = ::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_NE(list.LoadListFile(name), 0u);
  list.AddItem(L"C:\\new", ItemType::File);
  // Still unreadable at close: the error comes back and the file is kept.
  EXPECT_EQ(list.SaveListFile(name), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  ::CloseHandle(lock);
  EXPECT_EQ(ReadBytes(name), stored);
  // Readable again: the stored items come first, then the new one.
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), stored + "C:\\new\r\nFichier\r\n");
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\old1", L"C:\\old2", L"C:\\new"}));
  EXPECT_EQ(list.TypeText(0), L"Dossier");
  // Once read, later saves write the list as it is.
  list.Supprimer1Click();
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), "");
}

TEST_F(ProtectedListTest, ListWithoutItsWindowNeverWritesTheFile) {
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, "C:\\x\r\nFichier\r\n"));
  ProtectedList never;
  EXPECT_NE(never.SaveListFile(name), 0u);
  ::DestroyWindow(list.hwnd());
  EXPECT_NE(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name), "C:\\x\r\nFichier\r\n");
}

TEST_F(ProtectedListTest, SavedFileLoadsBackTheSameItems) {
  std::wstring a = dir.File(L"a.txt"), b = dir.Folder(L"b"), c = dir / L"missing";
  std::string expected = EncodeListLines({a, L"Fichier", b, L"Dossier", c, L"Fichier"});
  ASSERT_TRUE(WriteBytes(dir / L"dupont", expected));
  ASSERT_EQ(list.LoadListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(dir / L"dupont"), expected);

  ProtectedList other;
  ASSERT_TRUE(other.Create(parent.hwnd(), 1002, RECT{0, 0, 100, 100}));
  ASSERT_EQ(other.LoadListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(other.ItemCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(other.Caption(i), list.Caption(i));
    EXPECT_EQ(other.TypeText(i), list.TypeText(i));
  }
}

TEST_F(ProtectedListTest, AFileHoldingTheUnchangedListIsLeftAloneAtSave) {
  const std::wstring name = dir / L"dupont";
  const std::wstring a = dir.File(L"a.txt");
  const FILETIME old{0x12345678u, 0x01D00000u};
  // An old write time on the file: a rewrite gives it a new one.
  auto age = [&] {
    HANDLE h = ::CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::SetFileTime(h, nullptr, nullptr, &old);
    ::CloseHandle(h);
  };
  auto untouched = [&] {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data);
    return ::CompareFileTime(&data.ftLastWriteTime, &old) == 0;
  };
  const std::string stored = EncodeListLines({a, L"Fichier", L"C:\\gone", L"Dossier"});
  ASSERT_TRUE(WriteBytes(name, stored));
  age();
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.SpeedButton2Click();  // state words only: the file does not hold them
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_TRUE(untouched());
  EXPECT_EQ(ReadBytes(name), stored);

  // Changed behind the list's back, even at the same size: merged and
  // written again, the other writer's type word winning.
  std::string other = stored;
  other.replace(other.size() - 9, 7, "Fichier");
  ASSERT_TRUE(WriteBytes(name, other));
  ASSERT_EQ(list.SaveListFile(name), 0u);
  const std::string merged = EncodeListLines({a, L"Fichier", L"C:\\gone", L"Fichier"});
  EXPECT_EQ(ReadBytes(name), merged);

  // A new item: written.
  age();
  list.AddItem(L"C:\\new", ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_FALSE(untouched());
  EXPECT_EQ(ReadBytes(name), merged + "C:\\new\r\nFichier\r\n");

  // A file not in the form a save gives (LF line ends) is written in that form.
  ProtectedList fresh;
  ASSERT_TRUE(fresh.Create(parent.hwnd(), 1002, RECT{0, 0, 100, 100}));
  ASSERT_TRUE(WriteBytes(name, "C:\\x\nFichier\n"));
  age();
  ASSERT_EQ(fresh.LoadListFile(name), 0u);
  ASSERT_EQ(fresh.SaveListFile(name), 0u);
  EXPECT_FALSE(untouched());
  EXPECT_EQ(ReadBytes(name), "C:\\x\r\nFichier\r\n");
}

TEST_F(ProtectedListTest, PathOutsideWindows1252SurvivesSaveAndLoad) {
  std::wstring odd = dir.File(L"\u03A9mega \u65E5\u672C.txt", 0, FILE_ATTRIBUTE_HIDDEN);
  std::wstring plain = dir.Folder(L"Priv\u00E9");
  list.AddItem(odd, ItemType::File);
  list.AddItem(plain, ItemType::Folder);
  EXPECT_EQ(list.StateText(0), kHidden);
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(ReadBytes(dir / L"dupont").starts_with("\xEF\xBB\xBF"));

  ProtectedList other;
  ASSERT_TRUE(other.Create(parent.hwnd(), 1002, RECT{0, 0, 100, 100}));
  ASSERT_EQ(other.LoadListFile(dir / L"dupont"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(other.ItemCount(), 2);
  EXPECT_EQ(other.Caption(0), odd);
  EXPECT_EQ(other.StateText(0), kHidden);
  EXPECT_EQ(other.Caption(1), plain);
  EXPECT_EQ(other.TypeText(1), L"Dossier");
}

TEST_F(ProtectedListTest, HideAllReplacesAndShowAllClearsOnDisk) {
  std::wstring readOnly = dir.File(L"ro.txt", 0, FILE_ATTRIBUTE_READONLY);
  std::wstring hiddenReadOnly = dir.File(L"hro.txt", 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  std::wstring systemFolder = dir.Folder(L"sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_EQ(Load({readOnly, L"Fichier", hiddenReadOnly, L"Fichier", systemFolder, L"Dossier"}), 0u);
  EXPECT_EQ(list.StateText(0), L"Visible");
  EXPECT_EQ(list.StateText(1), kHidden);

  list.SpeedButton1Click();  // Tout Voir: only the hidden bit goes
  EXPECT_EQ(Kept(readOnly), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Kept(hiddenReadOnly), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Kept(systemFolder), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.StateText(i), L"Visible") << i;

  list.SpeedButton2Click();  // Tout Cacher: hidden alone, read-only and system dropped
  EXPECT_EQ(Kept(readOnly), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Kept(hiddenReadOnly), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Kept(systemFolder), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.StateText(i), kHidden) << i;

  list.SpeedButton1Click();  // a file with no attribute left is a normal file
  EXPECT_EQ(Kept(readOnly), 0u);
  EXPECT_EQ(Kept(systemFolder), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectedListTest, MissingPathsStayIntrouvableWhateverTheCommand) {
  std::wstring gone = dir / L"gone.txt";
  ASSERT_EQ(Load({gone, L"Fichier"}), 0u);
  list.SpeedButton1Click();
  EXPECT_EQ(list.StateText(0), kMissing);
  list.SpeedButton2Click();
  EXPECT_EQ(list.StateText(0), kMissing);
  list.outSelectionner2Click();
  list.CacherouVoirlaslection1Click();
  EXPECT_EQ(list.StateText(0), kMissing);
  EXPECT_EQ(Kept(gone), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(messages.shown.empty());
  // The list file keeps the record as it was.
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), 0u);
  std::string g(gone.begin(), gone.end());
  EXPECT_EQ(ReadBytes(dir / L"dupont"), g + "\r\nFichier\r\n");
}

TEST_F(ProtectedListTest, ToggleSwapsTheSelectionOnly) {
  std::wstring hidden = dir.File(L"h.txt", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  std::wstring visible = dir.File(L"v.txt", 0, FILE_ATTRIBUTE_READONLY);
  std::wstring other = dir.File(L"o.txt", 0, FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(Load({hidden, L"Fichier", visible, L"Fichier", other, L"Fichier"}), 0u);
  list.SetSelected(0, true);
  list.SetSelected(1, true);
  list.CacherouVoirlaslection1Click();
  EXPECT_EQ(Kept(hidden), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Kept(visible), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Kept(other), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(list.StateText(0), L"Visible");
  EXPECT_EQ(list.StateText(1), kHidden);
  EXPECT_EQ(list.StateText(2), L"Visible");
}

TEST_F(ProtectedListTest, ToggleOfAPathListedTwiceEndsHidden) {
  std::wstring file = dir.File(L"twice.txt", 0, FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(Load({file, L"Fichier"}), 0u);
  list.AddItem(FoldPath(file), ItemType::File);  // dropped again, in other letters: two rows until the close
  list.outSelectionner2Click();
  EXPECT_TRUE(list.IsSelected(0) && list.IsSelected(1));
  list.CacherouVoirlaslection1Click();
  EXPECT_EQ(Kept(file), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  // Both rows tell what the file holds once the command is done.
  EXPECT_EQ(list.StateText(0), kHidden);
  EXPECT_EQ(list.StateText(1), kHidden);
  // Saved once, and the window says so; the selection stays on the row kept.
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), 0u);
  EXPECT_EQ(list.JoinedRows(), 1u);
  EXPECT_EQ(list.ItemCount(), 1);
  EXPECT_TRUE(list.IsSelected(0));
  EXPECT_EQ(ReadBytes(dir / L"dupont"), EncodeListLines({file, L"Fichier"}));
}

TEST_F(ProtectedListTest, ARowWithoutATypeWordTakesItsTypeFromAHideNotFromTheLoad) {
  const std::wstring folder = dir.Folder(L"sans type");
  ASSERT_EQ(Load({folder}), 0u);
  ASSERT_EQ(list.ItemCount(), 1);
  list.SpeedButton2Click();  // no row drawn: the hide's own reads tell the type
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), 0u);
  const std::string path(folder.begin(), folder.end());
  EXPECT_EQ(ReadBytes(dir / L"dupont"), path + "\r\nDossier\r\n");
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ProtectedListTest, EmptyListCommandsDoNothing) {
  list.SpeedButton1Click();
  list.SpeedButton2Click();
  list.CacherouVoirlaslection1Click();
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_EQ(changes, 0);
}

TEST_F(ProtectedListTest, RemovingItemsLeavesTheFilesAsTheyWere) {
  std::wstring a = dir.File(L"a.txt", 0, FILE_ATTRIBUTE_HIDDEN);
  std::wstring b = dir.File(L"b.txt");
  std::wstring c = dir.File(L"c.txt", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(Load({a, L"Fichier", b, L"Fichier", c, L"Fichier", b, L"Fichier"}), 0u);
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  changes = 0;
  list.Supprimer2Click();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{b}));  // b's two lines were one row
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Kept(a), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Kept(c), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  list.Supprimer1Click();
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(Kept(b) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(ProtectedListTest, SelectionStaysWithItsRowsAcrossAppendRemoveAndALateRead) {
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, "C:\\old\r\nFichier\r\n"));
  HANDLE lock = ::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_NE(list.LoadListFile(name), 0u);
  ::CloseHandle(lock);
  for (const wchar_t* p : {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"}) list.AddItem(p, ItemType::File);
  list.SetSelected(1, true);
  list.AddItem(L"C:\\e", ItemType::Folder);
  EXPECT_TRUE(list.IsSelected(1));
  EXPECT_FALSE(list.IsSelected(4));
  // The stored items come in front at the save: the selected row moves with them.
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\old", L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d", L"C:\\e"}));
  EXPECT_TRUE(list.IsSelected(2));
  EXPECT_FALSE(list.IsSelected(1));
  list.SetSelected(0, true);
  list.Supprimer2Click();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\a", L"C:\\c", L"C:\\d", L"C:\\e"}));
  for (int i = 0; i < list.ItemCount(); ++i) EXPECT_FALSE(list.IsSelected(i)) << i;
  EXPECT_EQ(list.TypeText(3), L"Dossier");
  // The rows left keep their own paths, also after more are added.
  list.AddItem(L"C:\\f", ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(ReadBytes(name),
            "C:\\a\r\nFichier\r\nC:\\c\r\nFichier\r\nC:\\d\r\nFichier\r\nC:\\e\r\nDossier\r\nC:\\f\r\nFichier\r\n");
  // Out-of-range rows have no texts.
  EXPECT_EQ(list.Caption(5), L"");
  EXPECT_EQ(list.StateText(-1), L"");
}

TEST_F(ProtectedListTest, SelectionChangesReachTheParent) {
  ASSERT_EQ(Load({L"C:\\x", L"Fichier"}), 0u);
  parent.itemChanged = 0;
  list.SetSelected(0, true);
  EXPECT_GT(parent.itemChanged, 0);
}

TEST_F(ProtectedListTest, FileListSelectionCommands) {
  FakeRows rows;
  rows.rows = {{L"A", L"Dossier de fichiers", L"C:\\A", L"dir"},
               {L"a.txt", L"Document texte", L"C:\\a.txt", L"file", true},
               {L"B", L"Dossier de fichiers", L"C:\\B", L"dir"},
               {L"b.lnk", L"Raccourci", L"C:\\b.lnk", L"file"},
               {L"c.doc", L"dossier de fichiers", L"C:\\c.doc", L"file"},
               {L"D", L"Folder", L"C:\\D", L"dir"}};  // a folder in another language
  ProtectedList::ouslesRpertoires1Click(rows);
  std::vector<bool> selected;
  for (const auto& r : rows.rows) selected.push_back(r.selected);
  EXPECT_EQ(selected, (std::vector<bool>{true, true, true, false, false, true}));

  for (auto& r : rows.rows) r.selected = false;
  rows.rows[0].selected = true;
  ProtectedList::ouslesFichiers1Click(rows);
  selected.clear();
  for (const auto& r : rows.rows) selected.push_back(r.selected);
  EXPECT_EQ(selected, (std::vector<bool>{true, true, false, true, true, false}));

  for (auto& r : rows.rows) r.selected = false;
  ProtectedList::outSelectionner1Click(rows);
  for (const auto& r : rows.rows) EXPECT_TRUE(r.selected);
}

TEST_F(ProtectedListTest, DropAppendsTheSelectedEntriesInOrderAndDeselectsThem) {
  std::wstring folder = dir.Folder(L"Comptes", FILE_ATTRIBUTE_HIDDEN);
  std::wstring file = dir.File(L"budget.xls");
  ASSERT_EQ(Load({L"C:\\first", L"Fichier"}), 0u);
  FakeRows rows;
  rows.folder = dir.path();
  rows.rows = {{L"budget.xls", L"Feuille Microsoft Excel", file, L"file", true},
               {L"other.txt", L"Document texte", dir / L"other.txt", L"file"},
               {L"Comptes", L"Dossier de fichiers", folder, L"dir", true}};
  changes = 0;
  EXPECT_EQ(list.AppendSelectedEntries(rows), 2);
  ASSERT_EQ(list.ItemCount(), 3);
  EXPECT_EQ(list.Caption(1), file);
  EXPECT_EQ(list.TypeText(1), L"Fichier");
  EXPECT_EQ(list.StateText(1), L"Visible");
  EXPECT_EQ(list.Caption(2), folder);
  EXPECT_EQ(list.TypeText(2), L"Dossier");
  EXPECT_EQ(list.StateText(2), kHidden);
  SHFILEINFOW sfi{};
  ASSERT_TRUE(::SHGetFileInfoW(folder.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX));
  EXPECT_EQ(list.ImageIndex(2), sfi.iIcon);
  for (const auto& r : rows.rows) EXPECT_FALSE(r.selected);
  EXPECT_EQ(changes, 1);

  // Nothing selected: nothing changes.
  EXPECT_EQ(list.AppendSelectedEntries(rows), 0);
  EXPECT_EQ(list.ItemCount(), 3);
  // The same entry dropped again is listed again.
  rows.rows[0].selected = true;
  EXPECT_EQ(list.AppendSelectedEntries(rows), 1);
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"C:\\first", file, folder, file}));
}

TEST_F(ProtectedListTest, DropJoinsFolderAndCaptionOnlyForRowsWithoutAPath) {
  FakeRows rows;
  rows.folder = L"C:\\Comptes";
  rows.rows = {{L"budget.xls", L"Feuille", L"", L"", true}, {L" (C:)  Disque local ", L"10 000 Mb", L"C:\\", L"drv", true}};
  ASSERT_EQ(list.AppendSelectedEntries(rows), 2);
  EXPECT_EQ(list.Caption(0), L"C:\\Comptes\\budget.xls");
  EXPECT_EQ(list.Caption(1), L"C:\\");
  EXPECT_EQ(list.TypeText(1), L"Fichier");
}

TEST_F(ProtectedListTest, DragOverAcceptsOnlyFileListViews) {
  EXPECT_FALSE(ProtectedList::ListView1DragOver(static_cast<const TFileListView*>(nullptr)));
}

TEST_F(ProtectedListTest, TenThousandItemsLoadHideShowAndSaveWholly) {
  // Every path distinct; one in four exists on disk (files, and now and then
  // a folder), the others are gone. Creating files is slow under Wine.
  constexpr int kCount = 10000;
  std::wstring files = dir.Folder(L"files"), folders = dir.Folder(L"folders");
  std::vector<std::wstring> lines, real;
  for (int i = 0; i < kCount; ++i) {
    std::wstring n = std::to_wstring(i);
    if (i % 100 == 0) {
      real.push_back(dir.Folder(L"folders\\d" + n));
      lines.insert(lines.end(), {real.back(), L"Dossier"});
    } else if (i % 4 == 0) {
      real.push_back(dir.File(L"files\\f" + n + L".txt", 0, i % 8 ? 0 : FILE_ATTRIBUTE_HIDDEN));
      lines.insert(lines.end(), {real.back(), L"Fichier"});
    } else {
      lines.insert(lines.end(), {dir / (L"gone\\g" + n + L".txt"), L"Fichier"});
    }
  }
  std::string bytes = EncodeListLines(lines);
  ASSERT_TRUE(WriteBytes(dir / L"dupont", bytes));
  ASSERT_EQ(list.LoadListFile(dir / L"dupont"), 0u);
  ASSERT_EQ(list.ItemCount(), kCount);
  for (int i = 0; i < kCount; ++i) {
    ASSERT_EQ(list.Caption(i), lines[2 * i]) << i;
    ASSERT_EQ(list.TypeText(i), lines[2 * i + 1]) << i;
  }
  list.SpeedButton2Click();
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(list.StateText(i), i % 4 ? kMissing : kHidden) << i;
  for (const auto& p : real) ASSERT_TRUE(Kept(p) & FILE_ATTRIBUTE_HIDDEN) << p;
  list.SpeedButton1Click();
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(list.StateText(i), i % 4 ? kMissing : L"Visible") << i;
  for (const auto& p : real) ASSERT_FALSE(Kept(p) & FILE_ATTRIBUTE_HIDDEN) << p;
  ASSERT_EQ(list.SaveListFile(dir / L"dupont"), 0u);
  EXPECT_EQ(ReadBytes(dir / L"dupont"), bytes);
}

}  // namespace
}  // namespace ferlane
