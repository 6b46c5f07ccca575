#include "app/logic/Contact.h"

namespace ferlane {

std::wstring ContactMailto(const std::wstring& address) {
  return L"mailto:" + address + L"?subject=" + L"Ferlane 1.0" + L"&Body=" + L"Ecrivez ici votre message:";
}

}  // namespace ferlane
