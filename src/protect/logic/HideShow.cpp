#include "protect/logic/HideShow.h"

namespace ferlane {

const wchar_t* TypeWord(ItemType type) { return type == ItemType::Folder ? L"Dossier" : L"Fichier"; }

const wchar_t* StateWord(ItemState state) { return state == ItemState::Hidden ? L"Cach\u00E9" : L"Visible"; }

ItemType TypeFromLine(const std::wstring& line) {
  return line == L"Dossier" ? ItemType::Folder : ItemType::File;
}

ItemState StateFromAttributes(std::uint32_t attributes) {
  return (attributes & kHiddenAttribute) ? ItemState::Hidden : ItemState::Visible;
}

ItemState ShowByClearing(IFileAttributes& fs, const std::wstring& path) {
  // Read afresh: the word may have changed since the caller looked. A failed
  // read must not be written back, or a refused path would get every bit set.
  std::uint32_t attributes = fs.Get(path);
  if (attributes != kInvalidFileAttributes) fs.Set(path, attributes & ~kHiddenAttribute);
  return ItemState::Visible;
}

ItemState HideByReplacing(IFileAttributes& fs, const std::wstring& path) {
  fs.Set(path, kHiddenAttribute);
  return ItemState::Hidden;
}

ItemState ShowIfHidden(IFileAttributes& fs, const std::wstring& path) {
  if (StateFromAttributes(fs.Get(path)) == ItemState::Hidden) ShowByClearing(fs, path);
  return ItemState::Visible;
}

ItemState Toggle(IFileAttributes& fs, const std::wstring& path) {
  if (StateFromAttributes(fs.Get(path)) == ItemState::Hidden) return ShowByClearing(fs, path);
  return HideByReplacing(fs, path);
}

void ShowAll(IFileAttributes& fs, std::vector<ProtectedItem>& items) {
  for (auto& item : items) item.state = ShowIfHidden(fs, item.path);
}

void HideAll(IFileAttributes& fs, std::vector<ProtectedItem>& items) {
  for (auto& item : items) item.state = HideByReplacing(fs, item.path);
}

void ToggleSelected(IFileAttributes& fs, std::vector<ProtectedItem>& items) {
  for (auto& item : items)
    if (item.selected) item.state = Toggle(fs, item.path);
}

}  // namespace ferlane
