#pragma once
// The address handed to the mail program by "M'écrire".
#include <string>

namespace ferlane {

// "mailto:" address "?subject=Ferlane 1.0&Body=Ecrivez ici votre message:",
// passed as it stands: the mail programs take the blanks unencoded.
std::wstring ContactMailto(const std::wstring& address);

}  // namespace ferlane
