// The event-log trail: the one event each command writes, read through the
// fake platform's writer (number, type, strings) since Wine stores none; the
// policy that turns it off; and the texts in the shipped exe. How Wine prints
// the shipped exe's events is tests/app/event-channel-test.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cwctype>

#include "commandline/CommandLineRun.h"
#include "app/Elevation.h"
#include "app/MainWindow.h"
#include "app/PasswordWindows.h"
#include "password/logic/PasswordHash.h"
#include "platform/EventTrail.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "protect/ListFileIo.h"
#include "settings/logic/ExplorerSettings.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/Moves.h"
#include "shellfolders/logic/StoreLocation.h"
#include "support/Fakes.h"
#include "support/ShippedProgram.h"

namespace ferlane {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Ferlane";
constexpr wchar_t kPolicies[] = L"Software\\Policies\\Ferlane";
const std::wstring kWidth = sizeof(void*) == 8 ? L"64 bits" : L"32 bits";

// The "Journal des événements" value of one root: a number, or absent.
void SetPolicy(HKEY root, std::optional<DWORD> value) {
  if (!value) {
    ::RegDeleteKeyW(root, kPolicies);
    return;
  }
  RegistryKey key;
  ASSERT_EQ(key.Open(root, kPolicies, true), ERROR_SUCCESS);
  key.WriteDword(L"EventLog", *value);
}

class EventTrailTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    platform.userName = L"dupont";
  }
  void TearDown() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    SetPolicy(HKEY_LOCAL_MACHINE, std::nullopt);
    SetPolicy(HKEY_CURRENT_USER, std::nullopt);
  }
  const test::FakePlatform::WrittenEvent& Last() const { return platform.events.back(); }
  int Run(const std::vector<std::wstring>& args) {
    return RunCommandArguments(args, [](const std::wstring&) {});
  }

  test::FakePlatform platform;
  test::RecordingMessages messages;
  test::ScratchDir scratch;
};

TEST_F(EventTrailTest, EachEventCarriesWhoRanItAndExactlyTheStringsItsTextUses) {
  platform.elevation = TokenElevation::Limited;
  EventTrail trail(true, EventOrigin::CommandLine);
  trail.Write(EventId::ListHidden, {L"C:\\liste", L"", L"2", L"0", L"2", L"", L"1"});
  ASSERT_EQ(platform.events.size(), 1u);
  EXPECT_EQ(Last().id, 1000u);
  EXPECT_EQ(Last().type, EVENTLOG_INFORMATION_TYPE);
  EXPECT_EQ(Last().strings, (std::vector<std::wstring>{L"dupont", kWidth, L"non \u00E9lev\u00E9", L"ligne de commande",
                                                       L"C:\\liste", L"", L"2", L"0", L"2", L"", L"1"}));
  // Fewer details than the text's insertions: the rest are empty, never "%5".
  trail.Write(EventId::RefusedWrongPassword, {});
  EXPECT_EQ(Last().type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(Last().strings.size(), 5u);

  // A refused write is left at that: the caller goes on.
  platform.eventRefusal = ERROR_ACCESS_DENIED;
  trail.Write(EventId::RefusedDamagedPassword, {L"valeur"});
  EXPECT_EQ(Last().type, EVENTLOG_ERROR_TYPE);
  EXPECT_EQ(platform.events.size(), 3u);

  // Elevated: a full token, or (Windows XP, UAC off) an administrator's only token.
  const struct {
    TokenElevation token;
    bool administrator;
    const wchar_t* said;
  } tokens[] = {{TokenElevation::Full, false, L"\u00E9lev\u00E9"},
                {TokenElevation::None, true, L"\u00E9lev\u00E9"},
                {TokenElevation::Default, false, L"non \u00E9lev\u00E9"}};
  for (const auto& t : tokens) {
    platform.elevation = t.token;
    platform.administrator = t.administrator;
    EventTrail window(true, EventOrigin::Window);
    window.Write(EventId::PasswordSet, {});
    EXPECT_EQ(Last().strings[2], t.said);
    EXPECT_EQ(Last().strings[3], L"fen\u00EAtre");
  }

  const std::size_t before = platform.events.size();
  EventTrail off(false, EventOrigin::Window);
  off.Write(EventId::ListHidden, {});
  EXPECT_EQ(platform.events.size(), before);

  // The real writer under Wine: the source need not be registered.
  Win32Platform real;
  EXPECT_EQ(real.WriteEvent(EVENTLOG_INFORMATION_TYPE, 1000, {L"dupont"}), static_cast<DWORD>(ERROR_SUCCESS));
}

// The event follows the run's outcome: its level is the exit code's, every
// item not done is a failure whatever kept it back, an item already as asked
// is counted apart, exit 4 has an error of its own and exit 2 none. No string
// names a listed item: the log is every user's to read.
TEST_F(EventTrailTest, TheCommandLineWritesOneEventPerRunThatFollowsItsOutcomeAndNamesNoItem) {
  const std::wstring kept = scratch.File(L"garde.txt", 3);
  const std::wstring gone = scratch / L"parti.txt";
  const std::wstring mixed = scratch / L"mixte.txt", clean = scratch / L"propre.txt";
  const std::wstring relative = scratch / L"relative.txt", absent = scratch / L"absente.txt";
  const std::wstring percent = scratch / L"a%%1.txt";
  ASSERT_EQ(WriteListFile(mixed, {kept, L"Fichier", gone, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WriteListFile(clean, {kept, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WriteListFile(percent, {kept, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WriteListFile(relative, {kept, L"Fichier", L"docs\\garde.txt", L"C:parti.txt"}),
            static_cast<DWORD>(ERROR_SUCCESS));
  const struct {
    const char* what;
    std::vector<std::wstring> args;
    int exitCode;
    std::uint32_t id;  // 0: no event
    WORD type;
    std::vector<std::wstring> counts;  // done, failed, total, then already for a list
  } runs[] = {
      {"one item gone", {L"/cacher", L"/liste:" + mixed}, 1, 1001, EVENTLOG_WARNING_TYPE, {L"1", L"1", L"2", L"0"}},
      {"shown", {L"/voir", L"/liste:" + clean}, 0, 1002, EVENTLOG_INFORMATION_TYPE, {L"1", L"0", L"1", L"0"}},
      {"nothing to change", {L"/voir", L"/liste:" + clean}, 0, 1002, EVENTLOG_INFORMATION_TYPE,
       {L"0", L"0", L"1", L"1"}},
      {"two relative paths", {L"/cacher", L"/liste:" + relative}, 1, 1001, EVENTLOG_WARNING_TYPE,
       {L"1", L"2", L"3", L"0"}},
      {"a relative path shown", {L"/voir", L"/liste:" + relative}, 1, 1003, EVENTLOG_WARNING_TYPE,
       {L"1", L"2", L"3", L"0"}},
      {"a switch twice", {L"/cacher", L"/cacher"}, 2, 0, 0, {}},
      {"a list that is not there", {L"/cacher", L"/liste:" + absent}, 4, 1006, EVENTLOG_ERROR_TYPE, {}},
      {"a folder", {L"/voir", L"/liste:" + scratch.path()}, 4, 1006, EVENTLOG_ERROR_TYPE, {}},
      {"a list whose name holds %%1", {L"/cacher", L"/liste:" + percent}, 0, 1000, EVENTLOG_INFORMATION_TYPE,
       {L"1", L"0", L"1", L"0"}},
  };
  for (const auto& r : runs) {
    platform.events.clear();
    EXPECT_EQ(Run(r.args), r.exitCode) << r.what;
    if (!r.id) {
      EXPECT_TRUE(platform.events.empty()) << r.what;
      continue;
    }
    ASSERT_EQ(platform.events.size(), 1u) << r.what;
    EXPECT_EQ(Last().id, r.id) << r.what;
    EXPECT_EQ(Last().type, r.type) << r.what;
    EXPECT_EQ(Last().strings[3], L"ligne de commande");
    if (r.id == 1006) {
      ASSERT_EQ(Last().strings.size(), 6u) << r.what;
      EXPECT_EQ(Last().strings[4], r.args[1].substr(7)) << r.what;  // what could not be read
      EXPECT_FALSE(Last().strings[5].empty()) << r.what;            // and why
      continue;
    }
    ASSERT_EQ(Last().strings.size(), 11u) << r.what;
    EXPECT_EQ((std::vector<std::wstring>{Last().strings[6], Last().strings[7], Last().strings[8], Last().strings[10]}),
              r.counts)
        << r.what;
    for (const std::wstring& text : Last().strings)
      for (const wchar_t* item : {L"garde", L"parti"}) EXPECT_EQ(text.find(item), std::wstring::npos) << r.what;
  }
  // The viewer would take "%%1" for a parameter of its own: it is written so
  // that it cannot.
  EXPECT_EQ(Last().strings[4], scratch / L"a%\u200B%\u200B1.txt");
  // The reasons, each with how many it kept back.
  platform.events.clear();
  Run({L"/cacher", L"/liste:" + relative});
  EXPECT_NE(Last().strings[9].find(L"chemin relatif ou incomplet ; seul un chemin complet"), std::wstring::npos);
  EXPECT_NE(Last().strings[9].find(L"(2)"), std::wstring::npos);

  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteString(L"dupont", HashPassword(L"S\u00E9same", kCheapestPasswordCost).value());
  }
  EXPECT_EQ(Run({L"/voir", L"/liste:" + clean, L"/motdepasse:faux"}), 3);
  EXPECT_EQ(Last().id, 1601u);
  EXPECT_EQ(Last().strings[4], L"mot de passe faux");
  EXPECT_EQ(Run({L"/voir", L"/liste:" + clean}), 3);
  EXPECT_EQ(Last().strings[4], L"mot de passe absent");
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings), ERROR_SUCCESS);
    key.WriteString(L"dupont", L"$argon2id$v=19$m=1");
  }
  EXPECT_EQ(Run({L"/voir", L"/liste:" + clean, L"/motdepasse:faux"}), 3);
  EXPECT_EQ(Last().id, 1602u);
  EXPECT_EQ(Last().type, EVENTLOG_ERROR_TYPE);
  EXPECT_NE(Last().strings[4].find(L"dupont"), std::wstring::npos);

  // Read from both roots, the machine's value first (the precedence rules
  // themselves are the policy table's, tested natively).
  const struct {
    std::optional<DWORD> machine, user;
  } policies[] = {{std::nullopt, 0}, {0, 1}};
  for (const auto& p : policies) {
    SetPolicy(HKEY_LOCAL_MACHINE, p.machine);
    SetPolicy(HKEY_CURRENT_USER, p.user);
    const std::size_t before = platform.events.size();
    EXPECT_EQ(Run({L"/cacher", L"/liste:" + clean}), 0);
    EXPECT_EQ(platform.events.size(), before) << p.machine.value_or(99) << " " << p.user.value_or(99);
  }
}

TEST_F(EventTrailTest, TheWindowWritesRefusalsListCommandsSettingsAndThePasswordAtClose) {
  const std::wstring programFolder = scratch.Folder(L"Outils") + L"\\";
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  TPasse passe;
  Tsaisie saisie;
  Tnouveaupasse nouveaupasse;
  ASSERT_TRUE(passe.Create(instance) && saisie.Create(instance) && nouveaupasse.Create(instance));
  EventTrail trail(true, EventOrigin::Window);
  auto makeMain = [&] {
    auto main = std::make_unique<Tficheprincipale>(programFolder);
    main->SetEventTrail(&trail);
    EXPECT_TRUE(main->Create(instance));
    main->SetPasswordWindows({&passe, &saisie, &nouveaupasse});
    return main;
  };
  auto type = [](HWND entry, const wchar_t* text) {
    ::SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  };
  auto postOk = [](HWND window, HWND button) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(kIdButton1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };

  // Not an administrator (Windows XP): written before the box, which may
  // stay up as long as no one answers it.
  platform.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L""});
  platform.administrator = false;
  std::size_t writtenWhenShown = 0;
  messages.onShow = [&] { writtenWhenShown = platform.events.size(); };
  makeMain()->FormShow();
  messages.onShow = nullptr;
  EXPECT_EQ(writtenWhenShown, 1u);
  ASSERT_EQ(platform.events.size(), 1u);
  EXPECT_EQ(Last().id, 1600u);
  EXPECT_EQ(Last().strings[3], L"fen\u00EAtre");
  ResetTermination();
  platform.version.reset();
  platform.administrator.reset();

  // Too many wrong tries of a password.
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteString(L"dupont", L"motdepasse");
  }
  {
    auto main = makeMain();
    for (int i = 0; i < 4; ++i) postOk(passe.hwnd(), passe.Button1());
    main->FormShow();
    EXPECT_TRUE(TerminationRequested());
    EXPECT_EQ(Last().id, 1601u);
    EXPECT_EQ(Last().strings[4], L"trop d'essais faux");
    EXPECT_TRUE(main->FormCloseQuery());
    EXPECT_EQ(platform.events.size(), 2u) << "a terminating run writes nothing more";
  }
  ResetTermination();
  platform.events.clear();

  // A first password, chosen at start and written at close.
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteString(L"dupont", L"");
  }
  auto main = makeMain();
  type(saisie.MaskEdit1(), L"Secret");
  type(saisie.MaskEdit2(), L"Secret");
  postOk(saisie.hwnd(), saisie.Button1());
  main->FormShow();
  EXPECT_TRUE(platform.events.empty()) << "written at close, not when chosen";

  // "Tout Cacher" over one item there and one gone.
  const std::wstring there = scratch.File(L"note.txt", 1), gone = scratch / L"absent.txt";
  main->ListView1().AddItem(there, ItemType::File);
  main->ListView1().AddItem(gone, ItemType::File);
  main->SpeedButton2Click();
  ASSERT_EQ(platform.events.size(), 1u);
  EXPECT_EQ(Last().id, 1001u);
  EXPECT_EQ(Last().strings[4], programFolder + L"dupont");
  EXPECT_EQ(Last().strings[6], L"1");
  EXPECT_EQ(Last().strings[9], L"Introuvable (1)");  // why, never which
  main->Actualiser1Click();  // reads, changes nothing: no event
  EXPECT_EQ(platform.events.size(), 1u);
  main->SpeedButton2Click();  // again: the item there was hidden already, and is counted so
  EXPECT_EQ(Last().strings[6], L"0");
  EXPECT_EQ(Last().strings[10], L"1");

  // A shell setting applied.
  {
    RegistryKey advanced;
    ASSERT_EQ(advanced.Open(HKEY_CURRENT_USER, kAdvancedKey, true), ERROR_SUCCESS);
  }
  main->ExplorerSettings().SetChecked(ExplorerSettingsPage::kMasque, true);
  main->ExplorerSettings().Button2Click();
  EXPECT_EQ(Last().id, 1400u);
  EXPECT_EQ(Last().strings[4], KeyOf(SettingGroup::HiddenFiles).setting);
  EXPECT_EQ(Last().strings[5], L"oui");

  // "Rétablir le bureau et les programmes" with nothing selected: the whole
  // store, one event for both folders.
  const std::wstring parked = main->ShellFolderViews().StorePath(StoreFolder::Desktop) + L"\\Rang\u00E9.lnk";
  ::CloseHandle(::CreateFileW(parked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ASSERT_NE(::GetFileAttributesW(parked.c_str()), INVALID_FILE_ATTRIBUTES);
  messages.answers = {IDYES};
  main->SpeedButton5Click();
  EXPECT_EQ(Last().id, 1202u);
  EXPECT_EQ(Last().strings[6], L"1");
  const std::wstring restored = main->ShellFolderViews().FolderPath(ShellFolder::PersonalDesktop) + L"\\Rang\u00E9.lnk";
  EXPECT_TRUE(::DeleteFileW(restored.c_str()));

  ASSERT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(Last().id, 1500u);
  EXPECT_EQ(platform.events.size(), 5u);
  main.reset();

  // Opened with it, then removed in "Changer le mot de passe".
  main = makeMain();
  type(passe.MaskEdit1(), L"Secret");
  postOk(passe.hwnd(), passe.Button1());
  main->FormShow();
  type(nouveaupasse.MaskEdit3(), L"Secret");
  postOk(nouveaupasse.hwnd(), nouveaupasse.Button1());
  main->Changerlemotdepasse1Click();
  ASSERT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(Last().id, 1502u);
  EXPECT_EQ(platform.events.size(), 6u);
}

TEST_F(EventTrailTest, ARefusedElevationIsWrittenBeforeItIsSaid) {
  platform.elevation = TokenElevation::Limited;
  platform.elevatedStartAnswer = static_cast<DWORD>(ERROR_CANCELLED);
  std::size_t writtenWhenShown = 0;
  messages.onShow = [&] { writtenWhenShown = platform.events.size(); };
  EXPECT_EQ(RestartElevatedIfLimited(), 1);
  EXPECT_EQ(writtenWhenShown, 1u);
  EXPECT_EQ(Last().id, 1603u);
  EXPECT_EQ(Last().strings[3], L"fen\u00EAtre");
  EXPECT_EQ(Last().strings[4], L"l'invite d'\u00E9l\u00E9vation a \u00E9t\u00E9 refus\u00E9e.");
}

TEST_F(EventTrailTest, MovesAndOlderStoresWriteOneEventEachCountingWhatStayed) {
  EventTrail trail(true, EventOrigin::Window);
  platform.programFiles = scratch.Folder(L"Programmes");
  platform.programFiles64 = L"";
  const std::wstring label = L"Ferlane Administrateur dupont";
  const StorePaths store = ComposeStorePaths(label);
  MakeStoreFolders(store);
  const StorePaths older = ComposeStorePaths(L"Ferlane Utilisateur dupont");
  ASSERT_EQ(CreateFolderPath(older[0]), static_cast<DWORD>(ERROR_SUCCESS));
  auto file = [](const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(h);
  };
  file(JoinPath(older[0], L"a.lnk"));
  file(JoinPath(older[0], L"b.lnk"));
  file(JoinPath(store[0], L"b.lnk"));  // the store holds that name already
  AdoptOlderStores(store, label, nullptr, &trail);
  ASSERT_EQ(platform.events.size(), 1u);
  EXPECT_EQ(Last().id, 1301u);
  EXPECT_EQ(Last().strings[4], StoreUserFolder(store));
  EXPECT_EQ(Last().strings[6], L"1");
  EXPECT_EQ(Last().strings[8], L"2");
  EXPECT_EQ(Last().strings[9], L"reste dans une ancienne r\u00E9serve (1)");  // never the item
  AdoptOlderStores(store, label, nullptr, &trail);  // the same one stays: said again
  EXPECT_EQ(platform.events.size(), 2u);

  // Out of the store into a folder, and between two ordinary folders.
  const std::wstring desk = scratch.Folder(L"Bureau"), other = scratch.Folder(L"Commun");
  const HWND owner = nullptr;
  const std::array<DWORD, 2> storeErrors{};
  ShellMoves moves(owner, store, storeErrors);
  moves.SetEventTrail(&trail);
  moves.Move({{L"a.lnk", false}}, store[0], desk, ItemRule::Desktop, true);
  EXPECT_EQ(Last().id, 1202u);
  EXPECT_EQ(Last().strings[5], desk);
  EXPECT_EQ(Last().strings[6], L"1");
  moves.Move({{L"a.lnk", false}}, desk, store[0], ItemRule::Desktop, true);
  EXPECT_EQ(Last().id, 1200u);
  file(JoinPath(desk, L"c.lnk"));
  moves.Move({{L"c.lnk", false}, {L"manque.lnk", false}}, desk, other, ItemRule::Desktop, true);
  EXPECT_EQ(Last().id, 1101u);
  EXPECT_EQ(Last().strings[6], L"1");
  EXPECT_EQ(Last().strings[9], L"non d\u00E9plac\u00E9 (1)");
  const std::size_t before = platform.events.size();
  moves.Move({}, desk, other, ItemRule::Desktop, true);  // nothing taken: nothing to say
  EXPECT_EQ(platform.events.size(), before);
}

// ---- The shipped program ----------------------------------------------------

std::wstring MessageText(HMODULE module, DWORD id, WORD language) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, module, id,
      language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = n ? std::wstring(text, n) : std::wstring();
  if (text) ::LocalFree(text);
  return result;
}

// The highest insertion a text uses (%1 to %99).
int HighestInsertion(const std::wstring& text) {
  int highest = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == L'%' && iswdigit(text[i + 1])) {
      int n = text[i + 1] - L'0';
      if (i + 2 < text.size() && iswdigit(text[i + 2])) n = n * 10 + (text[i + 2] - L'0');
      highest = std::max(highest, n);
    }
  return highest;
}

TEST(EventMessages, EveryEventHasItsTextInFrenchAndEnglishInTheShippedProgram) {
  const std::wstring program = test::ShippedProgram();
  HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << "no program at " << std::string(program.begin(), program.end());
  constexpr WORD kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
  constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  for (const EventKind& kind : kEventKinds) {
    const DWORD id = static_cast<DWORD>(kind.id);
    const std::wstring french = MessageText(module, id, kFrench), english = MessageText(module, id, kEnglish);
    EXPECT_NE(french.find(L"Utilisateur : %1 (programme %2, %3, %4)"), std::wstring::npos) << id;
    EXPECT_NE(english.find(L"User: %1 (%2 program, %3, %4)"), std::wstring::npos) << id;
    // No insertion beyond the strings the event carries.
    EXPECT_LE(HighestInsertion(french), kind.strings) << id;
    EXPECT_EQ(HighestInsertion(french), HighestInsertion(english)) << id;
  }
  // The numbers are the messages' own (no severity bits): 999 is none.
  EXPECT_EQ(MessageText(module, 999, kFrench), L"");
  ::FreeLibrary(module);
}

}  // namespace
}  // namespace ferlane
