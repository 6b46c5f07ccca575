#include "shellfolders/logic/StoreLocation.h"

#include <algorithm>
#include <cstdint>

#include "platform/logic/HexText.h"
#include "shellfolders/logic/MoveRules.h"

namespace ferlane {
namespace {

constexpr std::wstring_view kAdministrator = L"Ferlane Administrateur ";
constexpr std::wstring_view kUser = L"Ferlane Utilisateur ";

// The first ten names, one a line, then how many more: a box stays
// readable whatever the count.
void AppendListed(std::wstring& text, const std::vector<std::wstring>& names) {
  constexpr std::size_t kListed = 10;
  for (std::size_t i = 0; i < names.size() && i < kListed; ++i) text += L"\r\n« " + names[i] + L" »";
  if (names.size() > kListed) text += L"\r\n... et " + std::to_wstring(names.size() - kListed) + L" autres.";
}

}  // namespace

std::wstring_view WithoutFinalSeparator(std::wstring_view path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.remove_suffix(1);
  return path;
}

bool SameFolder(std::wstring_view a, std::wstring_view b) {
  a = WithoutFinalSeparator(a);
  b = WithoutFinalSeparator(b);
  if (a.size() != b.size()) return false;
  auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::wstring ComposeRoleLabel(bool ntFamily, std::wstring_view userName) {
  std::wstring label(ntFamily ? kAdministrator : kUser);
  label += userName;
  return label;
}

std::wstring OtherRoleLabel(std::wstring_view roleLabel) {
  if (roleLabel.starts_with(kAdministrator)) return ComposeRoleLabel(false, roleLabel.substr(kAdministrator.size()));
  if (roleLabel.starts_with(kUser)) return ComposeRoleLabel(true, roleLabel.substr(kUser.size()));
  return {};
}

std::vector<std::wstring> OlderStoreFolders(std::wstring_view storeRoot, std::wstring_view programFiles64,
                                            std::wstring_view localAppData, std::wstring_view roleLabel,
                                            std::wstring_view leaf) {
  const std::wstring other = OtherRoleLabel(roleLabel);
  std::vector<std::wstring> roots{std::wstring(WithoutFinalSeparator(storeRoot))};
  if (auto root64 = OtherStoreRoot(storeRoot, programFiles64)) roots.push_back(std::move(*root64));
  for (std::size_t i = 0, n = roots.size(); i < n; ++i)
    if (auto copy = VirtualStoreRoot(roots[i], localAppData)) roots.push_back(std::move(*copy));
  std::vector<std::wstring> folders;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    // The store's own folder is not an older one.
    if (i > 0) folders.push_back(HiddenStorePath(roots[i], roleLabel, leaf));
    if (!other.empty()) folders.push_back(HiddenStorePath(roots[i], other, leaf));
  }
  return folders;
}

std::optional<std::wstring> OtherStoreRoot(std::wstring_view storeRoot, std::wstring_view programFiles64) {
  if (WithoutFinalSeparator(programFiles64).empty() || SameFolder(storeRoot, programFiles64)) return std::nullopt;
  return std::wstring(WithoutFinalSeparator(programFiles64));
}

std::optional<std::wstring> VirtualStoreRoot(std::wstring_view storeRoot, std::wstring_view localAppData) {
  storeRoot = WithoutFinalSeparator(storeRoot);
  localAppData = WithoutFinalSeparator(localAppData);
  // Only a folder on a drive letter is redirected; a share or an empty text is not.
  if (localAppData.empty() || storeRoot.size() < 4 || storeRoot[1] != L':' || storeRoot[2] != L'\\')
    return std::nullopt;
  std::wstring root(localAppData);
  root += L"\\VirtualStore";
  root += storeRoot.substr(2);
  return root;
}

std::wstring StrandedItemsText(std::wstring_view oldFolder, std::wstring_view storeFolder,
                               const std::vector<std::wstring>& names) {
  std::wstring text = L"Le dossier caché « ";
  text += storeFolder;
  text += L" » contient déjà un élément du même nom que ";
  text += names.size() == 1 ? L"cet élément, resté" : L"ces éléments, restés";
  text += L" dans l'ancien dossier caché « ";
  text += oldFolder;
  text += L" » :";
  AppendListed(text, names);
  return text;
}

std::wstring UnreadableOlderStoreText(std::wstring_view oldFolder, std::wstring_view reason) {
  std::wstring text = L"L'ancien dossier caché « ";
  text += oldFolder;
  text += L" » n'a pas pu être lu en entier : ";
  text += reason;
  text += L"\r\nCe qu'il contient encore y reste.";
  return text;
}

std::wstring SetAsideText(const std::vector<std::wstring>& paths) {
  std::wstring text = paths.size() == 1 ? L"Cet élément a été mis de côté par un déplacement inachevé"
                                        : L"Ces éléments ont été mis de côté par un déplacement inachevé";
  text += L" (arrêt du programme ou remise en place refusée) :";
  AppendListed(text, paths);
  text += L"\r\nFerlane ne les renomme pas : l'original a pu être copié entier ailleurs. Vérifiez-les, puis "
          L"renommez-les ou supprimez-les.";
  return text;
}

std::wstring StrandedDigest(std::vector<std::wstring> paths) {
  if (paths.empty()) return {};
  std::sort(paths.begin(), paths.end());
  // FNV-1a over the code units, each path ended by a character no path holds.
  std::uint64_t hash = 0xcbf29ce484222325ull;
  auto add = [&hash](std::uint16_t unit) {
    for (const unsigned char byte : {static_cast<unsigned char>(unit & 0xFF), static_cast<unsigned char>(unit >> 8)}) {
      hash ^= byte;
      hash *= 0x100000001b3ull;
    }
  };
  for (const std::wstring& path : paths) {
    for (const wchar_t c : path) add(static_cast<std::uint16_t>(c));
    add(L'|');
  }
  return HexDigits(hash, 16);
}

}  // namespace ferlane
