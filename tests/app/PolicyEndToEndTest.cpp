// The administrator's policies (Software\Policies\Ferlane) as the real
// program obeys them, started from a folder of its own: the folder of the
// lists for the command line and the window, and the minimum length of a
// new password in the first-password window.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/PasswordWindows.h"
#include "app/logic/PasswordHash.h"
#include "app/logic/Policies.h"
#include "platform/Registry.h"
#include "protect/ListFileIo.h"
#include "resource.h"
#include "support/Fakes.h"
#include "support/ShippedProgram.h"

namespace ferlane {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Ferlane";

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

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

class PolicyEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    folder = scratch.Folder(L"Ferlane") + L"\\";
    program = folder + L"ferlane.exe";
    ASSERT_TRUE(::CopyFileW(test::ShippedProgram().c_str(), program.c_str(), FALSE));
    wchar_t name[256] = {};
    DWORD n = 256;
    ::GetUserNameW(name, &n);
    user = name;
    ASSERT_EQ(policies.Open(HKEY_LOCAL_MACHINE, kPoliciesKey, true), ERROR_SUCCESS);
  }
  void TearDown() override {
    if (process.hProcess) {
      ::TerminateProcess(process.hProcess, 1);
      ::CloseHandle(process.hProcess);
      ::CloseHandle(process.hThread);
    }
    policies = RegistryKey();
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPoliciesKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
  }

  // The window, or the command line with its report read from a pipe.
  void Start(const std::wstring& args = L"", HANDLE output = nullptr) {
    STARTUPINFOW si{sizeof(si)};
    if (output) {
      si.dwFlags = STARTF_USESTDHANDLES;
      si.hStdOutput = si.hStdError = output;
    }
    std::wstring cmd = L"\"" + program + L"\" " + args;
    ASSERT_TRUE(::CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                                 folder.c_str(), &si, &process));
  }
  DWORD Command(const std::wstring& args, std::string& report) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 1 << 16)) return 99;
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    Start(args, write);
    ::CloseHandle(write);
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) report.append(buffer, got);
    ::CloseHandle(read);
    DWORD code = 99;
    if (Exited()) ::GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  bool Exited() { return ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0; }
  HWND WaitFor(const wchar_t* cls, const std::wstring& caption) {
    return test::WaitForTopWindow(process.dwProcessId, caption, cls);
  }
  HWND MainWindow() { return WaitFor(nullptr, L"Ferlane 1.0 - Administrateur : " + user); }
  static void Type(HWND window, int id, const wchar_t* text) {
    ::SendMessageW(::GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void ClickOk(HWND window) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(kIdButton1, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, kIdButton1)));
  }

  test::ScratchDir scratch;
  std::wstring folder, program, user;
  RegistryKey policies;  // HKEY_LOCAL_MACHINE's, removed after each test
  PROCESS_INFORMATION process{};
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

  std::string report;
  EXPECT_EQ(Command(L"/cacher", report), 0u) << report;
  const DWORD attributes = ::GetFileAttributesW(item.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN)) << report;
  std::vector<std::wstring> lines;
  EXPECT_EQ(ReadListFile(lists + L"\\" + user, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (std::vector<std::wstring>{item, L"Fichier"}));
  EXPECT_EQ(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(report.find(Narrow(lists + L"\\" + user)), std::string::npos) << report;

  // The window: its list's caption names the folder, and what it saves goes there.
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  Start();
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_NE(ChildTexts(main).find(lists), std::wstring::npos);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_POPUP2_TOUT_SUPPRIMER, 0), 0);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  EXPECT_EQ(ReadListFile(lists + L"\\" + user, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);

  // A folder that cannot be made (under a file): said, code 4, and the list
  // beside the program is not taken in its place.
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  ASSERT_EQ(WriteListFile(folder + user, {item, L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  ::SetFileAttributesW(item.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::wstring blocked = scratch.File(L"bloc") + L"\\Listes";
  ASSERT_EQ(policies.WriteString(L"ListFolder", blocked), ERROR_SUCCESS);
  report.clear();
  EXPECT_EQ(Command(L"/cacher", report), 4u) << report;
  EXPECT_NE(report.find(Narrow(blocked)), std::string::npos) << report;
  EXPECT_FALSE(::GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_NE(::GetFileAttributesW((folder + user).c_str()), INVALID_FILE_ATTRIBUTES);
  ::SetEnvironmentVariableW(L"FERLANE_POSTE", nullptr);
  ::SetEnvironmentVariableW(L"FERLANE_LISTES", nullptr);
}

// A minimum of 8: the first-password window refuses a password of three
// letters with a line naming the minimum, stays open, and takes one of eight.
TEST_F(PolicyEndToEndTest, TheFirstPasswordWindowRefusesAPasswordShorterThanTheMinimum) {
  ASSERT_EQ(policies.WriteDword(L"MinPasswordLength", 8), ERROR_SUCCESS);
  {
    RegistryKey settings;  // a user with no password yet: the first-password window
    ASSERT_EQ(settings.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    settings.WriteString(user, L"");
  }
  Start();
  HWND saisie = WaitFor(nullptr, L"Ferlane: Saisie du mot de passe");
  ASSERT_NE(saisie, nullptr);
  Type(saisie, kIdMaskEdit1, L"abc");
  Type(saisie, kIdMaskEdit2, L"abc");
  ClickOk(saisie);
  HWND box = WaitFor(L"#32770", L"Ferlane");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(ChildTexts(box).find(L"au moins 8 caract\u00E8res"), std::wstring::npos)
      << Narrow(ChildTexts(box));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(::IsWindowVisible(saisie));
  EXPECT_EQ(::GetWindowTextLengthW(::GetDlgItem(saisie, kIdMaskEdit1)), 0);

  Type(saisie, kIdMaskEdit1, L"abcdefgh");
  Type(saisie, kIdMaskEdit2, L"abcdefgh");
  ClickOk(saisie);
  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Exited());
  RegistryKey settings;
  ASSERT_EQ(settings.Open(HKEY_CURRENT_USER, kSettings), ERROR_SUCCESS);
  EXPECT_TRUE(StoredPasswordMatches(settings.ReadStringOrEmpty(user), L"abcdefgh"));
}

}  // namespace
}  // namespace ferlane
