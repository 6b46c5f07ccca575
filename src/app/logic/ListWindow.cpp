#include "app/logic/ListWindow.h"

namespace ferlane {

std::wstring ListWindowMutexName(std::uint64_t key) {
  std::wstring name = L"Global\\Ferlane-";
  for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(key >> shift) & 0xF];
  return name;
}

}  // namespace ferlane
