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

TEST(ExplorerSettingsLogic, AnUnavailableKeyNamesTheSettingTheKeyAndWhy) {
  const std::wstring missing = KeyUnavailableText(SettingGroup::HiddenFiles, true, L"ignored");
  EXPECT_EQ(missing.rfind(L"Le réglage « Afficher les Dossiers cachés » n'a pas pu être appliqué.", 0), 0u);
  EXPECT_NE(missing.find(std::wstring(L"« HKEY_CURRENT_USER\\") + kAdvancedKey + L" » n'existe pas"),
            std::wstring::npos);
  EXPECT_EQ(missing.find(L"ignored"), std::wstring::npos);
  const std::wstring refused = KeyUnavailableText(SettingGroup::Autostart, false, L"Accès refusé.");
  EXPECT_NE(refused.find(std::wstring(L"« HKEY_LOCAL_MACHINE\\") + kRunKey + L" » n'a pas pu être ouverte en "
                         L"écriture :\r\nAccès refusé."),
            std::wstring::npos);
}

}  // namespace
}  // namespace ferlane
