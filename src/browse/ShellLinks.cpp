#include "browse/ShellLinks.h"

#include <objbase.h>
#include <shlobj.h>

#include "browse/ShellOps.h"
#include "platform/ComScope.h"

namespace ferlane {
namespace {

// A COM pointer released at the end of its scope.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** put() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace

std::wstring ResolveShortcut(const std::wstring& linkPath) {
  ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
    return {};
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) ||
      FAILED(file->Load(linkPath.c_str(), STGM_READ)) || FAILED(link->Resolve(MainWindow(), SLR_ANY_MATCH)))
    return {};
  wchar_t target[MAX_PATH + 1] = {};
  WIN32_FIND_DATAW data{};
  if (FAILED(link->GetPath(target, MAX_PATH, &data, 0))) return {};
  return target;
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& workingFolder,
                    const std::wstring& description) {
  ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
    return false;
  if (FAILED(link->SetPath(target.c_str())) || FAILED(link->SetWorkingDirectory(workingFolder.c_str())) ||
      FAILED(link->SetDescription(description.c_str())))
    return false;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) &&
         SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace ferlane
