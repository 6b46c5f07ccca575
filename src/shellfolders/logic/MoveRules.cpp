#include "shellfolders/logic/MoveRules.h"

#include "shellfolders/logic/MergePlan.h"

namespace ferlane {
namespace {

constexpr Route kRoutes[] = {
    {L"programmesperso", L"programmescommuns", ShellFolder::CommonPrograms, ShellFolder::PersonalPrograms,
     ItemRule::Programs, L"programmescommuns", kCsidlCommonPrograms, L"programmesperso", kCsidlPrograms},
    {L"programmescommuns", L"programmesperso", ShellFolder::PersonalPrograms, ShellFolder::CommonPrograms,
     ItemRule::Programs, L"programmescommuns", kCsidlCommonPrograms, L"programmesperso", kCsidlPrograms},
    {L"bureauperso", L"bureaucommun", ShellFolder::CommonDesktop, ShellFolder::PersonalDesktop, ItemRule::Desktop,
     L"bureaucommun", kCsidlCommonDesktopDirectory, L"bureauperso", kCsidlDesktopDirectory},
    {L"bureaucommun", L"bureauperso", ShellFolder::PersonalDesktop, ShellFolder::CommonDesktop, ItemRule::Desktop,
     L"bureaucommun", kCsidlCommonDesktopDirectory, L"bureauperso", kCsidlDesktopDirectory},
};

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool IsShortcutName(std::wstring_view name) {
  constexpr std::wstring_view kExt = L".lnk";
  if (name.size() <= kExt.size()) return false;  // ".lnk" alone names no shortcut
  const auto tail = name.substr(name.size() - kExt.size());
  for (std::size_t i = 0; i < kExt.size(); ++i)
    if (Lower(tail[i]) != kExt[i]) return false;
  return true;
}

ItemMove ProgramsItemMove(bool isDirectory, std::wstring_view fileName) {
  if (isDirectory) return ItemMove::Folder;
  return IsShortcutName(fileName) ? ItemMove::File : ItemMove::Skip;
}

ItemMove ApplyItemRule(ItemRule rule, bool isDirectory, std::wstring_view fileName) {
  if (rule == ItemRule::Programs) return ProgramsItemMove(isDirectory, fileName);
  return ItemMove::File;
}

const Route* RouteOf(std::wstring_view target) {
  // The personal desktop views of the other tabs share the drop of "bureauperso".
  if (target == L"burperso" || target == L"burcach") target = L"bureauperso";
  for (const auto& r : kRoutes)
    if (target == r.target) return &r;
  return nullptr;
}

bool AcceptsDrag(std::wstring_view target, std::wstring_view source) {
  const Route* r = RouteOf(target);
  return r && source == r->source;
}

const Route* RouteFrom(std::wstring_view source) {
  for (const auto& r : kRoutes)
    if (source == r.source) return &r;
  return nullptr;
}

std::wstring_view EntryName(std::wstring_view fullPath) {
  const auto slash = fullPath.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? fullPath : fullPath.substr(slash + 1);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  path += L'\\';
  path += name;
  return path;
}

std::wstring HiddenStorePath(std::wstring_view programFiles, std::wstring_view roleLabel, std::wstring_view leaf) {
  std::wstring path(programFiles);
  path += L"\\Ferlane\\";
  path += roleLabel;
  path += L'\\';
  path += leaf;
  return path;
}

std::vector<MoveBatch> MoveBatches(const std::vector<PlannedMove>& moves) {
  std::vector<MoveBatch> batches;
  for (std::size_t i = 0; i < moves.size();) {
    auto shared = [&](std::size_t k) {
      return moves[k].move == ItemMove::File && !moves[k].confirmed && moves[k].sourceFound;
    };
    std::size_t j = i + 1;
    if (shared(i))
      while (j < moves.size() && shared(j)) ++j;
    batches.push_back({i, j});
    i = j;
  }
  return batches;
}

std::wstring ReplaceQuestion(std::wstring_view name, std::wstring_view destination) {
  std::wstring text = L"Le dossier « ";
  text += destination;
  text += L" » contient déjà un élément nommé « ";
  text += name;
  text += L" ».\r\n\r\nVoulez-vous le remplacer ?";
  return text;
}

std::wstring MissingStoreText(std::wstring_view folder, std::wstring_view reason) {
  std::wstring text = L"Le dossier caché « ";
  text += folder;
  text += L" » n'a pas pu être créé ou atteint :\r\n";
  text += reason;
  text += L"\r\n\r\nAucun élément n'a été déplacé.";
  return text;
}

std::wstring MissingFolderText(std::wstring_view folder, std::wstring_view reason) {
  std::wstring text = L"Le dossier « ";
  text += folder;
  text += L" » est introuvable :\r\n";
  text += reason;
  text += L"\r\n\r\nAucun élément n'a été déplacé.";
  return text;
}

std::wstring NotMovedText(const std::vector<std::wstring>& names, std::wstring_view destination) {
  std::wstring text = names.size() == 1 ? L"Cet élément n'a pas pu être déplacé vers « "
                                        : L"Ces éléments n'ont pas pu être déplacés vers « ";
  text += destination;
  text += L" » :";
  return text + NameLines(names);
}

std::wstring MoveReportText(const std::vector<std::wstring>& notMoved, const std::vector<std::wstring>& kept,
                            bool keptInMerge, std::wstring_view destination, bool* error) {
  if (error) *error = !notMoved.empty();
  std::wstring text;
  if (!notMoved.empty()) text = NotMovedText(notMoved, destination);
  if (kept.empty() || (notMoved.empty() && !keptInMerge)) return text;
  if (!text.empty()) text += L"\r\n\r\n";
  text += kept.size() == 1 ? L"Cet élément est resté à sa place, comme vous l'avez choisi (« Non ») :"
                           : L"Ces éléments sont restés à leur place, comme vous l'avez choisi (« Non ») :";
  return text + NameLines(kept);
}

}  // namespace ferlane
