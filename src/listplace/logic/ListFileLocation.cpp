#include "listplace/logic/ListFileLocation.h"

#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

// `folder` moved from under `fromRoot` to under `toRoot`; empty when it does
// not lie under `fromRoot`.
std::wstring Rebased(std::wstring_view folder, std::wstring_view fromRoot, std::wstring_view toRoot) {
  fromRoot = WithoutFinalSeparator(fromRoot);
  toRoot = WithoutFinalSeparator(toRoot);
  if (fromRoot.empty() || toRoot.empty() || SameFolder(fromRoot, toRoot)) return {};
  if (folder.size() <= fromRoot.size() || folder[fromRoot.size()] != L'\\' ||
      !SameFolder(folder.substr(0, fromRoot.size()), fromRoot))
    return {};
  return std::wstring(toRoot) + std::wstring(folder.substr(fromRoot.size()));
}

}  // namespace

std::vector<std::wstring> OlderListFiles(std::wstring_view programFolder, std::wstring_view userName,
                                         std::wstring_view programFiles32, std::wstring_view programFiles64,
                                         std::wstring_view localAppData) {
  std::vector<std::wstring> files;
  const std::wstring_view folder = WithoutFinalSeparator(programFolder);
  if (folder.empty() || userName.empty()) return files;
  auto add = [&](const std::wstring& otherFolder) {
    if (!otherFolder.empty()) files.push_back(otherFolder + L'\\' + std::wstring(userName));
  };
  if (auto copy = VirtualStoreRoot(folder, localAppData)) add(*copy);
  std::wstring other = Rebased(folder, programFiles32, programFiles64);
  if (other.empty()) other = Rebased(folder, programFiles64, programFiles32);
  if (!other.empty()) {
    // The other width's program is named otherwise, but keeps its lists in
    // the same kind of folder; its own VirtualStore copy too.
    add(other);
    if (auto copy = VirtualStoreRoot(other, localAppData)) add(*copy);
  }
  return files;
}

}  // namespace ferlane
