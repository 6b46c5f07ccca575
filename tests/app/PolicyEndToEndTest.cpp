// The administrator's policies (Software\Policies\Ferlane) as the real
// program obeys them, started from a folder of its own: the folder of the
// lists for the command line and the window, and the minimum length of a
// new password in the first-password window.
#include "app/ProgramFixture.h"

#include "policies/logic/Policies.h"

namespace ferlane {
namespace {

using namespace test;

BOOL CALLBACK AddChildText(HWND h, LPARAM lp) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(h, text, 1024);
  *reinterpret_cast<std::wstring*>(lp) += std::wstring(text) + L"\n";
  return TRUE;
}

// Every child's text, one a line: a message box's words, a window's captions.
std::wstring ChildTexts(HWND window) {
  std::wstring texts;
  ::EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// The policies under HKEY_LOCAL_MACHINE, removed after each test.
class PolicyEndToEndTest : public CommandLineTest {
 protected:
  void SetUp() override {
    CommandLineTest::SetUp();
    ASSERT_EQ(policies.Open(HKEY_LOCAL_MACHINE, kPoliciesKey, true), ERROR_SUCCESS);
  }
  void TearDown() override {
    policies = RegistryKey();
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPoliciesKey);
    CommandLineTest::TearDown();
  }

  RegistryKey policies;
};

// The folder of the lists, with an environment variable in it: /cacher makes
// the folder, moves the list beside the program there and hides what it
// names; the window then reads and saves that list; a folder that cannot be
// made stops the command line with nothing changed.
TEST_F(PolicyEndToEndTest, TheListFolderServesTheCommandLineAndTheWindowAndIsNeverReplacedByAnotherList) {
  ASSERT_TRUE(::SetEnvironmentVariableW(L"FERLANE_POSTE", L"POSTE7"));  // the program inherits it
  const std::wstring item = scratch.File(L"paie.xls", 3);
  ASSERT_EQ(WriteListFile(folder + user, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::wstring lists = scratch.path() + L"Listes\\POSTE7";
  ASSERT_EQ(::RegSetValueExW(policies.get(), L"ListFolder", 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(L"%FERLANE_LISTES%\\Listes\\%FERLANE_POSTE%"),
                             sizeof(L"%FERLANE_LISTES%\\Listes\\%FERLANE_POSTE%")),
            ERROR_SUCCESS);
  std::wstring root = scratch.path();
  root.pop_back();
  ASSERT_TRUE(::SetEnvironmentVariableW(L"FERLANE_LISTES", root.c_str()));

  SilentRun run = Run(L"/cacher");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  const DWORD attributes = ::GetFileAttributesW(item.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN)) << run.output;
  std::vector<std::wstring> lines;
  EXPECT_EQ(ReadListFile(lists + L"\\" + user, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (std::vector<std::wstring>{item, L"Fichier"}));
  EXPECT_EQ(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Says(run, Narrow(lists + L"\\" + user))) << run.output;

  // The window is given the same policies: its list's caption names the
  // folder (what it then reads and saves there is the window test's).
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_NE(ChildTexts(main).find(lists), std::wstring::npos);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());

  // A folder that cannot be made (under a file): said, code 4, and the list
  // beside the program is not taken in its place.
  ASSERT_EQ(WriteListFile(folder + user, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ::SetFileAttributesW(item.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::wstring blocked = scratch.File(L"bloc") + L"\\Listes";
  ASSERT_EQ(policies.WriteString(L"ListFolder", blocked), ERROR_SUCCESS);
  run = Run(L"/cacher");
  EXPECT_EQ(run.exitCode, 4u) << run.output;
  EXPECT_TRUE(Says(run, Narrow(blocked))) << run.output;
  EXPECT_FALSE(::GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_NE(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);
  ::SetEnvironmentVariableW(L"FERLANE_POSTE", nullptr);
  ::SetEnvironmentVariableW(L"FERLANE_LISTES", nullptr);
}

// A trial before a deployment, as the shipped program runs it: /cacher
// /essai on a list naming one file names the list, the move the run would
// make into the policy's folder and the item, and changes nothing: the file
// stays visible, the list beside the program, the folder unmade; a folder
// that cannot be made ends it as it ends the run. Without the policy, the
// list beside the program is the one named.
TEST_F(PolicyEndToEndTest, ATrialNamesTheListTheMoveAndTheItemAndChangesNothing) {
  const std::wstring item = scratch.File(L"paie.xls", 3);
  ASSERT_EQ(WriteListFile(folder + user, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string listBytes = FileBytes(folder + user);
  const std::wstring lists = scratch.path() + L"Listes";
  ASSERT_EQ(policies.WriteString(L"ListFolder", lists), ERROR_SUCCESS);
  auto hidden = [&] { return (::GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0; };

  SilentRun run = Run(L"/cacher /essai");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Says(run, "Liste employ")) << run.output;
  EXPECT_TRUE(Says(run, Narrow(lists + L"\\" + user))) << run.output;
  EXPECT_TRUE(Says(run, "La liste \"" + Narrow(folder + user) + "\" serait d")) << run.output;  // moved
  EXPECT_TRUE(Says(run, "Serait cach")) << run.output;
  EXPECT_TRUE(Says(run, Narrow(item) + "\r\n")) << run.output;
  EXPECT_TRUE(run.windowsSeen.empty());
  EXPECT_FALSE(hidden());
  EXPECT_EQ(FileBytes(folder + user), listBytes);
  EXPECT_EQ(::GetFileAttributesW(lists.c_str()), INVALID_FILE_ATTRIBUTES);

  // A folder the run could not make (under a file): the run's code 4.
  const std::wstring blocked = scratch.File(L"bloc") + L"\\Listes";
  ASSERT_EQ(policies.WriteString(L"ListFolder", blocked), ERROR_SUCCESS);
  run = Run(L"/cacher /essai");
  EXPECT_EQ(run.exitCode, 4u) << run.output;
  EXPECT_TRUE(Says(run, Narrow(blocked))) << run.output;

  ASSERT_EQ(::RegDeleteValueW(policies.get(), L"ListFolder"), ERROR_SUCCESS);
  run = Run(L"/CACHER /Essai");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Says(run, Narrow(folder + user))) << run.output;
  EXPECT_TRUE(Says(run, Narrow(item))) << run.output;
  EXPECT_FALSE(hidden());
}

// A minimum of 8: the first-password window refuses a password of three
// letters with a line naming the minimum, and stays open.
TEST_F(PolicyEndToEndTest, TheFirstPasswordWindowRefusesAPasswordShorterThanTheMinimum) {
  ASSERT_EQ(policies.WriteDword(L"MinPasswordLength", 8), ERROR_SUCCESS);
  {
    RegistryKey settings;  // a user with no password yet: the first-password window
    ASSERT_EQ(settings.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    settings.WriteString(user, L"");
  }
  Start();
  HWND saisie = WaitForTopWindow(process.dwProcessId, L"Ferlane: Saisie du mot de passe");
  ASSERT_NE(saisie, nullptr);
  Type(saisie, kIdMaskEdit1, L"abc");
  Type(saisie, kIdMaskEdit2, L"abc");
  ClickOk(saisie);
  HWND box = WaitForTopWindow(process.dwProcessId, L"Ferlane", L"#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(ChildTexts(box).find(L"au moins 8 caract\u00E8res"), std::wstring::npos)
      << Narrow(ChildTexts(box));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(::IsWindowVisible(saisie));
  EXPECT_EQ(::GetWindowTextLengthW(::GetDlgItem(saisie, kIdMaskEdit1)), 0);
  // What a long enough password does is the gates' and the windows' tests'.
}

}  // namespace
}  // namespace ferlane
