// The command line's exit paths, run in this process with a platform that
// can answer what Wine cannot pretend (no user name).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/CommandLineRun.h"
#include "app/logic/PasswordHash.h"
#include "platform/Registry.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/logic/StoreLocation.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Ferlane";

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
  };
  for (const Case& c : cases) {
    platform.userName.reset();
    platform.programFiles.reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    c.arrange();
    std::wstring said;
    EXPECT_EQ(RunCommandArguments(c.args, [&](const std::wstring& line) { said += line + L"\n"; }), c.exitCode)
        << c.what;
    EXPECT_NE(said.find(c.said), std::wstring::npos) << c.what << ": " << std::string(said.begin(), said.end());
    ::SetStdHandle(STD_INPUT_HANDLE, input);
  }
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
}

}  // namespace
}  // namespace ferlane
