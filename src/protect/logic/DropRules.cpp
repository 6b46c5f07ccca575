#include "protect/logic/DropRules.h"

namespace ferlane {

ItemType TypeFromTypeText(const std::wstring& typeText) {
  return typeText == kFolderTypeText ? ItemType::Folder : ItemType::File;
}

ItemType TypeOfRow(const std::wstring& kindTag, const std::wstring& typeText) {
  if (kindTag.empty()) return TypeFromTypeText(typeText);
  return kindTag == L"dir" ? ItemType::Folder : ItemType::File;
}

std::wstring DroppedPath(const std::wstring& rowFullPath, const std::wstring& folder,
                         const std::wstring& caption) {
  if (!rowFullPath.empty()) return rowFullPath;
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + caption;
}

}  // namespace ferlane
