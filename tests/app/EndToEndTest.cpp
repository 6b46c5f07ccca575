// The real ferlane.exe, started as a user would start it, from a folder of its
// own, and driven through its windows' messages.
#include "app/ProgramFixture.h"

namespace ferlane {
namespace {

using namespace test;

// The window at 0, 0 with its design size, where a first run puts it.
void ExpectDesignBounds(HWND main) {
  RECT r;
  ::GetWindowRect(main, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 623);
  EXPECT_EQ(r.bottom - r.top, 519);
}

TEST_F(EndToEndTest, FirstRunThenPasswordSetThenAskedThenFourWrongTriesEndIt) {
  // First run: no settings key, no password window; the window opens at its
  // design bounds and closing stores the placement and an empty password.
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  ExpectDesignBounds(main);
  EXPECT_EQ(::GetFileAttributesW(folder.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  EXPECT_EQ(ReadSetting(L"Position horizontale"), L"0");
  EXPECT_EQ(ReadSetting(L"Position verticale"), L"0");
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
  EXPECT_EQ(ReadSetting(L"Hauteur"), L"519");
  EXPECT_EQ(ReadSetting(user), L"");
  EXPECT_NE(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);

  // Second run: the first-password window sets the password, stored at close.
  Start();
  HWND saisie = test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Saisie du mot de passe");
  ASSERT_NE(saisie, nullptr);
  Type(saisie, kIdMaskEdit1, L"Sésame");
  Type(saisie, kIdMaskEdit2, L"Sésame");
  ClickOk(saisie);
  main = MainWindow();
  ASSERT_NE(main, nullptr);
  ::MoveWindow(main, 20, 30, 640, 500, TRUE);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  // Stored as a salted hash, never as the typed text.
  const std::wstring stored = ReadSetting(user);
  EXPECT_EQ(stored.rfind(L"$argon2id$v=19$m=32768,t=3,p=1$", 0), 0u)
      << "stored: " << std::string(stored.begin(), stored.end());
  EXPECT_TRUE(StoredPasswordMatches(stored, L"Sésame"));
  EXPECT_EQ(ReadSetting(L"Position horizontale"), L"20");

  // Third run: the login prompt; four wrong tries end the program with
  // nothing written.
  Start();
  HWND passe = test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Mot de Passe:");
  ASSERT_NE(passe, nullptr);
  ::DeleteFileW((folder + user).c_str());
  for (const wchar_t* wrong : {L"sésame", L"", L"Sesame", L"Sésamf"}) {
    Type(passe, kIdMaskEdit1, wrong);
    ClickOk(passe);
  }
  ASSERT_TRUE(Exited());
  EXPECT_EQ(ReadSetting(L"Position horizontale"), L"20");
  EXPECT_EQ(ReadSetting(user), stored);
  EXPECT_EQ(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(EndToEndTest, PasswordsEarlierVersionsStoredOpenAndAreStoredAsArgon2idAtClose) {
  for (const wchar_t* earlier : {L"Sésame", samples::kPbkdf2Sesame}) {
    {
      RegistryKey key;
      ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
      key.WriteString(user, earlier);
    }
    Start();
    HWND passe = test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Mot de Passe:");
    ASSERT_NE(passe, nullptr);
    // One wrong try, the last character changed: the entry is cleared and the
    // prompt stays.
    Type(passe, kIdMaskEdit1, L"Sésamf");
    ClickOk(passe);
    HWND entry = ::GetDlgItem(passe, kIdMaskEdit1);
    for (DWORD start = ::GetTickCount(); ::GetWindowTextLengthW(entry) > 0 && ::GetTickCount() - start < 10000;)
      ::Sleep(10);
    EXPECT_EQ(::GetWindowTextLengthW(entry), 0);
    EXPECT_TRUE(::IsWindowVisible(passe));
    ASSERT_NO_FATAL_FAILURE(OpenWithPasswordAndClose(passe, L"Sésame"));
    const std::wstring stored = ReadSetting(user);
    EXPECT_EQ(stored.rfind(L"$argon2id$", 0), 0u) << "stored: " << std::string(stored.begin(), stored.end());
    EXPECT_TRUE(StoredPasswordMatches(stored, L"Sésame"));
    EXPECT_FALSE(StoredPasswordMatches(stored, L"sésame"));
  }
  // Today's form opens as it is and is not written anew.
  const std::wstring stored = ReadSetting(user);
  Start();
  HWND passe = test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Mot de Passe:");
  ASSERT_NE(passe, nullptr);
  ASSERT_NO_FATAL_FAILURE(OpenWithPasswordAndClose(passe, L"Sésame"));
  EXPECT_EQ(ReadSetting(user), stored);
}

TEST_F(EndToEndTest, PlacementsNoMonitorShowsOpenAtTheDesignPlace) {
  struct Stored {
    const wchar_t *left, *top, *width, *height;
  };
  for (Stored p : {Stored{L"-5000", L"-3000", L"623", L"519"}, Stored{L"3000", L"2000", L"623", L"519"},
                   Stored{L"2147483647", L"2147483647", L"623", L"519"}, Stored{L"10", L"10", L"-100", L"-50"}}) {
    {
      RegistryKey key;
      ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
      key.WriteString(L"Position horizontale", p.left);
      key.WriteString(L"Position verticale", p.top);
      key.WriteString(L"Largeur", p.width);
      key.WriteString(L"Hauteur", p.height);
      key.WriteString(user, L"");
    }
    Start();
    HWND saisie = test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Saisie du mot de passe");
    ASSERT_NE(saisie, nullptr);
    ClickOk(saisie);  // two empty entries: still no password
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    ExpectDesignBounds(main);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Exited());
    EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
  }
}

TEST_F(EndToEndTest, Utf16ListFromNotepadKeepsEveryItemAcrossAStartAndAClose) {
  const std::wstring a = scratch.File(L"caf\u00E9.txt"), b = scratch.Folder(L"Cach\u00E9");
  const std::wstring text = a + L"\r\nFichier\r\n" + b + L"\r\nDossier\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
  ASSERT_TRUE(PutBytes(folder + user, bytes));
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  EXPECT_EQ(FileBytes(folder + user), EncodeListLines({a, L"Fichier", b, L"Dossier"}));
}

TEST_F(EndToEndTest, UnderWindowsXpTheCaptionSaysAdministrator) {
  {
    RegistryKey wine;
    ASSERT_EQ(wine.Open(HKEY_CURRENT_USER, L"Software\\Wine", true), ERROR_SUCCESS);
    wine.WriteString(L"Version", L"winxp");
  }
  Start();
  HWND main = test::WaitForTopWindow(process.dwProcessId, L"Ferlane 1.0 - Administrateur : " + user);
  {
    RegistryKey wine;
    wine.Open(HKEY_CURRENT_USER, L"Software\\Wine");
    wine.DeleteValue(L"Version");
  }
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  EXPECT_EQ(ReadSetting(L"Largeur"), L"623");
}

BOOL CALLBACK CountMainWindows(HWND h, LPARAM count) {
  wchar_t name[64] = {};
  ::GetClassNameW(h, name, 64);
  if (wcscmp(name, L"Tficheprincipale") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// One window per user's list: a second start brings the first window back
// from the taskbar and ends, writing nothing.
TEST_F(EndToEndTest, ASecondStartShowsTheOpenWindowAndEnds) {
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  ::ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(main));
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION second{};
  std::wstring cmd = L"\"" + program + L"\"";
  ASSERT_TRUE(::CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                               &second));
  EXPECT_EQ(::WaitForSingleObject(second.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(second.hProcess, &code);
  ::CloseHandle(second.hProcess);
  ::CloseHandle(second.hThread);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(::IsIconic(main));
  int windows = 0;
  ::EnumWindows(CountMainWindows, reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(ReadSetting(L"Largeur"), L"<no key>");  // the second start wrote nothing
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

bool IsHidden(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(EndToEndTest, ListedItemsAreHiddenThenShownFromTheMenuAndTheListIsKept) {
  const std::wstring dir = scratch.Folder(L"Comptes");
  const std::wstring file = scratch.File(L"budget.xls", 10);
  const std::vector<std::wstring> lines{dir, L"Dossier", file, L"Fichier"};
  ASSERT_EQ(WriteListFile(folder + user, lines), static_cast<DWORD>(ERROR_SUCCESS));

  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  // Sent, not posted: each returns once the program has done the work.
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_TOUT_CACHER, 0), 0);
  EXPECT_TRUE(IsHidden(dir));
  EXPECT_TRUE(IsHidden(file));
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_TOUT_VOIR, 0), 0);
  EXPECT_FALSE(IsHidden(dir));
  EXPECT_FALSE(IsHidden(file));
  EXPECT_NE(::GetFileAttributesW(dir.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  std::vector<std::wstring> kept;
  ASSERT_EQ(ReadListFile(folder + user, kept), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(kept, lines);
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST_F(CommandLineTest, HideWithoutAnyWindowThenAMissingItemIsNamedAHalfReadListStopsAndAWrongSwitchIsRefused) {
  const std::wstring dir = scratch.Folder(L"Comptes");
  const std::wstring a = scratch.File(L"budget.xls", 10, FILE_ATTRIBUTE_READONLY);
  const std::wstring b = scratch.File(L"paie.doc", 3);
  ASSERT_EQ(WriteListFile(folder + user, {dir, L"Dossier", a, L"Fichier", b, L"Fichier"}),
            static_cast<DWORD>(ERROR_SUCCESS));
  const std::string listBytes = FileBytes(folder + user);

  SilentRun run = Run(L"/cacher");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  for (const auto& path : {dir, a, b}) EXPECT_TRUE(IsHidden(path)) << Narrow(path);
  EXPECT_TRUE(run.windowsSeen.empty()) << "first window: " << Narrow(run.windowsSeen.front());
  EXPECT_TRUE(Says(run, Narrow(b))) << run.output;
  EXPECT_TRUE(Says(run, "3 sur 3")) << run.output;
  EXPECT_EQ(FileBytes(folder + user), listBytes);  // never written
  // The window's start marks the program's folder hidden; the command line changes nothing else.
  EXPECT_FALSE(IsHidden(folder.substr(0, folder.size() - 1)));

  const std::wstring gone = scratch.path() + L"parti.txt";
  ASSERT_EQ(WriteListFile(folder + user, {a, L"Fichier", gone, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  run = Run(L"/CACHER");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(Says(run, Narrow(gone) + " : ")) << run.output;
  EXPECT_TRUE(run.windowsSeen.empty());

  // A list the window could read only in part (it would keep a ".bak" of
  // it): nothing changes, the file included.
  const std::string cut = Narrow(b) + "\r\nFichier\r\n" + std::string(1, '\0') + "\r\n";
  ASSERT_TRUE(PutBytes(folder + user, cut));
  ::SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_NORMAL);
  run = Run(L"/cacher");
  EXPECT_EQ(run.exitCode, 4u) << run.output;
  EXPECT_FALSE(IsHidden(b));
  EXPECT_EQ(FileBytes(folder + user), cut);
  EXPECT_EQ(::GetFileAttributesW(ListBackupName(folder + user, 1).c_str()), INVALID_FILE_ATTRIBUTES);

  run = Run(L"/cacher /tout");
  EXPECT_EQ(run.exitCode, 2u) << run.output;
  EXPECT_TRUE(Says(run, "/tout")) << run.output;
  EXPECT_TRUE(run.windowsSeen.empty());
}

TEST_F(CommandLineTest, ShowNeedsThePasswordThenRestoreBringsAShortcutBackAndLeavesATakenName) {
  const std::wstring a = scratch.File(L"secret.txt", 4, FILE_ATTRIBUTE_HIDDEN);
  const std::wstring dir = scratch.Folder(L"Priv\u00E9", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(WriteListFile(folder + user, {a, L"Fichier", dir, L"Dossier"}), static_cast<DWORD>(ERROR_SUCCESS));
  SetPassword(L"S\u00E9same");

  SilentRun run = Run(L"/voir");
  EXPECT_EQ(run.exitCode, 3u) << run.output;
  EXPECT_TRUE(IsHidden(a));
  EXPECT_TRUE(IsHidden(dir));

  // The password on standard input, as UTF-8, never on the command line.
  run = Run(L"/voir /motdepasse:-", "S\xC3\xA9same\r\n");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_FALSE(IsHidden(a));
  EXPECT_FALSE(IsHidden(dir));
  EXPECT_TRUE(run.windowsSeen.empty());

  // The store as the window composes it for this user.
  const std::wstring store = ComposeStorePaths(ComposeRoleLabel(IsNtFamily(GetOsFamily()), user))[0];
  const std::wstring desktop = SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(L"");
  ASSERT_FALSE(desktop.empty());
  ASSERT_EQ(CreateFolderPath(store), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(PutBytes(store + L"\\Courrier.lnk", "stored shortcut"));
  ASSERT_TRUE(PutBytes(store + L"\\Jeux.lnk", "stored"));
  ASSERT_TRUE(PutBytes(desktop + L"\\Jeux.lnk", "already there"));

  run = Run(L"/retablir /motdepasse:S\u00E9same");
  EXPECT_EQ(run.exitCode, 1u) << run.output;  // the taken name
  EXPECT_EQ(FileBytes(desktop + L"\\Courrier.lnk"), "stored shortcut");
  EXPECT_EQ(FileBytes(store + L"\\Courrier.lnk"), "<absent>");
  EXPECT_EQ(FileBytes(desktop + L"\\Jeux.lnk"), "already there");  // never replaced
  EXPECT_EQ(FileBytes(store + L"\\Jeux.lnk"), "stored");
  EXPECT_TRUE(Says(run, "Jeux.lnk : ")) << run.output;
  EXPECT_TRUE(run.windowsSeen.empty());

  for (const wchar_t* name : {L"\\Courrier.lnk", L"\\Jeux.lnk"}) {
    ::DeleteFileW((desktop + name).c_str());
    ::DeleteFileW((store + name).c_str());
  }
  ::RemoveDirectoryW(store.c_str());
}

// After an upgrade, before the window ever opened: /retablir alone takes back
// what the 64-bit program's older store and the other role's store hold, and
// names what one of them keeps because the store has its name already.
TEST_F(CommandLineTest, RestoreTakesBackWhatOlderStoresHold) {
  const std::wstring desktop = SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(L"");
  ASSERT_FALSE(desktop.empty());
  const std::wstring store = ComposeStorePaths(ComposeRoleLabel(true, user))[0];
  const std::wstring oldRole = ComposeStorePaths(ComposeRoleLabel(false, user))[0];
  const std::wstring old64 = L"C:\\Program Files\\Ferlane\\Ferlane Administrateur " + user + L"\\Desktop";
  for (const std::wstring* f : {&store, &oldRole, &old64})
    ASSERT_EQ(CreateFolderPath(*f), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(PutBytes(old64 + L"\\Ancien64.lnk", "64"));
  ASSERT_TRUE(PutBytes(oldRole + L"\\Role.lnk", "role"));
  ASSERT_TRUE(PutBytes(oldRole + L"\\Pris.lnk", "old"));
  ASSERT_TRUE(PutBytes(store + L"\\Pris.lnk", "store"));

  const SilentRun run = Run(L"/retablir");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_EQ(FileBytes(desktop + L"\\Ancien64.lnk"), "64");
  EXPECT_EQ(FileBytes(desktop + L"\\Role.lnk"), "role");
  EXPECT_EQ(FileBytes(desktop + L"\\Pris.lnk"), "store");
  EXPECT_EQ(FileBytes(oldRole + L"\\Pris.lnk"), "old");  // never over the store's
  EXPECT_EQ(::GetFileAttributesW(old64.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Says(run, "Pris.lnk : ")) << run.output;
  for (const wchar_t* name : {L"\\Ancien64.lnk", L"\\Role.lnk", L"\\Pris.lnk"})
    ::DeleteFileW((desktop + name).c_str());
  // What stayed would join the store, and come back, at a later /retablir.
  ::DeleteFileW((oldRole + L"\\Pris.lnk").c_str());
}

// A stored value that begins like a hash but cannot be read opens nothing:
// not with its own text on the command line, and the window says how to reset
// it and ends before any prompt, with nothing written.
TEST_F(CommandLineTest, ADamagedStoredPasswordOpensNothing) {
  const std::wstring argon = HashPassword(L"S\u00E9same", kCheapestPasswordCost).value();
  const std::wstring damaged[] = {
      L"$argon2id$v=19$m=2097152,t=1,p=1" + argon.substr(argon.find(L'$', 20)),  // memory past the limit
      std::wstring(samples::kPbkdf2Sesame).substr(0, 60),                         // cut short
  };
  for (const std::wstring& value : damaged) {
    {
      RegistryKey key;
      ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
      key.WriteString(user, value);
    }
    const SilentRun run = Run(L"/voir /motdepasse:" + value);
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_TRUE(Says(run, "HKEY_CURRENT_USER\\Software\\Ferlane")) << run.output;

    Start();
    HWND box = nullptr;  // the message box, not the splash of the same caption
    for (const DWORD start = ::GetTickCount(); !box && ::GetTickCount() - start < 30000; ::Sleep(50)) {
      HWND found = ::FindWindowW(L"#32770", L"Ferlane");
      DWORD pid = 0;
      if (found) ::GetWindowThreadProcessId(found, &pid);
      if (pid == process.dwProcessId) box = found;
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test::WaitForTopWindow(process.dwProcessId, L"Ferlane: Mot de Passe:", nullptr, 300), nullptr);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Exited());
    EXPECT_EQ(ReadSetting(user), value);
    EXPECT_EQ(ReadSetting(L"Largeur"), L"<absent>");
  }
}

TEST_F(CommandLineTest, AnAdministratorsListFileIsAppliedAsItIsAndNeitherListIsWritten) {
  const std::wstring listed = scratch.File(L"paie.xls", 3), mine = scratch.File(L"mien.txt", 3);
  const std::wstring list = scratch.Folder(L"Parc") + L"\\liste.txt";
  ASSERT_EQ(WriteListFile(list, {listed, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WriteListFile(folder + user, {mine, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string listBytes = FileBytes(list), ownBytes = FileBytes(folder + user);

  // No blank after the quoted program: the system still splits off /cacher.
  SilentRun run = RunLine(L"\"" + program + L"\"/cacher /liste:" + list, {});
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(run.windowsSeen.empty());
  EXPECT_TRUE(IsHidden(listed));
  EXPECT_FALSE(IsHidden(mine));  // the user's own list is not applied
  run = Run(L"/voir /liste:\"" + list + L"\"");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_FALSE(IsHidden(listed));
  EXPECT_EQ(FileBytes(list), listBytes);
  EXPECT_EQ(FileBytes(folder + user), ownBytes);
}

TEST_F(CommandLineTest, AScriptsListOfOnePathPerLineHidesEveryPathAndWhatIsNoListIsRefused) {
  const std::wstring parc = scratch.Folder(L"Flotte");
  std::vector<std::wstring> paths;
  for (const wchar_t* name : {L"alpha.txt", L"beta.txt", L"gamma.txt", L"delta.txt"})
    paths.push_back(scratch.File(name, 2));
  const std::wstring list = parc + L"\\flotte.txt";
  // One path per line, an empty line in the middle and one at the end.
  ASSERT_TRUE(PutBytes(list, Narrow(paths[0]) + "\r\n" + Narrow(paths[1]) + "\r\n\r\n" + Narrow(paths[2]) + "\r\n" +
                                 Narrow(paths[3]) + "\r\n\r\n"));
  SilentRun run = Run(L"/cacher /liste:" + list);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  for (const auto& path : paths) EXPECT_TRUE(IsHidden(path)) << Narrow(path);
  EXPECT_TRUE(Says(run, "4 sur 4")) << run.output;

  // A word that follows no path, and a relative path: each named, exit 1.
  ASSERT_TRUE(PutBytes(list, "Dossier\r\n" + Narrow(paths[0]) + "\r\nFichier\r\nFlotte\\alpha.txt\r\n"));
  run = Run(L"/voir /liste:" + list);
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_FALSE(IsHidden(paths[0]));
  EXPECT_TRUE(Says(run, "ligne \"Dossier\"")) << run.output;
  EXPECT_TRUE(Says(run, "Flotte\\alpha.txt : chemin relatif")) << run.output;

  // A folder or a device is no list: nothing changes. Every device name is
  // said to be one, never opened (CON gave "Invalid handle").
  for (const std::wstring& notAList : {parc, std::wstring(L"NUL"), std::wstring(L"COM1"), std::wstring(L"CON"),
                                       parc + L"\\aux.txt"}) {
    run = Run(L"/cacher /liste:" + notAList);
    EXPECT_EQ(run.exitCode, 4u) << Narrow(notAList) << ": " << run.output;
    EXPECT_TRUE(Says(run, "Rien n'est chang")) << run.output;
    if (notAList != parc) {
      EXPECT_TRUE(Says(run, "riph")) << Narrow(notAList) << ": " << run.output;
    }
  }
  EXPECT_FALSE(IsHidden(paths[0]));

  // The report written to a pipe never names another file: U+0161 U+0142
  // U+0105 ".txt", which the code page cannot write, is never "sla.txt",
  // which exists.
  const std::wstring lookAlike = scratch.File(L"sla.txt", 1), named = scratch.File(L"\u0161\u0142\u0105.txt", 1);
  ASSERT_EQ(WriteListFile(list, {named, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  run = Run(L"/cacher /liste:" + list);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(IsHidden(named));
  EXPECT_FALSE(IsHidden(lookAlike));
  EXPECT_FALSE(Says(run, "sla.txt")) << run.output;
  EXPECT_TRUE(Says(run, "<U+0161><U+0142><U+0105>.txt")) << run.output;
}

TEST_F(CommandLineTest, APasswordFileFromNotepadIsReadAndAWriterThatNeverEndsTheLineIsGivenTenSeconds) {
  const std::wstring a = scratch.File(L"secret.txt", 4, FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(WriteListFile(folder + user, {a, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  SetPassword(L"S\u00E9same");

  const DWORD start = ::GetTickCount();
  SilentRun run = RunLine(L"\"" + program + L"\" /voir /motdepasse:-", "S\xE9same", true);
  const DWORD waited = ::GetTickCount() - start;
  EXPECT_EQ(run.exitCode, 3u) << run.output;
  EXPECT_TRUE(Says(run, "10 secondes")) << run.output;
  EXPECT_GE(waited, 9000u);
  EXPECT_LT(waited, 30000u);
  EXPECT_TRUE(IsHidden(a));

  // Saved as ANSI by Notepad: "\u00E9" is the single byte 0xE9.
  run = Run(L"/voir /motdepasse:-", "S\xE9same\r\n");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_FALSE(IsHidden(a));
}

// The shipped program of the other width, which the test command names beside
// FERLANE_PROGRAM; empty when this build has none.
std::wstring OtherWidthProgram() {
  wchar_t named[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"FERLANE_OTHER_PROGRAM", named, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(named) : std::wstring();
}

std::wstring SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

void MakeShortcut(const std::wstring& path, const wchar_t* target) {
  IShellLinkW* link = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
            S_OK);
  link->SetPath(target);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK);
  file->Release();
  link->Release();
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The rows of a view of the running program, counted through its list view.
LRESULT RowsOf(HWND main, int viewId) {
  HWND list = ::FindWindowExW(::GetDlgItem(main, viewId), nullptr, WC_LISTVIEWW, nullptr);
  return list ? ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : -1;
}

// One store per machine, in a 64-bit prefix where Wine has both Program Files
// folders: what the 32-bit program hid, the 64-bit program lists and restores.
TEST_F(EndToEndTest, WhatThe32BitProgramHidesThe64BitProgramRestores) {
  const std::wstring other = OtherWidthProgram();
  if (other.empty()) GTEST_SKIP() << "FERLANE_OTHER_PROGRAM is not set: no program of the other width to start";
  const std::wstring exe32 = folder + L"ferlane.exe", exe64 = folder + L"ferlane64.exe";
  for (const std::wstring& built : {test::ShippedProgram(), other}) {
    const bool is64 = ImageMachine(built) == IMAGE_FILE_MACHINE_AMD64;
    ASSERT_TRUE(is64 || ImageMachine(built) == IMAGE_FILE_MACHINE_I386);
    ASSERT_TRUE(::CopyFileW(built.c_str(), (is64 ? exe64 : exe32).c_str(), FALSE));
  }
  ASSERT_EQ(ImageMachine(exe32), IMAGE_FILE_MACHINE_I386) << "one program of each width";
  ASSERT_EQ(ImageMachine(exe64), IMAGE_FILE_MACHINE_AMD64) << "one program of each width";

  const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  const std::wstring shortcut = desktop + L"\\Cachée par le 32 bits.lnk";
  const std::wstring role = L"\\Ferlane\\Ferlane Administrateur " + user;
  const std::wstring store = L"C:\\Program Files (x86)" + role + L"\\Desktop\\Cachée par le 32 bits.lnk";
  ASSERT_FALSE(desktop.empty());
  MakeShortcut(shortcut, L"C:\\windows\\notepad.exe");
  ASSERT_TRUE(Exists(shortcut));

  program = exe32;
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_OPSPEBUR_TOUT_SELECTIONNER, 0), 0);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_OPSPEBUR_CACHER, 0), 0);
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_TRUE(Exists(store));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);  // a first run again: no password window

  program = exe64;
  Start();
  main = MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(RowsOf(main, IDC_BURCACH), 1);  // tab 4's "&Bureau caché"
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_MENUCACHEBUR_TOUT_SELECTIONNER, 0), 0);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_MENUCACHEBUR_RETABLIR, 0), 0);
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_FALSE(Exists(store));
  EXPECT_EQ(RowsOf(main, IDC_BURCACH), 0);
  // The 64-bit program made no store of its own under its Program Files folder.
  EXPECT_FALSE(Exists(L"C:\\Program Files" + role));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  ::DeleteFileW(shortcut.c_str());
}

}  // namespace
}  // namespace ferlane
