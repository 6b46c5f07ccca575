#pragma once
// COM on this thread for the calls of one operation (shell links, the folder
// picker), released only when this scope initialised it.
#include <objbase.h>

namespace ferlane {

class ComScope {
 public:
  ComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

}  // namespace ferlane
