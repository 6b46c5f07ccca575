#include "settings/logic/ExplorerSettings.h"

namespace ferlane {

std::wstring WriteRefusedText(const std::wstring& valueName) {
  return L"Echec à la définition des données pour '" + valueName + L"'";
}

}  // namespace ferlane
