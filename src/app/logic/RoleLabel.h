#pragma once
// The role label: the word for the user's role and the user name. It names
// the user's hidden store, so the window and the command line share it.
#include <string>

namespace ferlane {

inline std::wstring ComposeRoleLabel(bool ntFamily, const std::wstring& userName) {
  return (ntFamily ? L"Ferlane Administrateur " : L"Ferlane Utilisateur ") + userName;
}

}  // namespace ferlane
