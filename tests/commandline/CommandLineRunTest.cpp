// The command line's exit paths, run in this process with a platform that
// can answer what Wine cannot pretend (no user name).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "commandline/CommandLineRun.h"
#include "commandline/PasswordInput.h"
#include "commandline/logic/CommandLine.h"
#include "password/logic/PasswordHash.h"
#include "platform/Deadline.h"
#include "platform/Registry.h"
#include "platform/UniqueHandle.h"
#include "protect/ListFileIo.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/ShellFolders.h"
#include "platform/ProgramPath.h"
#include "shellfolders/logic/MoveRules.h"
#include "shellfolders/logic/StoreLocation.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Ferlane";
constexpr wchar_t kPolicies[] = L"Software\\Policies\\Ferlane";

// The read end of a pipe that holds `bytes`; its write end is closed unless
// `write` asks for it.
HANDLE PipeWith(const std::string& bytes, HANDLE* write = nullptr) {
  HANDLE r = nullptr, w = nullptr;
  if (!::CreatePipe(&r, &w, nullptr, 0)) return nullptr;
  DWORD put = 0;
  if (!bytes.empty()) ::WriteFile(w, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  if (write) *write = w;
  else ::CloseHandle(w);
  return r;
}

TEST(CommandLineRun, EachWayOfStoppingHasItsExitCodeAndSaysWhy) {
  test::FakePlatform platform;
  test::ScratchDir scratch;
  const std::wstring user = platform.LogonUserName();
  const std::wstring absent = scratch / L"absente.txt";
  const std::wstring folder = scratch.Folder(L"dossier");
  auto setPassword = [&] {
    RegistryKey key;
    key.Open(HKEY_CURRENT_USER, kSettings, true);
    key.WriteString(user, HashPassword(L"S\u00E9same", kCheapestPasswordCost).value());
  };
  // The hidden store's Desktop folder made a file, under a program-files
  // folder of the test's own.
  auto blockStore = [&] {
    platform.programFiles = scratch.Folder(L"Programmes");
    const std::wstring store = ComposeStorePaths(ComposeRoleLabel(IsNtFamily(GetOsFamily()), user))[0];
    CreateFolderPath(store.substr(0, store.find_last_of(L'\\')));
    scratch.File(store.substr(scratch.path().size()), 1);
  };
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  struct Case {
    const char* what;
    std::vector<std::wstring> args;
    std::function<void()> arrange;
    int exitCode;
    std::wstring said;
  };
  const Case cases[] = {
      {"no user name", {L"/cacher"}, [&] { platform.userName = L""; }, 4, L"nom de l'utilisateur"},
      {"/liste with /retablir", {L"/retablir", L"/liste:" + absent}, [] {}, 2, L"/retablir"},
      {"a /liste that names nothing", {L"/cacher", L"/liste:" + absent}, [] {}, 4, absent},
      {"a /liste that names a folder", {L"/voir", L"/liste:" + folder}, [] {}, 4, folder},
      {"the user's own list path made a folder",
       {L"/cacher"},
       [&] {
         RegistryKey policy;
         policy.Open(HKEY_CURRENT_USER, L"Software\\Policies\\Ferlane", true);
         policy.WriteString(L"ListFolder", folder);
         CreateFolderPath(folder + L"\\" + user);
       },
       4, L"est un dossier"},
      {"a password value that is no text",
       {L"/voir"},
       [&] {
         RegistryKey key;
         key.Open(HKEY_CURRENT_USER, kSettings, true);
         key.WriteDword(user, 1);
       },
       3, L"n'est pas un texte"},
      {"standard input not redirected",
       {L"/voir", L"/motdepasse:-"},
       [&] {
         setPassword();
         ::SetStdHandle(STD_INPUT_HANDLE, nullptr);
       },
       3, L"pas redirig\u00E9e"},
      {"a store that cannot be read", {L"/retablir"}, blockStore, 4, L"Desktop"},
      {"a store that cannot be read, tried", {L"/retablir", L"/essai"}, blockStore, 4, L"Desktop"},
      {"an empty standard input",
       {L"/voir", L"/motdepasse:-"},
       [&] {
         setPassword();
         ::SetStdHandle(STD_INPUT_HANDLE, PipeWith(""));
       },
       3, L"aucun mot de passe n'est arriv\u00E9"},
      // Asked once this run already (the command line's own deadline is half
      // a minute): the answer stands for the run.
      {"a folder for the lists whose server does not answer",
       {L"/cacher"},
       [&] {
         platform.silentServers = {L"\\\\epsilon"};
         EXPECT_EQ(FolderAnswers(L"\\\\epsilon\\listes", 100), kNoAnswer);
         RegistryKey key;
         key.Open(HKEY_CURRENT_USER, kPolicies, true);
         key.WriteString(L"ListFolder", L"\\\\epsilon\\listes");
       },
       4, L"\\\\epsilon\\listes"},
      {"the same folder, tried", {L"/cacher", L"/essai"},
       [&] {
         RegistryKey key;
         key.Open(HKEY_CURRENT_USER, kPolicies, true);
         key.WriteString(L"ListFolder", L"\\\\epsilon\\listes");
       },
       4, L"son serveur n'a pas r\u00E9pondu \u00E0 temps"},
  };
  for (const Case& c : cases) {
    platform.userName.reset();
    platform.programFiles.reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Policies\\Ferlane");
    c.arrange();
    std::wstring said;
    EXPECT_EQ(RunCommandArguments(c.args, [&](const std::wstring& line) { said += line + L"\n"; }), c.exitCode)
        << c.what;
    EXPECT_NE(said.find(c.said), std::wstring::npos) << c.what << ": " << std::string(said.begin(), said.end());
    ::SetStdHandle(STD_INPUT_HANDLE, input);
  }
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kPolicies);
  EXPECT_EQ(platform.BlockedLookups()[L"\\\\epsilon"], 1);
}

// The user's store and the older store an earlier version named otherwise,
// under a scratch Program Files, and the Desktop already holding "Pris.lnk":
// what both restore tests start from. The taken name goes at the end.
struct RestoreScene {
  explicit RestoreScene(test::FakePlatform& platform, test::ScratchDir& scratch) {
    platform.programFiles = scratch.Folder(L"Programmes");
    const std::wstring user = platform.LogonUserName();
    const bool nt = IsNtFamily(GetOsFamily());
    store = ComposeStorePaths(ComposeRoleLabel(nt, user))[0];
    older = ComposeStorePaths(ComposeRoleLabel(!nt, user))[0];
    desktop = SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(L"");
    taken = desktop + L"\\Pris.lnk";
    UniqueFile file(::CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    takenMade = static_cast<bool>(file);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
  }
  ~RestoreScene() { ::DeleteFileW(taken.c_str()); }
  std::wstring store, older, desktop, taken;
  bool takenMade = false;
};

// A standard user's logon script: the store cannot be made under Program
// Files, so what the older store holds is restored from where it is, and
// what stays there is named with the reason, never "nothing to restore".
TEST(CommandLineRun, RestoreWithoutAStoreTakesFromTheOlderStoreAndNamesWhatStays) {
  test::FakePlatform platform;
  test::ScratchDir scratch;
  RestoreScene scene(platform, scratch);
  ASSERT_FALSE(scene.desktop.empty());
  ASSERT_TRUE(scene.takenMade);
  const std::wstring &store = scene.store, &older = scene.older, &desktop = scene.desktop;
  // The store's user level is a file: no store folder can be made.
  const std::wstring userLevel = store.substr(0, store.find_last_of(L'\\'));
  ASSERT_EQ(CreateFolderPath(older), static_cast<DWORD>(ERROR_SUCCESS));
  scratch.File(userLevel.substr(scratch.path().size()), 1);
  scratch.File(older.substr(scratch.path().size()) + L"\\Revenu.lnk", 2);
  scratch.File(older.substr(scratch.path().size()) + L"\\Pris.lnk", 3);

  std::wstring said;
  const int code = RunCommandArguments({L"/retablir"}, [&](const std::wstring& line) { said += line + L"\n"; });
  const std::string shown(said.begin(), said.end());
  EXPECT_EQ(code, 1) << shown;
  EXPECT_NE(::GetFileAttributesW((desktop + L"\\Revenu.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(said.find(L"Revenu.lnk -> " + desktop), std::wstring::npos) << shown;
  EXPECT_NE(said.find(older + L"\\Pris.lnk : reste dans une ancienne r\u00E9serve ; la r\u00E9serve \"" + store +
                      L"\" n'a pas pu \u00EAtre cr\u00E9\u00E9e"),
            std::wstring::npos)
      << shown;
  EXPECT_EQ(said.find(L"rien \u00E0 r\u00E9tablir : " + store), std::wstring::npos) << shown;
  ::DeleteFileW((desktop + L"\\Revenu.lnk").c_str());
}

// /retablir /essai: the store's items and an older store's, each named with
// what the restore would do, and not one of them moved, joined or restored.
TEST(CommandLineRun, ARestoreTriedNamesWhatWouldComeBackAndMovesNothing) {
  test::FakePlatform platform;
  test::ScratchDir scratch;
  const std::wstring user = platform.LogonUserName();
  RestoreScene scene(platform, scratch);
  ASSERT_FALSE(scene.desktop.empty());
  ASSERT_TRUE(scene.takenMade);
  const std::wstring &store = scene.store, &older = scene.older, &desktop = scene.desktop;
  const std::vector<std::wstring> held{store + L"\\Revenu.lnk", store + L"\\Pris.lnk", older + L"\\Ancien.lnk",
                                       older + L"\\Revenu.lnk"};
  ASSERT_EQ(CreateFolderPath(store), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(CreateFolderPath(older), static_cast<DWORD>(ERROR_SUCCESS));
  for (const std::wstring& path : held) scratch.File(path.substr(scratch.path().size()), 2);

  std::wstring said;
  const int code =
      RunCommandArguments({L"/retablir", L"/essai"}, [&](const std::wstring& line) { said += line + L"\n"; });
  const std::string shown(said.begin(), said.end());
  EXPECT_EQ(code, 1) << shown;
  for (const std::wstring& line :
       {L"Serait r\u00E9tabli : Revenu.lnk -> " + desktop, L"Serait r\u00E9tabli : Ancien.lnk -> " + desktop,
        L"Nom d\u00E9j\u00E0 pris : " + store + L"\\Pris.lnk", L"Nom d\u00E9j\u00E0 pris : " + older + L"\\Revenu.lnk",
        RestoreSummaryLine(2, 2)})
    EXPECT_NE(said.find(line), std::wstring::npos) << std::string(line.begin(), line.end()) << "\n" << shown;
  for (const std::wstring& path : held) EXPECT_TRUE(PathExists(path)) << shown;
  EXPECT_FALSE(PathExists(desktop + L"\\Revenu.lnk"));
  EXPECT_FALSE(PathExists(desktop + L"\\Ancien.lnk"));

  // A trial writes no item event, a list's neither; a refused password is
  // written as for any run, so a trial never tests a password in silence.
  const std::wstring item = scratch.File(L"paie.xls", 1), list = scratch / L"liste.txt";
  ASSERT_EQ(WriteListFile(list, {item}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(RunCommandArguments({L"/cacher", L"/essai", L"/liste:" + list}, [](const std::wstring&) {}), 0);
  EXPECT_FALSE(::GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(platform.events.empty());
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
  key.WriteString(user, HashPassword(L"S\u00E9same", kCheapestPasswordCost).value());
  EXPECT_EQ(RunCommandArguments({L"/retablir", L"/essai", L"/motdepasse:faux"}, [](const std::wstring&) {}), 3);
  ASSERT_EQ(platform.events.size(), 1u);
  EXPECT_EQ(platform.events[0].id, 1601u);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
}

// An older store that refuses its reader, with the store there (the items
// join it first) and with no store that can be made (restored from where
// they are): /retablir names the folder and ends with 1, the window's
// adoption keeps the folder and says why, and what it holds stays.
TEST(CommandLineRun, AnOlderStoreThatCannotBeReadIsAFailureNamedWithItsPath) {
  for (const bool storeMade : {true, false}) {
    SCOPED_TRACE(storeMade ? "store made" : "no store");
    test::FakePlatform platform;
    test::ScratchDir scratch;
    const std::wstring user = platform.LogonUserName();
    platform.programFiles = scratch.Folder(L"Programmes");
    platform.programFiles64 = L"";
    const bool nt = IsNtFamily(GetOsFamily());
    const std::wstring label = ComposeRoleLabel(nt, user);
    const StorePaths store = ComposeStorePaths(label);
    const std::wstring older = ComposeStorePaths(ComposeRoleLabel(!nt, user))[1];
    ASSERT_EQ(CreateFolderPath(older), static_cast<DWORD>(ERROR_SUCCESS));
    scratch.File(older.substr(scratch.path().size()) + L"\\Jeux", 1);
    if (!storeMade) scratch.File(StoreUserFolder(store).substr(scratch.path().size()), 1);
    platform.unreadableFolders[older] = ERROR_ACCESS_DENIED;
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);

    std::wstring said;
    const int code = RunCommandArguments({L"/retablir"}, [&](const std::wstring& line) { said += line + L"\n"; });
    const std::string shown(said.begin(), said.end());
    EXPECT_EQ(code, 1) << shown;
    EXPECT_NE(said.find(L"\u00C9chec : " + older + L" : "), std::wstring::npos) << shown;
    EXPECT_NE(::GetFileAttributesW((older + L"\\Jeux").c_str()), INVALID_FILE_ATTRIBUTES);
    if (!storeMade) continue;
    const std::vector<StrandedItems> stranded = AdoptOlderStores(store, label);
    ASSERT_EQ(stranded.size(), 1u);
    EXPECT_EQ(stranded[0].oldFolder, older);
    EXPECT_EQ(stranded[0].readError, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_NE(::GetFileAttributesW((older + L"\\Jeux").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

// What a crash or a refused put-back left under an aside name, in each kind
// of folder the program moves from: /retablir names each and ends with 1,
// the window names each at start, and neither renames anything back.
TEST(CommandLineRun, WhatAMoveLeftAsideIsNamedAndNeverRenamedBack) {
  test::FakePlatform platform;
  test::RecordingMessages messages;
  test::ScratchDir scratch;
  const std::wstring user = platform.LogonUserName();
  platform.programFiles = scratch.Folder(L"Programmes");
  platform.programFiles64 = L"";
  const std::wstring label = ComposeRoleLabel(IsNtFamily(GetOsFamily()), user);
  const StorePaths store = ComposeStorePaths(label);
  MakeStoreFolders(store);
  const std::wstring programs = SpecialFolderPath(nullptr, kCsidlCommonPrograms).value_or(L"");
  const std::wstring desktop = SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(L"");
  ASSERT_FALSE(programs.empty());
  ASSERT_FALSE(desktop.empty());
  const std::wstring asides[] = {store[0] + L"\\Courrier.lnk.ferlane-deplacement",
                                 desktop + L"\\Mail.lnk.ferlane-deplacement",
                                 programs + L"\\Outils.ferlane-deplacement-2",
                                 std::wstring(WithoutFinalSeparator(ProgramFolder())) + L"\\" + user +
                                     L".ferlane-deplacement"};
  for (const std::wstring& aside : asides) {
    HANDLE f = ::CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
  }
  // Not an aside: only looks like one.
  const std::wstring lookalike = programs + L"\\Courrier.ferlane-deplacement.lnk";
  ::CloseHandle(::CreateFileW(lookalike.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
  // This run's own move across volumes: the copy refused (the Desktop has
  // the name) and the put-back refused too; named once, by its aside name.
  const std::wstring stored = store[0] + L"\\Jeux.lnk", taken = desktop + L"\\Jeux.lnk";
  for (const std::wstring* path : {&stored, &taken})
    ::CloseHandle(::CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  platform.renameAnswer = [&](const std::wstring&, const std::wstring& to) -> std::optional<DWORD> {
    if (to == taken) return ERROR_NOT_SAME_DEVICE;
    if (to == stored) return ERROR_ACCESS_DENIED;
    return std::nullopt;
  };

  std::wstring said;
  const int code = RunCommandArguments({L"/retablir"}, [&](const std::wstring& line) { said += line + L"\n"; });
  platform.renameAnswer = nullptr;
  const std::wstring stuck = stored + L".ferlane-deplacement";
  EXPECT_NE(said.find(L"\u00C9chec : " + stuck + L" : le d\u00E9placement a \u00E9chou\u00E9"), std::wstring::npos);
  EXPECT_EQ(said.find(stuck), said.rfind(stuck));
  EXPECT_NE(::GetFileAttributesW(stuck.c_str()), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileW(stuck.c_str());
  ::DeleteFileW(taken.c_str());
  ShellFolders window;
  window.ComposeStorePaths(label);
  window.NameSetAside(ProgramFolder());
  const std::string shown(said.begin(), said.end());
  EXPECT_EQ(code, 1) << shown;
  ASSERT_EQ(messages.shown.size(), 1u);
  for (const std::wstring& aside : asides) {
    EXPECT_NE(said.find(L"\u00C9chec : " + aside + L" : "), std::wstring::npos) << shown;
    EXPECT_NE(messages.shown[0].text.find(L"\u00AB " + aside + L" \u00BB"), std::wstring::npos);
    EXPECT_NE(::GetFileAttributesW(aside.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(aside.substr(0, aside.rfind(L".ferlane-")).c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileW(aside.c_str());
  }
  EXPECT_EQ(said.find(lookalike), std::wstring::npos) << shown;
  EXPECT_EQ(messages.shown[0].text.find(lookalike), std::wstring::npos);
  ::DeleteFileW(lookalike.c_str());

  // A store on a server that does not answer is passed over, at the cost of
  // one deadline for both its folders.
  platform.silentServers = {L"\\\\zeta"};
  EXPECT_TRUE(FindSetAside({L"\\\\zeta\\pf\\Desktop", L"\\\\zeta\\pf\\Programs"}, ProgramFolder(), 100).empty());
  EXPECT_EQ(platform.BlockedLookups()[L"\\\\zeta"], 1);
}

struct Drip {
  HANDLE write;
  volatile bool stop;
};

// A named thread procedure: on 32-bit Windows it must be __stdcall.
DWORD WINAPI DripBytes(void* param) {
  auto* drip = static_cast<Drip*>(param);
  DWORD put = 0;
  while (!drip->stop && ::WriteFile(drip->write, "s", 1, &put, nullptr)) ::Sleep(50);
  return 0;
}

// The password on standard input as a script sends it: from a file, from a
// pipe closed after a last line without its end, in UTF-16 without a mark; an
// empty input, and bytes that are no text, are told apart from a wrong
// password; a writer that never ends the line is stopped at the deadline.
TEST(PasswordInput, EveryWayAWriterSendsThePasswordIsReadOrNamed) {
  test::ScratchDir scratch;
  struct Case {
    const char* what;
    std::string bytes;
    bool file, keepOpen;
    PasswordInput outcome;
    std::wstring password;
  };
  const Case cases[] = {
      {"a file, no line end", "S\xC3\xA9same", true, false, PasswordInput::Read, L"S\u00E9same"},
      {"a file, a line", "secret\r\nnext", true, false, PasswordInput::Read, L"secret"},
      {"a pipe closed after a last line", "secret", false, false, PasswordInput::Read, L"secret"},
      {"UTF-16 without a mark", std::string("p\0w\0", 4), false, false, PasswordInput::Read, L"pw"},
      {"an empty pipe", "", false, false, PasswordInput::NoInput, L""},
      {"an empty file", "", true, false, PasswordInput::NoInput, L""},
      {"NUL bytes in no UTF-16 pattern", std::string("ab\0c", 4), false, false, PasswordInput::UnknownEncoding, L""},
      // A NUL character is named as such, never an empty or a wrong password.
      {"a NUL character behind a mark", std::string("\xFF\xFE\0\0\n\0", 6), false, false,
       PasswordInput::NulCharacter, L""},
      {"a NUL character in UTF-16", std::string("a\0\0\0", 4), true, false, PasswordInput::NulCharacter, L""},
      {"a NUL byte, then a line end", std::string("\0\n", 2), false, false, PasswordInput::UnknownEncoding, L""},
      {"a writer that keeps its end open", "sec", false, true, PasswordInput::NoLine, L""},
  };
  for (const Case& c : cases) {
    HANDLE in = nullptr, write = nullptr;
    if (c.file) {
      const std::wstring path = scratch / L"motdepasse.txt";
      HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD put = 0;
      ::WriteFile(f, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &put, nullptr);
      ::CloseHandle(f);
      in = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    } else {
      in = PipeWith(c.bytes, c.keepOpen ? &write : nullptr);
    }
    ASSERT_NE(in, INVALID_HANDLE_VALUE) << c.what;
    std::wstring password;
    EXPECT_EQ(ReadPasswordFrom(in, password, 500), c.outcome) << c.what;
    EXPECT_EQ(password, c.password) << c.what;
    if (write) ::CloseHandle(write);
    ::CloseHandle(in);
  }

  // A byte every 50 ms and never a line end: one deadline from the start.
  HANDLE write = nullptr;
  HANDLE in = PipeWith("", &write);
  Drip drip{write, false};
  HANDLE writer = ::CreateThread(nullptr, 0, DripBytes, &drip, 0, nullptr);
  ASSERT_NE(writer, nullptr);
  std::wstring password;
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(ReadPasswordFrom(in, password, 800), PasswordInput::NoLine);
  const DWORD waited = ::GetTickCount() - start;
  EXPECT_GE(waited, 700u);
  EXPECT_LT(waited, 2500u);
  drip.stop = true;
  ::WaitForSingleObject(writer, 5000);
  ::CloseHandle(writer);
  ::CloseHandle(write);
  ::CloseHandle(in);
}

}  // namespace
}  // namespace ferlane
