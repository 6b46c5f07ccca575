#include "browse/logic/TreeLogic.h"

#include "browse/logic/PathOps.h"

namespace ferlane::treelogic {

bool IsDrivesPath(const std::wstring& path) { return SameTextIgnoreCase(path, kDrivesPath); }

std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName) {
  std::wstring caption = L" (";
  caption += letter;
  caption += L":)  ";
  caption += displayName.substr(0, displayName.find(L'('));
  return caption;
}

std::wstring DriveKey(const std::wstring& caption) {
  if (caption.size() < 4) return {};
  return caption.substr(2, 2) + L"\\";
}

std::wstring NodePathFromTexts(const std::vector<std::wstring>& texts) {
  if (texts.size() < 2) return {};
  std::wstring path = DriveKey(texts[1]);
  for (std::size_t i = 2; i < texts.size(); ++i) {
    if (i > 2) path += L'\\';
    path += texts[i];
  }
  return path;
}

std::wstring SelectionPath(int level, const std::wstring& nodePath) {
  return level == 0 ? std::wstring(kDrivesPath) : nodePath;
}

std::vector<std::wstring> PathSegments(const std::wstring& path) {
  std::vector<std::wstring> segments;
  std::size_t start = 0;
  for (std::size_t slash; (slash = path.find(L'\\', start)) != std::wstring::npos; start = slash + 1)
    segments.push_back(path.substr(start, slash - start + 1));
  return segments;
}

bool SegmentMatches(const std::wstring& segment, int level, const std::wstring& text) {
  if (level <= 0) return false;
  std::wstring key = level == 1 ? DriveKey(text) : text + L"\\";
  return !key.empty() && SameTextIgnoreCase(segment, key);
}

NameCheck CheckFolderName(const std::wstring& name) {
  if (name.empty()) return NameCheck::Empty;
  return HasInvalidChar(kInvalidFolderChars, name) ? NameCheck::InvalidChars : NameCheck::Ok;
}

std::wstring InvalidNameMessage(const std::wstring& message, const std::wstring& name) {
  return message + L"\r" + name;
}

std::wstring RenameQuestion(const std::wstring& question, const std::wstring& fromLabel,
                            const std::wstring& toLabel, const std::wstring& oldName,
                            const std::wstring& newName) {
  return question + L"\r\r    " + fromLabel + oldName + L"\r    " + toLabel + newName;
}

std::wstring RenamedPath(const std::wstring& oldPath, const std::wstring& newName) {
  return ExtractFilePath(DelSlash(oldPath)) + newName;
}

}  // namespace ferlane::treelogic
