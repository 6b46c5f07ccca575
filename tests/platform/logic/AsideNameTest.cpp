#include "platform/logic/AsideName.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

// The names a move across volumes gives what it sets aside, and names that
// only look like them: only the first are ever named as left behind.
TEST(AsideName, OnlyTheNamesAMoveSetsAsideCarryTheMark) {
  for (const wchar_t* name : {L"Jeux.lnk.ferlane-deplacement", L"Jeux.lnk.ferlane-deplacement-2",
                              L"Groupe.FERLANE-Deplacement-17", L"dupont.ferlane-deplacement"})
    EXPECT_TRUE(HasAsideMark(name)) << std::wstring(name).size();
  for (const wchar_t* name : {L"Jeux.lnk", L".ferlane-deplacement", L"Jeux.ferlane-deplacement.txt",
                              L"Jeux.lnk.ferlane-deplacement-", L"Jeux.lnk.ferlane-deplacement-2b",
                              L"Jeux.ferlane-deplacer"})
    EXPECT_FALSE(HasAsideMark(name)) << std::wstring(name).size();
}

}  // namespace
}  // namespace ferlane
