// Tabs 2 to 4 of the real main window against the real special folders of the
// prefix, with real shortcut files and the shell's own moves.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/MainWindow.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "protect/ListFileIo.h"
#include "resource.h"
#include "shellfolders/ShellFolders.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Text(HWND h) {
  wchar_t buf[MAX_PATH * 2] = {};
  ::GetWindowTextW(h, buf, MAX_PATH * 2);
  return buf;
}

std::string Bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// A real shortcut made by the shell's link object.
void MakeShortcut(const std::wstring& path, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
            S_OK);
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK);
  file->Release();
  link->Release();
  ASSERT_TRUE(Exists(path));
}

// Whether `path`, followed through every link, lies inside the prefix's C:
// drive; asked of the Unix shell, since a link to the home looks like a folder.
bool InsidePrefix(const std::wstring& path) {
  using UnixNameFn = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixNameFn>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!unixName) return true;  // a real Windows: no Unix home behind it
  auto unix = [&](const std::wstring& p) {
    char* n = unixName(p.c_str());
    std::string s = n ? n : "";
    ::HeapFree(::GetProcessHeap(), 0, n);
    return s;
  };
  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  const std::wstring script = std::wstring(tmp) + L"inside.sh", answer = std::wstring(tmp) + L"inside.txt";
  ::DeleteFileW(answer.c_str());
  Write(script, "a=$(readlink -f '" + unix(path) + "'); c=$(readlink -f '" + unix(L"C:\\") +
                    "'); case \"$a\" in \"$c\"/*) echo inside;; *) echo outside;; esac > '" + unix(answer) +
                    ".part' && mv '" + unix(answer) + ".part' '" + unix(answer) + "'\n");
  const std::string shell = "/bin/sh " + unix(script);
  std::wstring line(shell.begin(), shell.end());
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  for (int i = 0; i < 300 && !Exists(answer); ++i) ::Sleep(50);
  return Bytes(answer) == "inside\n";
}

class ShellFoldersTest : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    platform.userName = L"dupont";
    programFiles = scratch.Folder(L"Program Files");
    platform.programFiles = programFiles;
    programFiles64 = scratch.Folder(L"Program Files 64");
    platform.programFiles64 = programFiles64;
    commonDesktop = SpecialFolderPath(nullptr, kCsidlCommonDesktopDirectory).value_or(L"");
    personalDesktop = SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(L"");
    commonPrograms = SpecialFolderPath(nullptr, kCsidlCommonPrograms).value_or(L"");
    personalPrograms = SpecialFolderPath(nullptr, kCsidlPrograms).value_or(L"");
    // Nothing below may touch a folder of the Linux home.
    ASSERT_TRUE(InsidePrefix(personalDesktop)) << "the personal desktop is a link out of the prefix";
    for (const auto* f : {&commonDesktop, &personalDesktop, &commonPrograms, &personalPrograms}) {
      ASSERT_FALSE(f->empty());
      ::CreateDirectoryW(f->c_str(), nullptr);
    }
    storeDesktop = programFiles + L"\\Ferlane\\Ferlane Administrateur dupont\\Desktop";
    storePrograms = programFiles + L"\\Ferlane\\Ferlane Administrateur dupont\\Programs";
  }
  void TearDown() override {
    main.reset();
    std::error_code ec;
    for (const auto& p : made) std::filesystem::remove_all(std::filesystem::path(p), ec);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  }

  // Items the test makes in the shared folders are removed afterwards,
  // wherever the moves took them.
  std::wstring Item(const std::wstring& name) {
    for (const auto* f : {&commonDesktop, &personalDesktop, &commonPrograms, &personalPrograms, &storeDesktop,
                          &storePrograms})
      made.push_back(*f + L"\\" + name);
    return name;
  }

  void Start() {
    main = std::make_unique<Tficheprincipale>(scratch.Folder(L"Outils") + L"\\");
    ASSERT_TRUE(main->Create(::GetModuleHandleW(nullptr)));
    main->FormShow();
    test::PumpMessages();
  }
  TFileListView& View(const wchar_t* name) { return *main->ShellFolderViews().View(name); }
  static int RowOf(TFileListView& view, const std::wstring& path) {
    for (int row = 0; row < view.ItemCount(); ++row)
      if (::lstrcmpiW(view.SubItem(row, 4).c_str(), path.c_str()) == 0) return row;
    return -1;
  }
  void Select(TFileListView& view, const std::wstring& path) {
    const int row = RowOf(view, path);
    ASSERT_GE(row, 0) << "not listed: " << std::string(path.begin(), path.end());
    view.SetSelected(row, true);
  }
  void Command(UINT id) { ::SendMessageW(main->hwnd(), WM_COMMAND, id, 0); }
  void ShowTab(int tab) {
    ::SetWindowPos(main->hwnd(), HWND_TOPMOST, 0, 0, 900, 700, SWP_SHOWWINDOW);
    TabCtrl_SetCurSel(main->PageControl1(), tab);
    NMHDR hdr{main->PageControl1(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(main->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    test::PumpMessages();
  }
  // A drag of the selected rows of `from` dropped on the middle of `onto`,
  // through the view's own mouse messages.
  void Drag(TFileListView& from, TFileListView& onto) {
    RECT r;
    ::GetWindowRect(onto.ListHwnd(), &r);
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ScreenToClient(from.hwnd(), &pt);
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = from.ListHwnd();
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = from.SelectedIndex();
    ::SendMessageW(from.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
    ::SendMessageW(from.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(from.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    test::PumpMessages();
  }

  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::unique_ptr<Tficheprincipale> main;
  std::wstring programFiles, programFiles64, commonDesktop, personalDesktop, commonPrograms, personalPrograms;
  std::wstring storeDesktop, storePrograms;
  std::vector<std::wstring> made;
};

TEST_F(ShellFoldersTest, PanelsShowTheFourFoldersAndTheStoreIsHiddenAtEveryStart) {
  Start();
  auto& folders = main->ShellFolderViews();
  EXPECT_EQ(Text(folders.Panel(ShellFolder::CommonPrograms)), commonPrograms);    // Panel8
  EXPECT_EQ(Text(folders.Panel(ShellFolder::PersonalPrograms)), personalPrograms);  // Panel9
  EXPECT_EQ(Text(folders.Panel(ShellFolder::CommonDesktop)), commonDesktop);        // Panel10
  EXPECT_EQ(Text(folders.Panel(ShellFolder::PersonalDesktop)), personalDesktop);    // Panel11
  EXPECT_EQ(View(L"bureaucommun").Directory(), commonDesktop + L"\\");
  EXPECT_EQ(View(L"burperso").Directory(), personalDesktop + L"\\");
  EXPECT_EQ(View(L"progperso").Directory(), personalPrograms + L"\\");
  EXPECT_EQ(View(L"progcach").Directory(), storePrograms + L"\\");
  EXPECT_EQ(View(L"burcach").Directory(), storeDesktop + L"\\");
  EXPECT_EQ(::GetFileAttributesW(storeDesktop.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY});

  // Attributes given to the store since are reset by the next start.
  ::SetFileAttributesW(storeDesktop.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  ::SetFileAttributesW(storePrograms.c_str(), FILE_ATTRIBUTE_NORMAL);
  Start();
  EXPECT_EQ(::GetFileAttributesW(storeDesktop.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(::GetFileAttributesW(storePrograms.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellFoldersTest, PersonalDesktopLiesInsideThePrefix) {
  Start();
  const std::wstring found = Text(main->ShellFolderViews().Panel(ShellFolder::PersonalDesktop));
  EXPECT_TRUE(InsidePrefix(found));
  EXPECT_EQ(::GetFileAttributesW(found.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

TEST_F(ShellFoldersTest, DropFromCommonDesktopMovesTheSelectedFileByItsRealName) {
  MakeShortcut(commonDesktop + L"\\" + Item(L"Ferlane Essai.lnk"), L"C:\\windows\\notepad.exe");
  // With extensions hidden both read "notes": only the selected one may move.
  Write(commonDesktop + L"\\" + Item(L"notes.txt"), "texte");
  MakeShortcut(commonDesktop + L"\\" + Item(L"notes.lnk"), L"C:\\windows\\regedit.exe");
  Start();
  ShowTab(1);
  auto &common = View(L"bureaucommun"), &personal = View(L"bureauperso");
  Select(common, commonDesktop + L"\\Ferlane Essai.lnk");
  Select(common, commonDesktop + L"\\notes.txt");
  Drag(common, personal);
  EXPECT_TRUE(Exists(personalDesktop + L"\\Ferlane Essai.lnk"));
  EXPECT_FALSE(Exists(commonDesktop + L"\\Ferlane Essai.lnk"));
  EXPECT_EQ(Bytes(personalDesktop + L"\\notes.txt"), "texte");
  EXPECT_TRUE(Exists(commonDesktop + L"\\notes.lnk"));
  EXPECT_FALSE(Exists(personalDesktop + L"\\notes.lnk"));
  // Both views were listed afresh.
  EXPECT_GE(RowOf(personal, personalDesktop + L"\\Ferlane Essai.lnk"), 0);
  EXPECT_LT(RowOf(common, commonDesktop + L"\\Ferlane Essai.lnk"), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellFoldersTest, DragOverRefusesEverythingButTheRoutePartner) {
  Start();
  auto& folders = main->ShellFolderViews();
  auto over = [&](const wchar_t* from, const wchar_t* onto) {
    return folders.DragOver(View(from), View(onto).ListHwnd(), POINT{});
  };
  EXPECT_TRUE(over(L"bureaucommun", L"bureauperso"));
  EXPECT_TRUE(over(L"programmesperso", L"programmescommuns"));
  EXPECT_FALSE(over(L"bureauperso", L"bureauperso"));  // onto itself
  EXPECT_FALSE(over(L"bureaucommun", L"programmesperso"));
  EXPECT_FALSE(over(L"programmescommuns", L"bureauperso"));
  EXPECT_FALSE(over(L"progperso", L"burperso"));
  EXPECT_FALSE(over(L"burcach", L"burcach"));
  EXPECT_FALSE(folders.DragOver(View(L"bureaucommun"), main->ListView1().hwnd(), POINT{}));
}

TEST_F(ShellFoldersTest, ProgramGroupMovesWholeBothWaysAndOtherFilesStay) {
  const std::wstring group = Item(L"Groupe Ferlane"), site = Item(L"Site.url");
  ::CreateDirectoryW((commonPrograms + L"\\" + group).c_str(), nullptr);
  ::CreateDirectoryW((commonPrograms + L"\\" + group + L"\\Outils").c_str(), nullptr);
  MakeShortcut(commonPrograms + L"\\" + group + L"\\Outils\\Bloc-notes.lnk", L"C:\\windows\\notepad.exe");
  Write(commonPrograms + L"\\" + site, "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
  Start();
  auto &common = View(L"programmescommuns"), &personal = View(L"programmesperso");
  Select(common, commonPrograms + L"\\" + group);
  Select(common, commonPrograms + L"\\" + site);
  main->ShellFolderViews().DragDrop(common, personal.ListHwnd(), POINT{});
  EXPECT_TRUE(Exists(personalPrograms + L"\\" + group + L"\\Outils\\Bloc-notes.lnk"));
  EXPECT_FALSE(Exists(commonPrograms + L"\\" + group));
  EXPECT_TRUE(Exists(commonPrograms + L"\\" + site));  // neither folder nor shortcut

  Select(personal, personalPrograms + L"\\" + group);
  main->ShellFolderViews().DragDrop(personal, common.ListHwnd(), POINT{});
  EXPECT_TRUE(Exists(commonPrograms + L"\\" + group + L"\\Outils\\Bloc-notes.lnk"));
  EXPECT_FALSE(Exists(personalPrograms + L"\\" + group));
  EXPECT_GE(RowOf(common, commonPrograms + L"\\" + group), 0);
}

TEST_F(ShellFoldersTest, HiddenItemsGoToTheStoreAndComeBackWhole) {
  MakeShortcut(personalDesktop + L"\\" + Item(L"Ferlane Cache.lnk"), L"C:\\windows\\notepad.exe");
  Write(personalDesktop + L"\\" + Item(L"lettre.txt"), "lettre");
  const std::wstring group = Item(L"Jeux Ferlane");
  ::CreateDirectoryW((personalPrograms + L"\\" + group).c_str(), nullptr);
  MakeShortcut(personalPrograms + L"\\" + group + L"\\Solitaire.lnk", L"C:\\windows\\notepad.exe");
  Start();
  ShowTab(2);
  Command(IDM_OPSPEBUR_TOUT_SELECTIONNER);  // every item of burperso
  Select(View(L"progperso"), personalPrograms + L"\\" + group);
  Command(IDM_OPSPEBUR_CACHER);
  Command(IDM_OPSPEPRO_CACHER);
  EXPECT_TRUE(Exists(storeDesktop + L"\\Ferlane Cache.lnk"));
  EXPECT_FALSE(Exists(personalDesktop + L"\\Ferlane Cache.lnk"));
  EXPECT_TRUE(Exists(personalDesktop + L"\\lettre.txt"));  // not a shortcut: stays
  EXPECT_TRUE(Exists(storePrograms + L"\\" + group + L"\\Solitaire.lnk"));
  EXPECT_FALSE(Exists(personalPrograms + L"\\" + group));
  EXPECT_GE(RowOf(View(L"burcach"), storeDesktop + L"\\Ferlane Cache.lnk"), 0);

  // "&Rétablir le bureau et les programmes" restores what is selected in both store views.
  ShowTab(3);
  Command(IDM_MENUCACHEBUR_TOUT_SELECTIONNER);
  Command(IDM_MENUCACHEPROG_TOUT_SELECTIONNER);
  Command(IDM_RETABLIR);
  EXPECT_TRUE(Exists(personalDesktop + L"\\Ferlane Cache.lnk"));
  EXPECT_TRUE(Exists(personalPrograms + L"\\" + group + L"\\Solitaire.lnk"));
  EXPECT_FALSE(Exists(storePrograms + L"\\" + group));
  EXPECT_GE(RowOf(View(L"bureauperso"), personalDesktop + L"\\Ferlane Cache.lnk"), 0);
  EXPECT_EQ(View(L"burcach").ItemCount(), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellFoldersTest, RestoreLooksAtTheStoreTopAndMenuDemarrerReturnsThere) {
  Start();
  const std::wstring group = Item(L"Jeux Ranges");
  ::CreateDirectoryW((storePrograms + L"\\" + group).c_str(), nullptr);
  MakeShortcut(storePrograms + L"\\" + group + L"\\" + Item(L"Dames.lnk"), L"C:\\windows\\notepad.exe");
  auto& progcach = View(L"progcach");
  progcach.SetDirectory(storePrograms + L"\\" + group);  // opened by a double-click
  Select(progcach, storePrograms + L"\\" + group + L"\\Dames.lnk");
  Command(IDM_MENUCACHEPROG_RETABLIR);
  // Looked for at the top of the store, the shortcut is not found: said once
  // (Wine's shell answers success and says nothing), and nothing moved.
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"« Dames.lnk »"), std::wstring::npos);
  EXPECT_TRUE(Exists(storePrograms + L"\\" + group + L"\\Dames.lnk"));
  EXPECT_EQ(progcach.Directory(), storePrograms + L"\\");  // re-set to the store's top

  progcach.SetDirectory(storePrograms + L"\\" + group);
  Command(IDC_SPEEDBUTTON4);  // "Menu <Démarrer>"
  EXPECT_EQ(progcach.Directory(), storePrograms + L"\\");
}

TEST_F(ShellFoldersTest, AConflictAsksAndNoKeepsBothItems) {
  Write(commonDesktop + L"\\" + Item(L"Doublon.lnk"), "commun");
  Write(personalDesktop + L"\\Doublon.lnk", "perso");
  const std::wstring group = Item(L"Groupe Double");
  ::CreateDirectoryW((commonPrograms + L"\\" + group).c_str(), nullptr);
  ::CreateDirectoryW((personalPrograms + L"\\" + group).c_str(), nullptr);
  Start();
  auto& folders = main->ShellFolderViews();
  auto &common = View(L"bureaucommun"), &personal = View(L"bureauperso");
  messages.answers = {IDNO, IDNO};
  Select(common, commonDesktop + L"\\Doublon.lnk");
  folders.DragDrop(common, personal.ListHwnd(), POINT{});
  Select(View(L"programmescommuns"), commonPrograms + L"\\" + group);
  folders.DragDrop(View(L"programmescommuns"), View(L"programmesperso").ListHwnd(), POINT{});
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].flags & 0xF, UINT{MB_YESNO});
  EXPECT_NE(messages.shown[0].text.find(L"« Doublon.lnk »"), std::wstring::npos);
  EXPECT_NE(messages.shown[1].text.find(group), std::wstring::npos);
  EXPECT_EQ(Bytes(commonDesktop + L"\\Doublon.lnk"), "commun");
  EXPECT_EQ(Bytes(personalDesktop + L"\\Doublon.lnk"), "perso");
  EXPECT_TRUE(Exists(commonPrograms + L"\\" + group));

  // "Oui" replaces, and nothing asks a second time.
  messages.answers = {IDYES};
  Select(common, commonDesktop + L"\\Doublon.lnk");
  folders.DragDrop(common, personal.ListHwnd(), POINT{});
  EXPECT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(Bytes(personalDesktop + L"\\Doublon.lnk"), "commun");
  EXPECT_FALSE(Exists(commonDesktop + L"\\Doublon.lnk"));
}

TEST_F(ShellFoldersTest, AStoreThatCannotBeCreatedIsToldOnceAndNothingMoves) {
  // A file where the store's first level should be: no folder can be made.
  Write(programFiles + L"\\Ferlane", "");
  MakeShortcut(personalDesktop + L"\\" + Item(L"Reste.lnk"), L"C:\\windows\\notepad.exe");
  Start();
  EXPECT_TRUE(messages.shown.empty());  // start-up itself stays silent
  // Shown empty: neither the drives nor anything else in the store's place.
  EXPECT_FALSE(View(L"burcach").DriveMode());
  EXPECT_EQ(View(L"burcach").ItemCount(), 0);
  EXPECT_EQ(View(L"progcach").Directory(), storePrograms + L"\\");
  Select(View(L"burperso"), personalDesktop + L"\\Reste.lnk");
  Command(IDM_OPSPEBUR_CACHER);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(storeDesktop), std::wstring::npos);
  EXPECT_TRUE(Exists(personalDesktop + L"\\Reste.lnk"));
  EXPECT_FALSE(Exists(programFiles + L"\\Ferlane\\Ferlane Administrateur dupont"));

  // With nothing to select, the whole store is asked for; its absence is
  // then said once for both folders.
  Command(IDM_MENUCACHEBUR_TOUT_SELECTIONNER);
  main->SpeedButton5Click();
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[1].flags & 0xF, UINT{MB_YESNO});
  EXPECT_NE(messages.shown[2].text.find(storeDesktop), std::wstring::npos);
  EXPECT_NE(messages.shown[2].text.find(storePrograms), std::wstring::npos);
}

// With nothing selected on tab 4 the button moved nothing and said nothing:
// it now asks, and Oui puts back everything, never over a name that is taken.
TEST_F(ShellFoldersTest, RestoreWithNothingSelectedAsksThenPutsBackTheWholeStore) {
  Start();
  MakeShortcut(storeDesktop + L"\\" + Item(L"Tout Revient.lnk"), L"C:\\windows\\notepad.exe");
  const std::wstring group = Item(L"Groupe Revenu");
  ::CreateDirectoryW((storePrograms + L"\\" + group).c_str(), nullptr);
  MakeShortcut(storePrograms + L"\\" + group + L"\\Dames.lnk", L"C:\\windows\\notepad.exe");
  Write(storeDesktop + L"\\" + Item(L"Pris.lnk"), "reserve");
  Write(personalDesktop + L"\\Pris.lnk", "bureau");
  ShowTab(0);  // from another tab, by the "&Action" menu

  messages.answers = {IDNO};
  Command(IDM_RETABLIR);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            L"Aucun \u00E9l\u00E9ment n'est s\u00E9lectionn\u00E9 dans l'onglet 4. R\u00E9tablir tout le contenu "
            L"de la r\u00E9serve ?");
  EXPECT_EQ(messages.shown[0].flags & 0xF, UINT{MB_YESNO});
  EXPECT_TRUE(Exists(storeDesktop + L"\\Tout Revient.lnk"));  // Non: nothing moved
  EXPECT_TRUE(Exists(storePrograms + L"\\" + group));

  messages.answers = {IDYES};
  Command(static_cast<UINT>(::GetDlgCtrlID(main->SpeedButton(5))));  // the toolbar button
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_TRUE(Exists(personalDesktop + L"\\Tout Revient.lnk"));
  EXPECT_TRUE(Exists(personalPrograms + L"\\" + group + L"\\Dames.lnk"));
  EXPECT_FALSE(Exists(storePrograms + L"\\" + group));
  // The taken name stays in the store, unreplaced, and is named.
  EXPECT_EQ(Bytes(personalDesktop + L"\\Pris.lnk"), "bureau");
  EXPECT_EQ(Bytes(storeDesktop + L"\\Pris.lnk"), "reserve");
  const std::wstring& told = messages.shown[2].text;
  EXPECT_NE(told.find(storeDesktop + L"\\Pris.lnk"), std::wstring::npos);
  EXPECT_NE(told.find(L"\u00C9l\u00E9ments r\u00E9tablis : 2 ; non r\u00E9tablis : 1."), std::wstring::npos);
  EXPECT_EQ(told.find(L"Tout Revient"), std::wstring::npos);  // only what stayed is named
  EXPECT_TRUE(messages.shown[2].flags & MB_ICONWARNING);
  // The views show where the items went.
  EXPECT_GE(RowOf(View(L"bureauperso"), personalDesktop + L"\\Tout Revient.lnk"), 0);
  EXPECT_EQ(View(L"progcach").ItemCount(), 0);
  EXPECT_EQ(View(L"burcach").ItemCount(), 1);
}

// Other users can neither browse the store nor read the list: both carry the
// private rights from the start (kept here as Windows keeps them); what has
// them already is not written again, a folder an older store's items came
// into is, a new list file has them from its creation, and a refusal is told
// once in a run.
TEST_F(ShellFoldersTest, TheStoreAndTheListFileAreClosedToOtherUsers) {
  platform.keptRights.emplace();
  (*platform.keptRights)[storeDesktop] = PrivateRights(true);
  const std::wstring list = scratch.Folder(L"Outils") + L"\\dupont";
  ASSERT_EQ(WriteListFile(list, {}), static_cast<DWORD>(ERROR_SUCCESS));
  platform.rightsWrites.clear();
  Start();
  EXPECT_EQ(platform.rightsWrites, (std::vector<std::wstring>{storePrograms, list}));
  for (const std::wstring* path : std::initializer_list<const std::wstring*>{&storeDesktop, &storePrograms, &list})
    EXPECT_TRUE(SameRights(platform.keptRights->at(*path), PrivateRights(path != &list)));

  const std::wstring old = programFiles + L"\\Ferlane\\Ferlane Utilisateur dupont\\Desktop";
  ASSERT_EQ(CreateFolderPath(old), static_cast<DWORD>(ERROR_SUCCESS));
  Write(old + L"\\" + Item(L"Venu.lnk"), "");
  platform.rightsWrites.clear();
  main.reset();
  Start();
  EXPECT_EQ(platform.rightsWrites, (std::vector<std::wstring>{storeDesktop + L"\\Venu.lnk", storeDesktop}));

  DWORD refused = ERROR_SUCCESS;
  platform.rightsWrites.clear();
  ASSERT_EQ(WriteListFile(list, {L"C:\\x", L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::wstring written = platform.createdPrivate.back();
  EXPECT_EQ(written.substr(0, list.size() - 6), list.substr(0, list.size() - 6));
  EXPECT_NE(written, list);  // the new file, private from its creation, before it was renamed
  EXPECT_FALSE(Exists(written));
  EXPECT_TRUE(platform.rightsWrites.empty());  // never narrowed afterwards

  platform.rightsRefusal = ERROR_ACCESS_DENIED;
  EXPECT_EQ(WriteListBytes(list, "", {}, &refused), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(refused, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Bytes(list), "");  // written all the same
  (*platform.keptRights)[storePrograms].fromParent = true;
  main.reset();
  Start();
  ASSERT_TRUE(main->FormCloseQuery());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"Ferlane Administrateur dupont\" n'ont pas pu"), std::wstring::npos);
}

// The store the 64-bit program made under its own Program Files folder joins
// the machine's store at start: tab 4 lists its items and restores them. A
// name both stores hold stays in the old one and is named once.
TEST_F(ShellFoldersTest, TheOtherWidthsStoreJoinsTheStoreAndIsRestored) {
  const std::wstring oldUser = programFiles64 + L"\\Ferlane\\Ferlane Administrateur dupont";
  const std::wstring oldDesktop = oldUser + L"\\Desktop", oldPrograms = oldUser + L"\\Programs";
  ASSERT_EQ(CreateFolderPath(oldDesktop), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(CreateFolderPath(oldPrograms + L"\\" + Item(L"Groupe 64")), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(CreateFolderPath(storeDesktop), static_cast<DWORD>(ERROR_SUCCESS));
  MakeShortcut(oldDesktop + L"\\" + Item(L"Cache64.lnk"), L"C:\\windows\\notepad.exe");
  MakeShortcut(oldPrograms + L"\\Groupe 64\\Outil.lnk", L"C:\\windows\\notepad.exe");
  Write(oldDesktop + L"\\" + Item(L"Double.lnk"), "ancien");
  Write(storeDesktop + L"\\Double.lnk", "actuel");
  Write(programFiles64 + L"\\Ferlane\\ferlane64.exe", "");  // the 64-bit program's own folder

  Start();
  EXPECT_TRUE(Exists(storeDesktop + L"\\Cache64.lnk"));
  EXPECT_TRUE(Exists(storePrograms + L"\\Groupe 64\\Outil.lnk"));
  EXPECT_FALSE(Exists(oldPrograms));
  EXPECT_EQ(Bytes(storeDesktop + L"\\Double.lnk"), "actuel");
  EXPECT_EQ(Bytes(oldDesktop + L"\\Double.lnk"), "ancien");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"« Double.lnk »"), std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(oldDesktop), std::wstring::npos);
  EXPECT_TRUE(Exists(programFiles64 + L"\\Ferlane\\ferlane64.exe"));

  TFileListView& hidden = View(L"burcach");
  Select(hidden, storeDesktop + L"\\Cache64.lnk");
  Command(IDM_MENUCACHEBUR_RETABLIR);
  EXPECT_TRUE(Exists(personalDesktop + L"\\Cache64.lnk"));
  EXPECT_FALSE(Exists(storeDesktop + L"\\Cache64.lnk"));
  Select(View(L"progcach"), storePrograms + L"\\Groupe 64");
  Command(IDM_MENUCACHEPROG_RETABLIR);
  EXPECT_TRUE(Exists(personalPrograms + L"\\Groupe 64\\Outil.lnk"));

  // Once emptied, the old store's levels go; a later start finds nothing more.
  ::DeleteFileW((oldDesktop + L"\\Double.lnk").c_str());
  main.reset();
  messages.shown.clear();
  Start();
  EXPECT_FALSE(Exists(oldUser));
  EXPECT_TRUE(messages.shown.empty());
}

// An item kept in an older store by a name the store holds was named at
// every start; now once, and again only when the set of such items changes.
TEST_F(ShellFoldersTest, AStrandedItemIsNamedOnceAndAgainOnlyWhenTheSetChanges) {
  const std::wstring oldDesktop = programFiles64 + L"\\Ferlane\\Ferlane Administrateur dupont\\Desktop";
  ASSERT_EQ(CreateFolderPath(oldDesktop), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(CreateFolderPath(storeDesktop), static_cast<DWORD>(ERROR_SUCCESS));
  auto strand = [&](const wchar_t* name) {
    Write(oldDesktop + L"\\" + Item(name), "ancien");
    Write(storeDesktop + L"\\" + name, "actuel");
  };
  auto restart = [&] {
    main.reset();
    messages.shown.clear();
    Start();
  };
  strand(L"Reste.lnk");
  Start();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"« Reste.lnk »"), std::wstring::npos);
  restart();
  EXPECT_TRUE(messages.shown.empty());  // the same set: said before
  strand(L"Autre.lnk");
  restart();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"« Autre.lnk »"), std::wstring::npos);
  restart();
  EXPECT_TRUE(messages.shown.empty());
  // Settled, then stranded anew: the set changed twice, and is named again.
  ::DeleteFileW((oldDesktop + L"\\Reste.lnk").c_str());
  ::DeleteFileW((oldDesktop + L"\\Autre.lnk").c_str());
  restart();
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_EQ(CreateFolderPath(oldDesktop), static_cast<DWORD>(ERROR_SUCCESS));
  strand(L"Reste.lnk");
  restart();
  EXPECT_EQ(messages.shown.size(), 1u);
}

// A program that asked for no execution level, run by an administrator under
// UAC, had its store redirected to the user's VirtualStore: its items join the
// store too.
TEST_F(ShellFoldersTest, TheVirtualStoreCopyOfTheStoreJoinsTheStore) {
  const std::wstring local = SpecialFolderPath(nullptr, 0x001c).value_or(L"");
  ASSERT_FALSE(local.empty());
  ASSERT_EQ(programFiles[1], L':');
  const std::wstring virtualRoot = local + L"\\VirtualStore" + programFiles.substr(2);
  made.push_back(local + L"\\VirtualStore");
  const std::wstring old = virtualRoot + L"\\Ferlane\\Ferlane Administrateur dupont\\Programs";
  ASSERT_EQ(CreateFolderPath(old), static_cast<DWORD>(ERROR_SUCCESS));
  MakeShortcut(old + L"\\" + Item(L"Virtuel.lnk"), L"C:\\windows\\notepad.exe");
  Start();
  EXPECT_TRUE(Exists(storePrograms + L"\\Virtuel.lnk"));
  EXPECT_FALSE(Exists(virtualRoot + L"\\Ferlane\\Ferlane Administrateur dupont"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_GE(RowOf(View(L"progcach"), storePrograms + L"\\Virtuel.lnk"), 0);
}

// The store an earlier version named by the other role word (on Windows Vista
// to 11, or before the version the program sees changed) joins the store.
TEST_F(ShellFoldersTest, TheOtherRolesStoreJoinsTheStore) {
  const std::wstring oldUser = programFiles + L"\\Ferlane\\Ferlane Utilisateur dupont";
  ASSERT_EQ(CreateFolderPath(oldUser + L"\\Desktop"), static_cast<DWORD>(ERROR_SUCCESS));
  MakeShortcut(oldUser + L"\\Desktop\\" + Item(L"Role.lnk"), L"C:\\windows\\notepad.exe");
  Start();
  EXPECT_TRUE(Exists(storeDesktop + L"\\Role.lnk"));
  EXPECT_FALSE(Exists(oldUser));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_GE(RowOf(View(L"burcach"), storeDesktop + L"\\Role.lnk"), 0);
}

TEST_F(ShellFoldersTest, AProgramGroupDroppedOnItsNamesakeIsMergedItemByItemAndNothingIsLost) {
  const std::wstring group = Item(L"Groupe Fusion");
  const std::wstring from = commonPrograms + L"\\" + group, to = personalPrograms + L"\\" + group;
  for (const auto* f : {&from, &to}) {
    ::CreateDirectoryW(f->c_str(), nullptr);
    ::CreateDirectoryW((*f + L"\\Outils").c_str(), nullptr);
    Write(*f + L"\\Garde.lnk", *f == from ? "commun" : "perso");
    Write(*f + L"\\Pareil.lnk", *f == from ? "commun" : "perso");
  }
  Write(from + L"\\Seul.lnk", "seul");
  Write(from + L"\\Outils\\Bloc.lnk", "bloc");
  Write(to + L"\\Outils\\Calc.lnk", "calc");
  Start();
  auto &common = View(L"programmescommuns"), &personal = View(L"programmesperso");
  // "Non" for Garde.lnk only, whatever order the questions come in.
  messages.onShow = [&] {
    messages.answers.push_back(messages.shown.back().text.find(L"Garde.lnk") != std::wstring::npos ? IDNO : IDYES);
  };
  Select(common, from);
  main->ShellFolderViews().DragDrop(common, personal.ListHwnd(), POINT{});
  ASSERT_EQ(messages.shown.size(), 5u);  // four questions, then what stayed
  const std::wstring& merge = messages.shown[0].text;
  EXPECT_NE(merge.find(L"fusionner"), std::wstring::npos) << std::string(merge.begin(), merge.end());
  EXPECT_NE(merge.find(L"« " + from + L" »"), std::wstring::npos);
  EXPECT_NE(merge.find(L"« " + to + L" »"), std::wstring::npos);
  EXPECT_EQ(Bytes(to + L"\\Seul.lnk"), "seul");
  EXPECT_EQ(Bytes(to + L"\\Pareil.lnk"), "commun");  // replaced, as agreed
  EXPECT_EQ(Bytes(to + L"\\Garde.lnk"), "perso");    // kept, as asked
  EXPECT_EQ(Bytes(to + L"\\Outils\\Bloc.lnk"), "bloc");
  EXPECT_EQ(Bytes(to + L"\\Outils\\Calc.lnk"), "calc");
  EXPECT_FALSE(Exists(from + L"\\Outils"));  // emptied: removed
  EXPECT_EQ(Bytes(from + L"\\Garde.lnk"), "commun");
  // What stayed is named once, after the command.
  const std::wstring& last = messages.shown.back().text;
  EXPECT_NE(last.find(L"« " + group + L"\\Garde.lnk »"), std::wstring::npos) << std::string(last.begin(), last.end());
  EXPECT_EQ(last.find(L"Outils"), std::wstring::npos);

  // Dropped again with every answer "Oui": one group is left, the common one goes.
  messages.onShow = nullptr;
  messages.shown.clear();
  Select(common, from);
  main->ShellFolderViews().DragDrop(common, personal.ListHwnd(), POINT{});
  EXPECT_EQ(messages.shown.size(), 2u);  // the merge, then Garde.lnk
  EXPECT_FALSE(Exists(from));
  EXPECT_EQ(Bytes(to + L"\\Garde.lnk"), "commun");
  EXPECT_LT(RowOf(common, from), 0);
}

TEST_F(ShellFoldersTest, HidingAndRestoringMergeGroupsOfOneNameWithTheStore) {
  Start();
  const std::wstring group = Item(L"Jeux Doubles");
  for (const auto& f : {personalPrograms, storePrograms}) ::CreateDirectoryW((f + L"\\" + group).c_str(), nullptr);
  Write(personalPrograms + L"\\" + group + L"\\Dames.lnk", "dames");
  Write(storePrograms + L"\\" + group + L"\\Echecs.lnk", "echecs");
  ShowTab(2);
  main->ShellFolderViews().ShowShellFolder(&View(L"progperso"), kCsidlPrograms);
  Select(View(L"progperso"), personalPrograms + L"\\" + group);
  Command(IDM_OPSPEPRO_CACHER);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"fusionner"), std::wstring::npos);
  EXPECT_EQ(Bytes(storePrograms + L"\\" + group + L"\\Dames.lnk"), "dames");
  EXPECT_EQ(Bytes(storePrograms + L"\\" + group + L"\\Echecs.lnk"), "echecs");
  EXPECT_FALSE(Exists(personalPrograms + L"\\" + group));

  ::CreateDirectoryW((personalPrograms + L"\\" + group).c_str(), nullptr);
  Write(personalPrograms + L"\\" + group + L"\\Go.lnk", "go");
  Select(View(L"progcach"), storePrograms + L"\\" + group);
  Command(IDM_MENUCACHEPROG_RETABLIR);
  EXPECT_EQ(messages.shown.size(), 2u);
  for (const wchar_t* name : {L"Dames.lnk", L"Echecs.lnk", L"Go.lnk"})
    EXPECT_TRUE(Exists(personalPrograms + L"\\" + group + L"\\" + name)) << name;
  EXPECT_FALSE(Exists(storePrograms + L"\\" + group));
}

TEST_F(ShellFoldersTest, AStoreDeletedDuringARunIsShownEmptyToldOnceAndMadeAgainByTheNextHide) {
  MakeShortcut(personalDesktop + L"\\" + Item(L"Revient.lnk"), L"C:\\windows\\notepad.exe");
  std::filesystem::create_directories(std::filesystem::path(storeDesktop));
  Write(storeDesktop + L"\\" + Item(L"Parti.lnk"), "parti");
  Start();
  ShowTab(3);
  auto& burcach = View(L"burcach");
  ASSERT_EQ(burcach.ItemCount(), 1);
  // Another program adds to the store: listed at the next look.
  Write(storeDesktop + L"\\" + Item(L"Ajout.lnk"), "ajout");
  main->ShellFolderViews().WatchStore(true);
  EXPECT_GE(RowOf(burcach, storeDesktop + L"\\Ajout.lnk"), 0);

  std::error_code ec;
  ::SetCurrentDirectoryW(L"C:\\");  // a listing made the store the current folder, which Windows keeps
  std::filesystem::remove_all(std::filesystem::path(programFiles + L"\\Ferlane"), ec);
  ASSERT_FALSE(Exists(storeDesktop)) << ec.message();
  main->ShellFolderViews().WatchStore(true);
  EXPECT_EQ(burcach.ItemCount(), 0);
  EXPECT_FALSE(burcach.DriveMode());
  EXPECT_EQ(View(L"progcach").ItemCount(), 0);
  ASSERT_EQ(messages.shown.size(), 1u);  // one message for both folders
  EXPECT_NE(messages.shown[0].text.find(storeDesktop), std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(storePrograms), std::wstring::npos);
  main->ShellFolderViews().WatchStore(true);
  ShowTab(0);
  ShowTab(3);
  EXPECT_EQ(messages.shown.size(), 1u);  // told once

  ShowTab(2);
  Select(View(L"burperso"), personalDesktop + L"\\Revient.lnk");
  Command(IDM_OPSPEBUR_CACHER);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(Exists(storeDesktop + L"\\Revient.lnk"));
  EXPECT_EQ(::GetFileAttributesW(storeDesktop.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_GE(RowOf(burcach, storeDesktop + L"\\Revient.lnk"), 0);

  // A file where a store folder was: empty again, and said why.
  ShowTab(3);
  ::SetCurrentDirectoryW(L"C:\\");
  std::filesystem::remove_all(std::filesystem::path(storePrograms), ec);
  Write(storePrograms, "");
  main->ShellFolderViews().WatchStore(true);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[1].text.find(L"un fichier"), std::wstring::npos);
  EXPECT_EQ(View(L"progcach").ItemCount(), 0);
  EXPECT_FALSE(View(L"progcach").DriveMode());
  ::DeleteFileW(storePrograms.c_str());

  // The programs' hide makes the store again as well, with no desktop hide before it.
  std::filesystem::remove_all(std::filesystem::path(programFiles + L"\\Ferlane"), ec);
  ASSERT_FALSE(Exists(storePrograms));
  Write(personalPrograms + L"\\" + Item(L"Revient aussi.lnk"), "programme");
  ShowTab(2);
  main->ShellFolderViews().ShowShellFolder(&View(L"progperso"), kCsidlPrograms);
  Select(View(L"progperso"), personalPrograms + L"\\Revient aussi.lnk");
  Command(IDM_OPSPEPRO_CACHER);
  EXPECT_EQ(Bytes(storePrograms + L"\\Revient aussi.lnk"), "programme");
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(ShellFoldersTest, ANameTooLongForTheStoreIsToldBeforeAnythingMoves) {
  Start();
  // Fits on the desktop, not in the store's longer path.
  const std::size_t length = 260 - storeDesktop.size();
  ASSERT_LE(personalDesktop.size() + 1 + length, 259u);
  const std::wstring longName = Item(std::wstring(length - 4, L'n') + L".lnk");
  MakeShortcut(personalDesktop + L"\\" + longName, L"C:\\windows\\notepad.exe");
  MakeShortcut(personalDesktop + L"\\" + Item(L"Court.lnk"), L"C:\\windows\\notepad.exe");
  ShowTab(2);
  main->ShellFolderViews().ShowShellFolder(&View(L"burperso"), kCsidlDesktop);
  Select(View(L"burperso"), personalDesktop + L"\\" + longName);
  Select(View(L"burperso"), personalDesktop + L"\\Court.lnk");
  messages.onShow = [&] { EXPECT_TRUE(Exists(personalDesktop + L"\\Court.lnk")) << "told after a move"; };
  Command(IDM_OPSPEBUR_CACHER);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"trop long pour le dossier caché"), std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(longName), std::wstring::npos);
  EXPECT_TRUE(Exists(personalDesktop + L"\\" + longName));
  EXPECT_TRUE(Exists(storeDesktop + L"\\Court.lnk"));
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

// A start refused at the administrator test or by a damaged stored password
// (text that looks like a hash, or a value that is no text) writes nothing:
// an older store keeps its item, no store folder is made, no rights are
// given, the older list file stays where it is, the administrator's folder
// for the lists is not made, a killed save's debris stays, and the refusal
// is the only message.
TEST_F(ShellFoldersTest, ARefusedStartMakesMovesAndSaysNothingElse) {
  const std::wstring folder = programFiles + L"\\Ferlane\\";
  const std::wstring olderStore = programFiles + L"\\Ferlane\\Ferlane Utilisateur dupont\\Desktop";
  const std::wstring olderList = programFiles64 + L"\\Ferlane\\dupont";
  struct Refusal {
    const char* name;
    std::function<void()> set;
    bool listBesideProgram = false;  // no folder for the lists: the debris lies beside the list
  };
  auto writeStored = [](auto write) {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\Ferlane", true), ERROR_SUCCESS);
    write(key);
  };
  const Refusal refusals[] = {
      {"not an administrator on XP",
       [&] {
         platform.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L""});
         platform.administrator = false;
       }},
      {"damaged hash", [&] { writeStored([](RegistryKey& k) { k.WriteString(L"dupont", L"$argon2id$v=19$abc"); }); }},
      {"not text", [&] { writeStored([](RegistryKey& k) { k.WriteDword(L"dupont", 1234); }); }},
      {"not an administrator on XP, the list beside the program",
       [&] {
         platform.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L""});
         platform.administrator = false;
       },
       true},
  };
  for (const Refusal& refusal : refusals) {
    ResetTermination();
    platform.version.reset();
    platform.administrator.reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    messages.shown.clear();
    platform.rightsWrites.clear();
    ASSERT_EQ(CreateFolderPath(olderStore), static_cast<DWORD>(ERROR_SUCCESS));
    Write(olderStore + L"\\Vieux.lnk", "old");
    ASSERT_EQ(CreateFolderPath(programFiles64 + L"\\Ferlane"), static_cast<DWORD>(ERROR_SUCCESS));
    Write(olderList, "C:\\x\r\nFichier\r\n");
    Write(folder + L"fer1A.tmp", "debris");
    refusal.set();

    Policies policies;  // an administrator's folder for the lists, not made either
    if (!refusal.listBesideProgram) policies.listFolder = programFiles + L"\\Listes";
    auto window = std::make_unique<Tficheprincipale>(folder, policies);
    ASSERT_TRUE(window->Create(::GetModuleHandleW(nullptr)));
    window->FormShow();
    EXPECT_TRUE(TerminationRequested()) << refusal.name;
    EXPECT_TRUE(policies.listFolder.empty() || !Exists(policies.listFolder)) << refusal.name;
    EXPECT_TRUE(window->FormCloseQuery()) << refusal.name;
    window.reset();
    EXPECT_EQ(Bytes(olderStore + L"\\Vieux.lnk"), "old") << refusal.name;
    EXPECT_FALSE(Exists(programFiles + L"\\Ferlane\\Ferlane Administrateur dupont")) << refusal.name;
    EXPECT_EQ(Bytes(olderList), "C:\\x\r\nFichier\r\n") << refusal.name;
    EXPECT_FALSE(Exists(folder + L"dupont")) << refusal.name;
    EXPECT_TRUE(Exists(folder + L"fer1A.tmp")) << refusal.name;
    EXPECT_TRUE(platform.rightsWrites.empty()) << refusal.name;
    EXPECT_EQ(messages.shown.size(), 1u) << refusal.name;
  }
  ResetTermination();
}

// The rights follow the place, as Windows would keep them (Wine keeps
// none): a group hidden from the Programs, and what it holds, drops what it
// inherited there and every own entry but the user's; restored, it drops the
// store's and keeps its own.
TEST_F(ShellFoldersTest, RightsFollowWhatMovesInAndOutOfTheStore) {
  platform.keptRights.emplace();
  const std::wstring group = Item(L"Groupe Droits");
  ::CreateDirectoryW((personalPrograms + L"\\" + group).c_str(), nullptr);
  MakeShortcut(personalPrograms + L"\\" + group + L"\\Outil.lnk", L"C:\\windows\\notepad.exe");
  const RightsEntry inheritedAll{Trustee::Other, 0x1200A9, true, kInherited, {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}};
  const RightsEntry ownOther{Trustee::Other, 0x1200A9, true, 0, {1, 1, 0, 0, 0, 0, 0, 5, 4, 0, 0, 0}};
  const RightsEntry ownUser{Trustee::User, kChangeRights, true, 0, {}};
  const RightsEntry inheritedStore{Trustee::Administrators, kFullControl, true, kInherited, {}};
  // What a rename carries along, found at the new place.
  const std::wstring hidden = storePrograms + L"\\" + group, shown = personalPrograms + L"\\" + group;
  for (const std::wstring& path : {hidden, hidden + L"\\Outil.lnk"})
    (*platform.keptRights)[path] = FileRights{true, false, {inheritedAll, ownOther, ownUser}};
  Start();
  ShowTab(2);
  Select(View(L"progperso"), shown);
  Command(IDM_OPSPEPRO_CACHER);
  ASSERT_TRUE(Exists(hidden + L"\\Outil.lnk"));
  for (const std::wstring& path : {hidden, hidden + L"\\Outil.lnk"}) {
    const FileRights& now = platform.keptRights->at(path);
    EXPECT_TRUE(now.fromParent);
    EXPECT_EQ(now.entries, std::vector<RightsEntry>{ownUser}) << std::string(path.begin(), path.end());
  }

  for (const std::wstring& path : {shown, shown + L"\\Outil.lnk"})
    (*platform.keptRights)[path] = FileRights{true, false, {inheritedStore, ownOther}};
  ShowTab(3);
  Command(IDM_MENUCACHEPROG_TOUT_SELECTIONNER);
  Command(IDM_MENUCACHEPROG_RETABLIR);
  ASSERT_TRUE(Exists(shown + L"\\Outil.lnk"));
  for (const std::wstring& path : {shown, shown + L"\\Outil.lnk"}) {
    const FileRights& now = platform.keptRights->at(path);
    EXPECT_TRUE(now.fromParent);
    EXPECT_EQ(now.entries, std::vector<RightsEntry>{ownOther}) << std::string(path.begin(), path.end());
  }

  // Hidden again onto a namesake in the store: what is merged in item by
  // item takes the store's rights as a whole move does.
  ::CreateDirectoryW(hidden.c_str(), nullptr);
  MakeShortcut(hidden + L"\\Autre.lnk", L"C:\\windows\\notepad.exe");
  (*platform.keptRights)[hidden + L"\\Outil.lnk"] = FileRights{true, false, {inheritedAll, ownOther, ownUser}};
  ShowTab(2);
  main->ShellFolderViews().ShowShellFolder(&View(L"progperso"), kCsidlPrograms);
  Select(View(L"progperso"), shown);
  Command(IDM_OPSPEPRO_CACHER);
  ASSERT_TRUE(Exists(hidden + L"\\Outil.lnk"));
  EXPECT_EQ(platform.keptRights->at(hidden + L"\\Outil.lnk").entries, std::vector<RightsEntry>{ownUser});

  // Rights refused: the groups go all the same, and the first one other
  // users may still read is named, once a run.
  platform.rightsRefusal = ERROR_ACCESS_DENIED;
  messages.shown.clear();
  for (const wchar_t* name : {L"Groupe Refus", L"Groupe Refus Bis"}) {
    ::CreateDirectoryW((personalPrograms + L"\\" + Item(name)).c_str(), nullptr);
    main->ShellFolderViews().ShowShellFolder(&View(L"progperso"), kCsidlPrograms);
    Select(View(L"progperso"), personalPrograms + L"\\" + name);
    Command(IDM_OPSPEPRO_CACHER);
    EXPECT_TRUE(Exists(storePrograms + L"\\" + name));
  }
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"\"" + storePrograms + L"\\Groupe Refus\" n'ont pas pu"), std::wstring::npos);
}

}  // namespace
}  // namespace ferlane
