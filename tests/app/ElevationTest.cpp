// The window's own elevation, with the token kinds Wine cannot give.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Elevation.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST(Elevation, OnlyALimitedTokenStartsTheProgramAgainAndARefusalIsSaidWithNothingWritten) {
  struct Case {
    TokenElevation token;
    DWORD startAnswer;
    std::optional<int> exitCode;  // nothing: the window starts in this run
    std::size_t starts;
    std::wstring said;            // in the one message shown, if any
  };
  const Case cases[] = {
      {TokenElevation::None, ERROR_SUCCESS, std::nullopt, 0, L""},  // Windows XP
      {TokenElevation::Default, ERROR_SUCCESS, std::nullopt, 0, L""},  // a standard user, or UAC off
      {TokenElevation::Full, ERROR_SUCCESS, std::nullopt, 0, L""},
      {TokenElevation::Limited, ERROR_SUCCESS, 0, 1, L""},
      {TokenElevation::Limited, ERROR_CANCELLED, 1, 1, L"refus\u00E9e"},
      {TokenElevation::Limited, ERROR_FILE_NOT_FOUND, 1, 1, L"n'a pas pu se relancer"},
  };
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  for (const Case& c : cases) {
    test::FakePlatform platform;
    test::RecordingMessages messages;
    platform.elevation = c.token;
    platform.elevatedStartAnswer = c.startAnswer;
    const int row = static_cast<int>(&c - cases);
    EXPECT_EQ(RestartElevatedIfLimited(), c.exitCode) << row;
    EXPECT_EQ(platform.elevatedStarts.size(), c.starts) << row;
    if (c.starts) {
      EXPECT_NE(platform.elevatedStarts[0].find(L".exe"), std::wstring::npos) << row;
    }
    ASSERT_EQ(messages.shown.size(), c.said.empty() ? 0u : 1u) << row;
    if (!c.said.empty()) {
      EXPECT_NE(messages.shown[0].text.find(c.said), std::wstring::npos) << row;
    }
  }
  HKEY key = nullptr;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Ferlane", 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace ferlane
