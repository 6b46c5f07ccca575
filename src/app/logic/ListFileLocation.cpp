#include "app/logic/ListFileLocation.h"

#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

std::wstring_view Trimmed(std::wstring_view path) {
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// `folder` moved from under `fromRoot` to under `toRoot`; empty when it does
// not lie under `fromRoot`.
std::wstring Rebased(std::wstring_view folder, std::wstring_view fromRoot, std::wstring_view toRoot) {
  fromRoot = Trimmed(fromRoot);
  toRoot = Trimmed(toRoot);
  if (fromRoot.empty() || toRoot.empty() || SameText(fromRoot, toRoot)) return {};
  if (folder.size() <= fromRoot.size() || folder[fromRoot.size()] != L'\\' ||
      !SameText(folder.substr(0, fromRoot.size()), fromRoot))
    return {};
  return std::wstring(toRoot) + std::wstring(folder.substr(fromRoot.size()));
}

}  // namespace

std::vector<std::wstring> OlderListFiles(std::wstring_view programFolder, std::wstring_view userName,
                                         std::wstring_view programFiles32, std::wstring_view programFiles64,
                                         std::wstring_view localAppData) {
  std::vector<std::wstring> files;
  const std::wstring_view folder = Trimmed(programFolder);
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
