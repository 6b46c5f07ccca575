#include "settings/logic/ExplorerSettings.h"

namespace ferlane {

std::wstring WriteRefusedText(const std::wstring& valueName) {
  return L"Echec à la définition des données pour '" + valueName + L"'";
}

SettingKey KeyOf(SettingGroup group) {
  switch (group) {
    case SettingGroup::DesktopIcons:
      return {SettingsRoot::CurrentUser, kNewStartPanelKey, L"Icones du Bureau Administrateur"};
    case SettingGroup::HiddenFiles:
      return {SettingsRoot::CurrentUser, kAdvancedKey, L"Afficher les Dossiers cachés"};
    case SettingGroup::Autostart: break;
  }
  return {SettingsRoot::LocalMachine, kRunKey, L"Activer Ferlane au démarrage de Windows"};
}

std::wstring KeyUnavailableText(SettingGroup group, bool keyMissing, const std::wstring& reason) {
  const SettingKey key = KeyOf(group);
  std::wstring text = L"Le réglage « ";
  text += key.setting;
  text += L" » n'a pas pu être appliqué.\r\n\r\nLa clé du Registre « ";
  text += key.root == SettingsRoot::CurrentUser ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\";
  text += key.path;
  if (keyMissing)
    text += L" » n'existe pas sur ce Windows, qui ne connaît donc pas ce réglage ; Ferlane ne la crée pas.";
  else
    text += L" » n'a pas pu être ouverte en écriture :\r\n" + reason;
  text += L"\r\n\r\nAucune valeur n'a été écrite.";
  return text;
}

}  // namespace ferlane
