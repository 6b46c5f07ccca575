#include "app/MainWindow.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>
#include <functional>

#include <gtest/gtest.h>

#include "password/logic/PasswordHash.h"


#include "app/PasswordWindows.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "protect/ListFileIo.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Ferlane";

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

std::wstring WindowText(HWND h) {
  wchar_t buf[512] = {};
  ::GetWindowTextW(h, buf, 512);
  return buf;
}

std::string FileBytes(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string data(1 << 16, '\0');
  DWORD read = 0;
  ::ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
  ::CloseHandle(h);
  data.resize(read);
  return data;
}

void DeleteSettingsKey() { ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings); }

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    DeleteSettingsKey();
    platform.userName = L"dupont";
    programFolder = scratch.Folder(L"Outils") + L"\\";
  }
  void TearDown() override {
    ResetTermination();
    DeleteSettingsKey();
  }

  std::unique_ptr<Tficheprincipale> MakeMain(Policies policies = {}) {
    auto main = std::make_unique<Tficheprincipale>(programFolder, std::move(policies));
    EXPECT_TRUE(main->Create(::GetModuleHandleW(nullptr)));
    return main;
  }

  std::wstring ReadSetting(const wchar_t* name) {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kSettings) != ERROR_SUCCESS) return L"<no key>";
    return key.ReadString(name).value_or(L"<absent>");
  }

  void WriteSetting(const wchar_t* name, const std::wstring& value) {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteString(name, value);
  }

  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::wstring programFolder;
};

TEST_F(MainWindowTest, FirstRunOpensAtTheDesignBoundsWithTheFamilyCaption) {
  auto main = MakeMain();
  RECT r;
  ::GetWindowRect(main->hwnd(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 623);
  EXPECT_EQ(r.bottom - r.top, 519);
  // Wine's default version (6.1) is a later NT: an administrator's caption.
  EXPECT_EQ(WindowText(main->hwnd()), L"Ferlane 1.0 - Administrateur : dupont");
  EXPECT_EQ(main->RoleLabel(), L"Ferlane Administrateur dupont");
  EXPECT_FALSE(::IsWindowVisible(main->hwnd()));
  EXPECT_EQ(main->ListView1().ItemCount(), 0);
}

TEST_F(MainWindowTest, WindowsXpAdministratorGetsTheAdministratorCaption) {
  platform.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L"Service Pack 3"});
  platform.administrator = true;
  auto main = MakeMain();
  EXPECT_EQ(WindowText(main->hwnd()), L"Ferlane 1.0 - Administrateur : dupont");
  EXPECT_EQ(main->RoleLabel(), L"Ferlane Administrateur dupont");
  main->FormShow();
  EXPECT_FALSE(TerminationRequested());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, ProgramFolderIsHiddenWithItsOtherBitsCleared) {
  ::SetFileAttributesW(programFolder.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  auto main = MakeMain();
  EXPECT_EQ(Attributes(programFolder), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
}

// The list's own path made a folder: said at start as the command line says
// it, the list stays empty and takes no item, and the close writes nothing.
TEST_F(MainWindowTest, AListPathThatIsAFolderIsSaidAndTheCloseWritesNothing) {
  const std::wstring path = programFolder + L"dupont";
  ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
  auto main = MakeMain();
  main->FormShow();
  EXPECT_FALSE(main->ListUsable());
  int said = 0;
  for (const auto& shown : messages.shown)
    said += shown.text.find(L"\"" + path + L"\" : ce nom est un dossier") != std::wstring::npos;
  EXPECT_EQ(said, 1);
  main->AjouterALaListeClick();
  EXPECT_EQ(main->ListView1().ItemCount(), 0);
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_TRUE(::RemoveDirectoryW(path.c_str())) << "the folder is still empty";
  EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndAnEmptyListFile) {
  auto main = MakeMain();
  ASSERT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"Position horizontale"), L"0");
  EXPECT_EQ(ReadSetting(L"Position verticale"), L"0");
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
  EXPECT_EQ(ReadSetting(L"Hauteur"), L"519");
  EXPECT_EQ(ReadSetting(L"dupont"), L"");
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), "");
}

TEST_F(MainWindowTest, StoredPlacementIsRestoredAndWrittenBack) {
  WriteSetting(L"Position horizontale", L"-12");
  WriteSetting(L"Position verticale", L"40");
  WriteSetting(L"Largeur", L"700");
  WriteSetting(L"Hauteur", L"560");
  auto main = MakeMain();
  RECT r;
  ::GetWindowRect(main->hwnd(), &r);
  EXPECT_EQ(r.left, -12);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 560);
  ::MoveWindow(main->hwnd(), -30, -4, 650, 500, FALSE);
  ASSERT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"Position horizontale"), L"-30");
  EXPECT_EQ(ReadSetting(L"Position verticale"), L"-4");
  EXPECT_EQ(ReadSetting(L"Largeur"), L"650");
  EXPECT_EQ(ReadSetting(L"Hauteur"), L"500");
}

TEST_F(MainWindowTest, MalformedOrWrongTypedPlacementIsIgnoredSilently) {
  WriteSetting(L"Position horizontale", L"douze");
  WriteSetting(L"Largeur", L"");
  WriteSetting(L"Hauteur", L"600");
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings), ERROR_SUCCESS);
    key.WriteDword(L"Position verticale", 50);
  }
  auto main = MakeMain();
  RECT r;
  ::GetWindowRect(main->hwnd(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 623);
  EXPECT_EQ(r.bottom - r.top, 600);
  EXPECT_TRUE(messages.shown.empty());
  // The later creation steps still ran.
  EXPECT_EQ(WindowText(main->hwnd()), L"Ferlane 1.0 - Administrateur : dupont");
}

TEST_F(MainWindowTest, ListFileIsLoadedAtCreation) {
  const std::wstring folder = scratch.Folder(L"Privé");
  const std::wstring file = scratch.File(L"budget.xls", 10);
  {
    // The scratch path is plain ASCII but for the accent, written in Windows-1252.
    std::wstring wide = folder + L"\r\nDossier\r\n" + file + L"\r\nFichier\r\n";
    int n = ::WideCharToMultiByte(1252, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(1252, 0, wide.c_str(), -1, bytes.data(), n, nullptr, nullptr);
    ASSERT_EQ(WriteListBytes(programFolder + L"dupont", bytes), static_cast<DWORD>(ERROR_SUCCESS));
  }
  auto main = MakeMain();
  ASSERT_EQ(main->ListView1().ItemCount(), 2);
  EXPECT_EQ(main->ListView1().Caption(0), folder);
  EXPECT_EQ(main->ListView1().TypeText(0), L"Dossier");
  EXPECT_EQ(main->ListView1().TypeText(1), L"Fichier");
  main->UpdateListButtons();
  EXPECT_TRUE(::IsWindowEnabled(main->SpeedButton(1)));
  main->Supprimer1Click();
  EXPECT_FALSE(::IsWindowEnabled(main->SpeedButton(1)));
  EXPECT_FALSE(::IsWindowEnabled(main->SpeedButton(2)));
  EXPECT_FALSE(::IsWindowEnabled(main->SpeedButton(3)));
}

TEST_F(MainWindowTest, TheCloseNamesAWordAfterAPathAndHowManySpellingsOfOnePathWereJoined) {
  const std::wstring file = scratch.File(L"budget.xls", 10);
  std::wstring slashed = file;
  for (wchar_t& c : slashed)
    if (c == L'\\') c = L'/';
  const std::wstring wide = file + L"\r\nFichier\r\n" + slashed + L"\r\n \"" + file + L"\"\r\nREM poste de Marie\r\n";
  const std::string bytes(wide.begin(), wide.end());
  ASSERT_EQ(WriteListBytes(programFolder + L"dupont", bytes), static_cast<DWORD>(ERROR_SUCCESS));
  auto main = MakeMain();
  main->FormShow();
  ASSERT_EQ(main->ListView1().ItemCount(), 1);
  EXPECT_TRUE(messages.shown.empty());  // a word after a path is named once, at the close
  EXPECT_TRUE(main->FormCloseQuery());
  ASSERT_EQ(messages.shown.size(), 2u);
  const std::wstring copy = ListBackupName(programFolder + L"dupont", 1);
  EXPECT_NE(messages.shown[0].text.find(L"\"REM poste de Marie\""), std::wstring::npos) << messages.shown[0].text;
  EXPECT_NE(messages.shown[0].text.find(copy), std::wstring::npos) << messages.shown[0].text;
  EXPECT_EQ(messages.shown[1].text.rfind(L"2 lignes du fichier \"" + programFolder + L"dupont\" nommaient", 0), 0u)
      << messages.shown[1].text;
}

TEST_F(MainWindowTest, NonAdministratorOnXpIsToldAndNothingIsWritten) {
  platform.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L""});
  platform.administrator = false;
  auto main = MakeMain();
  main->FormShow();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            L"Vous n'êtes pas l'administrateur de ce système NT-XP: l'application va se terminer.");
  EXPECT_EQ(messages.shown[0].caption, L"Ferlane");
  EXPECT_TRUE(TerminationRequested());
  // The rest of the first showing still ran: the tree is on the first fixed drive.
  EXPECT_EQ(main->DirTree1().SelectedPath(), L"C:\\");
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"Largeur"), L"<no key>");
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), "<missing>");
}

TEST_F(MainWindowTest, Windows98MakesNoAdministratorTest) {
  platform.version = std::optional<OsVersion>(OsVersion{1, 4, 10, L" A "});
  platform.administrator = false;
  auto main = MakeMain();
  main->FormShow();
  EXPECT_FALSE(TerminationRequested());
  EXPECT_EQ(WindowText(main->hwnd()), L"Ferlane 1.0 - Utilisateur : dupont");
}

TEST_F(MainWindowTest, FirstShowingOpensTheTreeOnTheFirstFixedDrive) {
  auto main = MakeMain();
  main->FormShow();
  ASSERT_FALSE(main->FixedDrives().empty());
  EXPECT_EQ(main->DirTree1().SelectedPath(), L"C:\\");
  EXPECT_EQ(main->FileListView1().Directory(), L"C:\\");
}

// The password windows are driven by messages posted before they run their
// modal loops, as a user would type and click.
class PasswordGateTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    ASSERT_TRUE(passe.Create(inst));
    ASSERT_TRUE(saisie.Create(inst));
    ASSERT_TRUE(nouveaupasse.Create(inst));
  }
  std::unique_ptr<Tficheprincipale> MakeGatedMain() {
    auto main = MakeMain();
    main->SetPasswordWindows({&passe, &saisie, &nouveaupasse});
    return main;
  }
  static void Type(HWND entry, const wchar_t* text) {
    ::SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void PostOk(HWND window, HWND button) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(kIdButton1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  TPasse passe;
  Tsaisie saisie;
  Tnouveaupasse nouveaupasse;
};

TEST_F(PasswordGateTest, NoSettingsKeyShowsNoPasswordWindow) {
  auto main = MakeGatedMain();
  main->FormShow();  // would block if a window were shown
  EXPECT_EQ(main->CurrentPassword(), L"");
}

TEST_F(PasswordGateTest, EmptyStoredPasswordAsksForANewOneWhichCloseStores) {
  WriteSetting(L"dupont", L"");
  auto main = MakeGatedMain();
  Type(saisie.MaskEdit1(), L"Secret");
  Type(saisie.MaskEdit2(), L"Secret");
  PostOk(saisie.hwnd(), saisie.Button1());
  main->FormShow();
  // Held and stored as its salted hash, never as the typed text.
  const std::wstring held = main->CurrentPassword();
  EXPECT_NE(held, L"Secret");
  EXPECT_TRUE(StoredPasswordMatches(held, L"Secret"));
  EXPECT_EQ(WindowText(saisie.MaskEdit1()), L"");  // what was typed is gone
  ASSERT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"dupont"), held);
}

TEST_F(PasswordGateTest, StoredPasswordOpensTheLoginPrompt) {
  WriteSetting(L"dupont", L"motdepasse");
  auto main = MakeGatedMain();
  Type(passe.MaskEdit1(), L"motdepasse");
  PostOk(passe.hwnd(), passe.Button1());
  main->FormShow();
  EXPECT_FALSE(TerminationRequested());
  // The old plain form, once typed, is held hashed.
  EXPECT_TRUE(StoredPasswordMatches(main->CurrentPassword(), L"motdepasse"));
  EXPECT_NE(main->CurrentPassword(), L"motdepasse");
}

TEST_F(PasswordGateTest, FourWrongTriesEndTheRunWithNothingWritten) {
  WriteSetting(L"dupont", L"motdepasse");
  auto main = MakeGatedMain();
  for (int i = 0; i < 4; ++i) PostOk(passe.hwnd(), passe.Button1());  // empty entries are wrong
  main->FormShow();
  EXPECT_TRUE(TerminationRequested());
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"Largeur"), L"<absent>");
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), "<missing>");
}

// A value that is no text is damaged, as the command line reads it: no
// window offers to set a password over it, and the run ends writing nothing.
TEST_F(PasswordGateTest, WrongTypedPasswordValueIsDamaged) {
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteDword(L"dupont", 1234);
  }
  auto main = MakeGatedMain();
  main->FormShow();  // would block if a password window were shown
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"supprime la valeur \"dupont\""), std::wstring::npos);
  EXPECT_TRUE(main->FormCloseQuery());
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings), ERROR_SUCCESS);
  EXPECT_FALSE(key.ReadString(L"dupont"));
  EXPECT_TRUE(key.ValueExists(L"dupont"));
}

TEST_F(MainWindowTest, UnwritableListFileLetsTheUserStayOrCloseWithoutIt) {
  auto main = MakeMain();
  // A folder in the list file's place makes every write fail.
  ::CreateDirectoryW((programFolder + L"dupont").c_str(), nullptr);
  messages.answers = {IDNO};
  EXPECT_FALSE(main->FormCloseQuery());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.rfind(L"Impossible de créer le fichier \"" + programFolder + L"dupont\". ", 0),
            0u);
  EXPECT_EQ(ReadSetting(L"Largeur"), L"<no key>");
  messages.answers = {IDYES};
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
}

TEST_F(MainWindowTest, AReadOnlyListFileSaysSoAndHowToSaveIt) {
  const std::wstring list = programFolder + L"dupont";
  ASSERT_EQ(WriteListFile(list, {}), static_cast<DWORD>(ERROR_SUCCESS));
  ::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(MakeMain()->FormCloseQuery());  // nothing to save: nothing asked
  EXPECT_TRUE(messages.shown.empty());
  auto main = MakeMain();
  main->ListView1().AddItem(scratch.File(L"a.txt"), ItemType::File);
  messages.answers = {IDNO};
  EXPECT_FALSE(main->FormCloseQuery());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"est en lecture seule"), std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(L"Lecture seule"), std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(L"Fermer quand même sans enregistrer la liste ?"), std::wstring::npos);
  ::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(main->FormCloseQuery());
}

TEST_F(MainWindowTest, EndOfSessionIsNeverBlockedByTheListFile) {
  auto main = MakeMain();
  ::CreateDirectoryW((programFolder + L"dupont").c_str(), nullptr);
  EXPECT_EQ(::SendMessageW(main->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST_F(MainWindowTest, RowsDraggedFromTheFileListJoinTheProtectedList) {
  const std::wstring data = scratch.Folder(L"Données");
  const std::wstring file = scratch.File(L"Données\\budget.xls", 3);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  auto main = MakeMain();
  main->FormShow();
  main->DirTree1().OpenPath(data);
  TFileListView& list = main->FileListView1();
  ASSERT_EQ(list.Directory(), data + L"\\");
  ASSERT_EQ(list.ItemCount(), 1);
  list.SetSelected(0, true);

  POINT pt{0, 0};
  EXPECT_TRUE(main->DragOver(list, main->ListView1().hwnd(), pt));
  EXPECT_FALSE(main->DragOver(list, main->DirTree1().hwnd(), pt));
  EXPECT_FALSE(main->DragOver(list, main->hwnd(), pt));
  main->DragDrop(list, main->DirTree1().hwnd(), pt);  // not a drop target: nothing
  EXPECT_EQ(main->ListView1().ItemCount(), 0);

  main->DragDrop(list, main->ListView1().hwnd(), pt);
  ASSERT_EQ(main->ListView1().ItemCount(), 1);
  EXPECT_EQ(main->ListView1().Caption(0), file);
  EXPECT_EQ(main->ListView1().TypeText(0), L"Fichier");
  EXPECT_EQ(main->ListView1().StateText(0), L"Caché");
  EXPECT_FALSE(list.IsSelected(0));
  EXPECT_TRUE(::IsWindowEnabled(main->SpeedButton(2)));

  // Tout Voir from the toolbar clears the hidden bit and says so.
  ::SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(main->SpeedButton(1)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(main->SpeedButton(1)));
  EXPECT_EQ(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(main->ListView1().StateText(0), L"Visible");
}

TEST_F(MainWindowTest, ProtectedRowsAreShownAndFoundThroughTheWindow) {
  const std::wstring file = scratch.File(L"budget.xls", 3);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::wstring folder = scratch.Folder(L"Comptes");
  const std::wstring gone = scratch / L"gone.txt";
  {
    std::wstring wide = file + L"\r\nFichier\r\n" + gone + L"\r\nFichier\r\n" + folder + L"\r\nDossier\r\n";
    std::string bytes(wide.begin(), wide.end());  // plain ASCII paths
    ASSERT_EQ(WriteListBytes(programFolder + L"dupont", bytes), static_cast<DWORD>(ERROR_SUCCESS));
  }
  auto main = MakeMain();
  // What the list view itself shows: it asks the window for every text.
  const HWND lv = main->ListView1().hwnd();
  auto text = [&](int item, int sub, int room = 512) {
    std::wstring buffer(512, L'#');
    LVITEMW lvi{};
    lvi.iSubItem = sub;
    lvi.pszText = buffer.data();
    lvi.cchTextMax = room;
    ::SendMessageW(lv, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi));
    return std::wstring(buffer.c_str());
  };
  ASSERT_EQ(::SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(text(0, 0), file);
  EXPECT_EQ(text(0, 1), L"Fichier");
  EXPECT_EQ(text(0, 2), L"Caché");
  EXPECT_EQ(text(1, 2), L"Introuvable");
  EXPECT_EQ(text(2, 1), L"Dossier");
  EXPECT_EQ(text(2, 2), L"Visible");
  EXPECT_EQ(text(0, 0, 4), file.substr(0, 3)) << "cut to the room given, never past it";
  LVITEMW lvi{};
  lvi.mask = LVIF_IMAGE;
  lvi.iItem = 2;
  ASSERT_TRUE(::SendMessageW(lv, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
  SHFILEINFOW sfi{};
  ASSERT_TRUE(::SHGetFileInfoW(folder.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX));
  EXPECT_EQ(lvi.iImage, sfi.iIcon);

  // Typing a name's first letters finds its row, from the given one on.
  std::wstring prefix = folder.substr(0, folder.size() - 3);
  for (auto& c : prefix) c = static_cast<wchar_t>(::towupper(c));
  LVFINDINFOW find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  find.psz = prefix.c_str();
  EXPECT_EQ(::SendMessageW(lv, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
  find.flags = LVFI_STRING;
  find.psz = gone.c_str();
  EXPECT_EQ(::SendMessageW(lv, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 1);
  const std::wstring none = L"Z:\\nowhere";
  find.psz = none.c_str();
  EXPECT_EQ(::SendMessageW(lv, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), -1);
}

TEST_F(MainWindowTest, TabChangeKeepsTheButtonsFollowingTheList) {
  auto main = MakeMain();
  main->FormShow();
  EXPECT_FALSE(::IsWindowEnabled(main->SpeedButton(1)));
  main->ListView1().AddItem(scratch.path(), ItemType::Folder);
  TabCtrl_SetCurSel(main->PageControl1(), 2);
  main->PageControl1Change();
  EXPECT_TRUE(::IsWindowEnabled(main->SpeedButton(1)));
  EXPECT_TRUE(::IsWindowEnabled(main->SpeedButton(3)));
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

RECT ChildRect(HWND parent, HWND child) {
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void DragMouse(HWND window, POINT from, POINT to) {
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

TEST_F(MainWindowTest, SplittersOfTheFirstTabResizeItsPanes) {
  auto main = MakeMain();
  HWND w = main->hwnd();
  RECT tree = ChildRect(w, main->DirTree1().hwnd());
  EXPECT_EQ(tree.right - tree.left, 233);
  EXPECT_EQ(tree.bottom - tree.top, 137);

  // Between the tree and the file list: 50 pixels down.
  DragMouse(w, POINT{tree.left + 20, tree.bottom + 1}, POINT{tree.left + 20, tree.bottom + 51});
  tree = ChildRect(w, main->DirTree1().hwnd());
  RECT list = ChildRect(w, main->FileListView1().hwnd());
  EXPECT_EQ(tree.bottom - tree.top, 187);
  EXPECT_EQ(list.top, tree.bottom + 3);

  // Between the column and the protected list: 40 pixels right.
  DragMouse(w, POINT{tree.right + 1, tree.top + 20}, POINT{tree.right + 41, tree.top + 20});
  tree = ChildRect(w, main->DirTree1().hwnd());
  RECT protectedList = ChildRect(w, main->ListView1().hwnd());
  EXPECT_EQ(tree.right - tree.left, 273);
  EXPECT_GT(protectedList.left, tree.right);

  // Dragged past the bottom, the file list keeps a visible height.
  DragMouse(w, POINT{tree.left + 20, tree.bottom + 1}, POINT{tree.left + 20, 5000});
  list = ChildRect(w, main->FileListView1().hwnd());
  EXPECT_GE(list.bottom - list.top, 30);

  // A press away from the gaps moves nothing.
  const RECT before = ChildRect(w, main->DirTree1().hwnd());
  DragMouse(w, POINT{5, 5}, POINT{100, 100});
  const RECT after = ChildRect(w, main->DirTree1().hwnd());
  EXPECT_TRUE(::EqualRect(&before, &after));
}

// The real files, with a hook before each attribute write.
class HookedFiles : public IFileAttributes {
 public:
  std::function<void(int)> beforeWrite;
  int writes = 0;
  std::uint32_t Get(const std::wstring& path) override { return real_.Get(path); }
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override {
    if (beforeWrite) beforeWrite(++writes);
    return real_.Set(path, attributes);
  }

 private:
  Win32FileAttributes real_;
};

TEST_F(MainWindowTest, CloseAskedDuringAHideStopsItAndTheWindowClosesOnceItHasStopped) {
  std::vector<std::wstring> files, lines;
  for (int i = 0; i < 4; ++i) {
    files.push_back(scratch.File(L"f" + std::to_wstring(i) + L".txt"));
    lines.push_back(files.back());
    lines.push_back(L"Fichier");
  }
  const std::string bytes = EncodeListLines(lines);
  ASSERT_EQ(WriteListBytes(programFolder + L"dupont", bytes), static_cast<DWORD>(ERROR_SUCCESS));

  auto main = MakeMain();
  ASSERT_EQ(main->ListView1().ItemCount(), 4);
  HookedFiles fs;
  main->ListView1().SetFileSystem(&fs);
  main->ListView1().SetPace({0, 0});
  const HWND window = main->hwnd();
  MSG msg;
  // A quit left by an earlier test's window would stop the command at once.
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  fs.beforeWrite = [&](int n) {
    if (n == 2) ::PostMessageW(window, WM_CLOSE, 0, 0);
  };
  main->SpeedButton2Click();  // Tout Cacher
  // Stopped after the item at hand: two files hidden, two untouched, and
  // the window still there until the close it was asked runs.
  EXPECT_EQ(fs.writes, 2);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ((Attributes(files[i]) & FILE_ATTRIBUTE_HIDDEN) != 0, i < 2) << i;
  EXPECT_EQ(main->ListView1().StateText(1), L"Cach\u00E9");
  EXPECT_EQ(main->ListView1().StateText(2), L"Visible");
  EXPECT_TRUE(::IsWindow(window));
  for (int i = 0; i < 50 && ::IsWindow(window); ++i)
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), bytes);  // the close steps ran
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
}

// Two writers of one list file: what the other added while the window was
// open is kept at close, what the window removed stays removed.
TEST_F(MainWindowTest, RowsAnotherWriterAddedAreKeptAtClose) {
  const std::wstring list = programFolder + L"dupont";
  const std::wstring a = scratch.File(L"a.txt"), b = scratch.File(L"b.txt"), c = scratch.File(L"c.txt");
  ASSERT_EQ(WriteListFile(list, {a, L"Fichier", b, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  auto main = MakeMain();
  ASSERT_EQ(main->ListView1().ItemCount(), 2);
  main->ListView1().SetSelected(1, true);
  main->Supprimer2Click();  // b goes
  ::Sleep(20);              // a later write time than the load's
  ASSERT_EQ(WriteListFile(list, {a, L"Fichier", b, L"Fichier", c, L"Fichier", c, L"Fichier"}),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(main->FormCloseQuery());
  std::vector<std::wstring> lines;
  ASSERT_EQ(ReadListFile(list, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (std::vector<std::wstring>{a, L"Fichier", c, L"Fichier"}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.rfind(L"1 élément ajouté au fichier \"" + list + L"\"", 0), 0u);

  // An untouched window: a row another writer removed stays removed.
  messages.shown.clear();
  auto next = MakeMain();
  ASSERT_EQ(next->ListView1().ItemCount(), 2);
  ASSERT_EQ(WriteListFile(list, {c, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(next->FormCloseQuery());
  ASSERT_EQ(ReadListFile(list, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (std::vector<std::wstring>{c, L"Fichier"}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"1 élément retiré"), std::wstring::npos);

  // Deleted or emptied while the window is open: no writer meant that, and
  // the rows are written back.
  for (const bool deleted : {true, false}) {
    ASSERT_EQ(WriteListFile(list, {a, L"Fichier", c, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
    messages.shown.clear();
    auto open = MakeMain();
    if (deleted) ::DeleteFileW(list.c_str());
    else ASSERT_EQ(WriteListFile(list, {}), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(open->FormCloseQuery());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"Le fichier \"" + list + L"\" " +
                                          (deleted ? L"avait disparu" : L"avait été vidé") +
                                          L" pendant que Ferlane était ouvert : ses 2 éléments y ont été réécrits.");
  }
}

// A list an earlier version left in the user's VirtualStore copy of the
// program's folder is moved in when none lies beside the program.
TEST_F(MainWindowTest, AListLeftInTheVirtualStoreIsMovedIn) {
  wchar_t local[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, local, 0x001c, FALSE));
  ASSERT_EQ(programFolder[1], L':');
  const std::wstring copyFolder = std::wstring(local) + L"\\VirtualStore" + programFolder.substr(2);
  const std::wstring older = copyFolder + L"dupont", item = scratch.File(L"ancien.txt");
  ASSERT_EQ(::SHCreateDirectoryExW(nullptr, copyFolder.c_str(), nullptr), ERROR_SUCCESS);
  ASSERT_EQ(WriteListFile(older, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  auto main = MakeMain();
  // Moved in only once the start is let in.
  EXPECT_EQ(main->ListView1().ItemCount(), 0);
  EXPECT_NE(Attributes(older), INVALID_FILE_ATTRIBUTES);
  main->FormShow();
  ASSERT_EQ(main->ListView1().ItemCount(), 1);
  EXPECT_EQ(main->ListView1().Caption(0), item);
  EXPECT_EQ(Attributes(older), INVALID_FILE_ATTRIBUTES);
  // Once a list lies beside the program, an older one is left where it is.
  ASSERT_EQ(WriteListFile(older, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  main.reset();
  main = MakeMain();
  main->FormShow();
  EXPECT_NE(Attributes(older), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileW(older.c_str());
}

// A folder of the lists set by policy: the window moves the list beside the
// program there once, and says so once; a folder it cannot reach is said,
// and the list stays empty, takes no item and is written nowhere.
TEST_F(MainWindowTest, TheListFolderPolicyTakesTheListThereOnceAndAnUnreachableOneKeepsTheListEmpty) {
  const std::wstring item = scratch.File(L"paie.xls");
  ASSERT_EQ(WriteListFile(programFolder + L"dupont", {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  Policies policies;
  policies.listFolder = scratch.path() + L"Listes\\POSTE7";
  const std::wstring moved = policies.listFolder + L"\\dupont";
  auto said = [&](const std::wstring& words) {
    int n = 0;
    for (const auto& shown : messages.shown) n += shown.text.find(words) != std::wstring::npos;
    return n;
  };
  for (int run = 0; run < 2; ++run) {
    // The start's claim, taken before the folder existed; the window claims
    // the list under the folder it made before it says so.
    const ListWindowClaim claim(moved);
    bool claimedWhileSaid = false;
    messages.onShow = [&] {
      if (messages.shown.back().text.find(L"d\u00E9plac\u00E9e") != std::wstring::npos)
        claimedWhileSaid = ListWindowClaim(moved).Taken();
    };
    auto main = MakeMain(policies);
    main->SetListClaim(&claim);
    main->FormShow();
    messages.onShow = nullptr;
    EXPECT_EQ(claimedWhileSaid, run == 0);
    EXPECT_EQ(main->ListFileName(), moved);
    EXPECT_EQ(main->ListView1().ItemCount(), 1);
    EXPECT_TRUE(main->FormCloseQuery());
  }
  EXPECT_EQ(said(L"d\u00E9plac\u00E9e vers \"" + moved), 1);
  EXPECT_EQ(Attributes(programFolder + L"dupont"), INVALID_FILE_ATTRIBUTES);

  // A list beside the program again, and a folder under a file.
  ASSERT_EQ(WriteListFile(programFolder + L"dupont", {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string beside = FileBytes(programFolder + L"dupont");
  policies.listFolder = scratch.File(L"bloc") + L"\\Listes";
  auto main = MakeMain(policies);
  main->FormShow();
  EXPECT_EQ(said(policies.listFolder), 1);
  EXPECT_FALSE(main->ListUsable());
  EXPECT_EQ(main->ListView1().ItemCount(), 0);
  main->AjouterALaListeClick();
  EXPECT_EQ(main->ListView1().ItemCount(), 0);
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), beside);
  EXPECT_EQ(Attributes(policies.listFolder), INVALID_FILE_ATTRIBUTES);
  main.reset();

  // A list the system lets neither move nor remove (a standard user's beside
  // the program): copied into the folder, private from its creation; the old
  // one stays, is said once and is no longer used.
  policies.listFolder = scratch.path() + L"Listes\\POSTE8";
  const std::wstring copied = policies.listFolder + L"\\dupont";
  platform.renameAnswer = [&](const std::wstring& from, const std::wstring&) -> std::optional<DWORD> {
    if (from == programFolder + L"dupont") return ERROR_ACCESS_DENIED;
    return std::nullopt;
  };
  platform.undeletable = {programFolder + L"dupont"};
  for (int run = 0; run < 2; ++run) {
    auto again = MakeMain(policies);
    again->FormShow();
    EXPECT_EQ(again->ListFileName(), copied);
    EXPECT_EQ(again->ListView1().ItemCount(), 1);
    EXPECT_TRUE(again->FormCloseQuery());
  }
  EXPECT_EQ(said(L"\"" + programFolder + L"dupont\", ne peut pas \u00EAtre supprim\u00E9e"), 1);
  EXPECT_EQ(FileBytes(programFolder + L"dupont"), beside);
  std::vector<std::wstring> lines;
  EXPECT_EQ(ReadListFile(copied, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (std::vector<std::wstring>{item, L"Fichier"}));
  bool madePrivate = false;
  for (const std::wstring& made : platform.createdPrivate) madePrivate |= made.rfind(policies.listFolder, 0) == 0;
  EXPECT_TRUE(madePrivate);
}

}  // namespace
}  // namespace ferlane
