#include "platform/logic/PathFold.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(PathFold, SpellingsTheFileSystemTakesForOneNameFoldAlike) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  } cases[] = {
      {L"C:\\Ferlane\\Marie", L"c:\\FERLANE\\marie", true},
      {L"C:\\Donn\u00E9es\\\u00C9t\u00E9", L"c:\\DONN\u00C9ES\\\u00E9T\u00C9", true},   // Latin-1
      {L"\u0153uvre \u0142\u00FF", L"\u0152UVRE \u0141\u0178", true},                   // œ, ł, ÿ
      {L"\u017Ee\u013E", L"\u017De\u013D", true},                                        // ž, ľ: the even small letters
      {L"\u017F", L"\u017D", false},                                                   // ſ is not ž
      {L"\u03C3\u03C2\u03AC", L"\u03A3\u03A3\u0386", true},                              // Greek, final sigma
      {L"\u0434\u0451\u0461", L"\u0414\u0401\u0460", true},                              // Cyrillic
      {L"\uFF41", L"\uFF21", true},                                                      // fullwidth
      {L"a\u00F7", L"A\u00D7", false},                                                   // ÷ is no letter
      {L"stra\u00DFe", L"STRASSE", false},                                               // one unit, one unit
      {L"C:\\Marie", L"C:\\Mario", false},
      {L"C:\\a", L"C:\\a\\", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SamePathText(c.a, c.b), c.same) << static_cast<int>(&c - cases);
    EXPECT_EQ(FoldPath(c.a) == FoldPath(c.b), c.same) << static_cast<int>(&c - cases);
    EXPECT_EQ(PathKey(FoldPath(c.a)) == PathKey(FoldPath(c.b)), c.same) << static_cast<int>(&c - cases);
  }
  // Both bytes of a unit count in the digest: U+0141 is not U+4101.
  EXPECT_NE(PathKey(L"\u0141"), PathKey(L"\u4101"));
}

}  // namespace
}  // namespace ferlane
