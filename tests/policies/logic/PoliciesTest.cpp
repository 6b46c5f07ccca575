#include "policies/logic/Policies.h"

#include <gtest/gtest.h>

#include <map>
#include <variant>

namespace ferlane {
namespace {

// One level's values as a registry would hold them; a value of the wrong
// type stands for REG_SZ where REG_DWORD is read and the other way round.
class Level : public IPolicyLevel {
 public:
  using Stored = std::variant<std::wstring, std::uint32_t>;
  Level(std::initializer_list<std::pair<const std::wstring, Stored>> values) : values_(values) {}
  std::optional<std::wstring> Text(const wchar_t* name) const override {
    auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<std::wstring>(it->second)) return std::nullopt;
    return std::get<std::wstring>(it->second);
  }
  std::optional<std::uint32_t> Number(const wchar_t* name) const override {
    auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<std::uint32_t>(it->second)) return std::nullopt;
    return std::get<std::uint32_t>(it->second);
  }

 private:
  std::map<std::wstring, Stored> values_;
};

TEST(PoliciesTest, TheMachinesValueWinsThenTheUsersThenTheFallbackWithinTheTablesRange) {
  struct Case {
    const char* what;
    Level machine, user;
    Policies expected;
  } cases[] = {
      {"neither level: the fallbacks", {}, {}, {L"", 0, false, true}},
      {"the user's alone",
       {},
       {{L"ListFolder", std::wstring(L"\\\\srv\\listes")}, {L"MinPasswordLength", 8u}, {L"LockSettings", 1u},
        {L"EventLog", 0u}},
       {L"\\\\srv\\listes", 8, true, false}},
      {"the machine's over the user's",
       {{L"ListFolder", std::wstring(L"D:\\Listes")}, {L"MinPasswordLength", 4u}, {L"LockSettings", 0u},
        {L"EventLog", 1u}},
       {{L"ListFolder", std::wstring(L"E:\\Moi")}, {L"MinPasswordLength", 12u}, {L"LockSettings", 1u},
        {L"EventLog", 0u}},
       {L"D:\\Listes", 4, false, true}},
      {"a machine's value of the wrong type or empty counts as none",
       {{L"ListFolder", 7u}, {L"MinPasswordLength", std::wstring(L"8")}, {L"LockSettings", std::wstring(L"1")}},
       {{L"ListFolder", std::wstring(L"E:\\Moi")}, {L"MinPasswordLength", 6u}},
       {L"E:\\Moi", 6, false, true}},
      {"an empty text is no value", {{L"ListFolder", std::wstring()}}, {}, {L"", 0, false, true}},
      {"the machine's empty text leaves the user's",
       {{L"ListFolder", std::wstring()}},
       {{L"ListFolder", std::wstring(L"E:\\Moi")}},
       {L"E:\\Moi", 0, false, true}},
      {"above the range: its maximum",
       {{L"MinPasswordLength", 1000u}, {L"LockSettings", 2u}, {L"EventLog", 0xFFFFFFFFu}},
       {},
       {L"", 64, true, true}},
  };
  for (const Case& c : cases) {
    const Policies p = ResolvePolicies(c.machine, c.user);
    EXPECT_EQ(p.listFolder, c.expected.listFolder) << c.what;
    EXPECT_EQ(p.minPasswordLength, c.expected.minPasswordLength) << c.what;
    EXPECT_EQ(p.lockSettings, c.expected.lockSettings) << c.what;
    EXPECT_EQ(p.eventLog, c.expected.eventLog) << c.what;
  }
}

TEST(PoliciesTest, TheListFolderNamesTheUsersFileWhenItIsADrivesOrAShares) {
  Policies none, share;
  share.listFolder = L"\\\\srv\\ferlane$\\POSTE7\\";
  EXPECT_EQ(UserListPath(none, L"C:\\Program Files\\Ferlane\\", L"marie"), L"C:\\Program Files\\Ferlane\\marie");
  EXPECT_EQ(UserListPath(share, L"C:\\Program Files\\Ferlane\\", L"marie"), L"\\\\srv\\ferlane$\\POSTE7\\marie");
  for (const wchar_t* good : {L"C:\\", L"d:\\Listes", L"\\\\srv\\partage", L"\\\\srv\\partage\\a"})
    EXPECT_TRUE(IsAbsoluteFolder(good)) << good;
  for (const wchar_t* bad : {L"", L"Listes", L"C:Listes", L"\\Listes", L"\\\\srv", L"\\\\srv\\", L"\\\\\\partage",
                             L"\\\\srv\\\\partage", L"1:\\x"})
    EXPECT_FALSE(IsAbsoluteFolder(bad)) << bad;
}

// What the gates refuse is their own test's; here, the counting: two emoji
// are two characters, four UTF-16 units.
TEST(PoliciesTest, APasswordShorterThanTheMinimumIsCountedAsTheUserSeesIt) {
  EXPECT_NE(ShortPasswordText(L"\U0001F511\U0001F511", 3), std::nullopt);
  EXPECT_EQ(ShortPasswordText(L"\U0001F511\U0001F511", 2), std::nullopt);
}

}  // namespace
}  // namespace ferlane
