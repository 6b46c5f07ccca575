#include "settings/logic/ExplorerSettings.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(ExplorerSettingsLogic, OnlyAStoredOneChecksABox) {
  EXPECT_TRUE(CheckedFromNumber(1));
  EXPECT_FALSE(CheckedFromNumber(0));
  EXPECT_FALSE(CheckedFromNumber(2));
  EXPECT_FALSE(CheckedFromNumber(std::nullopt));
  EXPECT_TRUE(AutostartFromText(L"C:\\Ferlane\\ferlane.exe"));
  EXPECT_FALSE(AutostartFromText(L""));
  EXPECT_FALSE(AutostartFromText(std::nullopt));
}

TEST(ExplorerSettingsLogic, WrittenNumbersAndTaskbarItems) {
  EXPECT_EQ(HiddenNumber(true), 1u);
  EXPECT_EQ(HiddenNumber(false), 2u);
  EXPECT_EQ(DesktopIconNumber(false), 0u);
  EXPECT_EQ(TaskbarActionFor(0), TaskbarAction::Hide);
  EXPECT_EQ(TaskbarActionFor(1), TaskbarAction::Show);
  EXPECT_EQ(TaskbarActionFor(-1), TaskbarAction::None);
  EXPECT_EQ(WriteRefusedText(L"Hidden"), L"Echec à la définition des données pour 'Hidden'");
}

}  // namespace
}  // namespace ferlane
