#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/ErrorText.h"
#include "platform/Registry.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST(PlatformQueries, RealSystemAnswersUnderWine) {
  EXPECT_FALSE(GetLogonUserName().empty());
  // Wine's default answer is Windows 7 (6.1): a later NT.
  EXPECT_EQ(GetOsFamily(), 7);
  auto drives = GetFixedDrives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), L"C:\\");
}

TEST(PlatformQueries, FixedDrivesKeepOnlyFixedOnesInOrder) {
  test::FakePlatform fake;
  fake.driveStrings = std::vector<std::wstring>{L"A:\\", L"C:\\", L"D:\\", L"E:\\"};
  fake.driveTypes = {{L"A:\\", DRIVE_REMOVABLE}, {L"C:\\", DRIVE_FIXED}, {L"D:\\", DRIVE_CDROM},
                     {L"E:\\", DRIVE_FIXED}};
  EXPECT_EQ(GetFixedDrives(), (std::vector<std::wstring>{L"C:\\", L"E:\\"}));
  fake.driveStrings = std::vector<std::wstring>{};
  EXPECT_TRUE(GetFixedDrives().empty());
}

TEST(PlatformQueries, OsFamilyFollowsTheVersionAnswer) {
  test::FakePlatform fake;
  fake.version = std::optional<OsVersion>(OsVersion{2, 5, 1, L"Service Pack 2"});
  EXPECT_EQ(GetOsFamily(), 6);
  fake.version = std::optional<OsVersion>(OsVersion{1, 4, 10, L" A "});
  EXPECT_EQ(GetOsFamily(), 2);
  fake.version = std::optional<OsVersion>();  // the query failed
  EXPECT_EQ(GetOsFamily(), -1);
}

// One store per machine: both widths of the program read the 32-bit
// programs' folder. The test command runs this 64-bit and 32-bit in a 64-bit
// prefix, where Wine has both Program Files folders, as a 64-bit Windows does.
TEST(PlatformQueries, BothWidthsReadThe32BitProgramFilesFolder) {
  EXPECT_EQ(GetProgramFilesDir(), L"C:\\Program Files (x86)");
  EXPECT_EQ(GetProgramFiles64Dir(), L"C:\\Program Files");
}

TEST(PlatformQueries, ProgramFilesDirFallsBackToTheOnlyFolderOrEmpty) {
  // A 32-bit Windows has no "ProgramFilesDir (x86)": its one folder is the store's.
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"), ERROR_SUCCESS);
  const std::wstring x86 = key.ReadStringOrEmpty(L"ProgramFilesDir (x86)");
  const std::wstring only = key.ReadStringOrEmpty(L"ProgramFilesDir");
  ASSERT_EQ(key.DeleteValue(L"ProgramFilesDir (x86)"), ERROR_SUCCESS);
  EXPECT_EQ(GetProgramFilesDir(), only);
  ASSERT_EQ(key.DeleteValue(L"ProgramFilesDir"), ERROR_SUCCESS);
  EXPECT_EQ(GetProgramFilesDir(), L"");
  key.WriteString(L"ProgramFilesDir", only);
  key.WriteString(L"ProgramFilesDir (x86)", x86);
  EXPECT_EQ(GetProgramFilesDir(), L"C:\\Program Files (x86)");
}

TEST(PlatformQueries, WineUserIsAnAdministrator) { EXPECT_TRUE(IsAdministrator()); }

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

// A token of a domain user has many groups; the Administrators group comes
// after more than 1,024 bytes of them.
BOOL WINAPI LargeTokenGroups(HANDLE, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size, DWORD* needed) {
  constexpr DWORD kGroups = 120;
  static std::vector<BYTE> sids[kGroups];
  for (DWORD i = 0; i < kGroups; ++i) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    const bool last = i + 1 == kGroups;
    const DWORD count = last ? 2 : 5;
    sids[i].assign(::GetSidLengthRequired(static_cast<UCHAR>(count)), 0);
    ::InitializeSid(sids[i].data(), &nt, static_cast<BYTE>(count));
    const DWORD rids[5] = {last ? DWORD{SECURITY_BUILTIN_DOMAIN_RID} : 21u, last ? DWORD{DOMAIN_ALIAS_RID_ADMINS} : 7u,
                           8u, 9u, 1000u + i};
    for (DWORD r = 0; r < count; ++r) *::GetSidSubAuthority(sids[i].data(), r) = rids[r];
  }
  const DWORD groupsSize = sizeof(TOKEN_GROUPS) + (kGroups - 1) * sizeof(SID_AND_ATTRIBUTES);
  DWORD total = groupsSize;
  for (const auto& sid : sids) total += static_cast<DWORD>(sid.size());
  *needed = total;
  if (kind != TokenGroups || size < total) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  auto* groups = static_cast<TOKEN_GROUPS*>(buffer);
  groups->GroupCount = kGroups;
  BYTE* next = static_cast<BYTE*>(buffer) + groupsSize;
  for (DWORD i = 0; i < kGroups; ++i) {
    std::copy(sids[i].begin(), sids[i].end(), next);
    groups->Groups[i] = {reinterpret_cast<PSID>(next), SE_GROUP_ENABLED};
    next += sids[i].size();
  }
  return TRUE;
}

TEST(PlatformQueries, AdministratorFoundAfterMoreThan1024BytesOfGroups) {
  DWORD needed = 0;
  LargeTokenGroups(nullptr, TokenGroups, nullptr, 0, &needed);
  ASSERT_GT(needed, 1024u);
  EXPECT_TRUE(TokenHasAdministrators(nullptr, &LargeTokenGroups));
}

TEST(ErrorTexts, SystemTextWithoutLineBreakAndExceptionTextFromUtf8) {
  const std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  EXPECT_NE(text.back(), L'\r');
  EXPECT_EQ(ExceptionText(std::runtime_error("M\xC3\xA9moire insuffisante")), L"Mémoire insuffisante");
}

TEST(PlatformQueries, DriveTextTooLongForTheBufferRaisesTheOutOfMemoryText) {
  struct Overflowing : test::FakePlatform {
    bool LogicalDriveStrings(std::vector<std::wstring>&, DWORD& error) override {
      error = ERROR_OUTOFMEMORY;
      return false;
    }
  } fake;
  try {
    GetFixedDrives();
    FAIL() << "no error raised";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(ExceptionText(e), SystemErrorText(ERROR_OUTOFMEMORY));
  }
}

}  // namespace
}  // namespace ferlane
