#include "shellfolders/logic/MergePlan.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace ferlane {

ClashStep ClashFor(bool isFolder, std::optional<bool> existingIsFolder) {
  if (!existingIsFolder) return ClashStep::Move;
  if (*existingIsFolder != isFolder) return ClashStep::Leave;
  return isFolder ? ClashStep::AskMerge : ClashStep::AskReplace;
}

ClashOutcome Resolve(ClashStep step, std::optional<bool> answer) {
  switch (step) {
    case ClashStep::Move: return ClashOutcome::Move;
    case ClashStep::Leave: return ClashOutcome::Leave;
    case ClashStep::AskReplace: return answer.value_or(false) ? ClashOutcome::Replace : ClashOutcome::Declined;
    case ClashStep::AskMerge: return answer.value_or(false) ? ClashOutcome::Merge : ClashOutcome::Declined;
  }
  return ClashOutcome::Declined;
}

std::vector<MergeItem> PlanMerge(const std::vector<FolderEntry>& source, const std::vector<FolderEntry>& destination,
                                 NameFold fold) {
  std::unordered_map<std::wstring, bool> taken;
  for (const auto& e : destination) taken.emplace(fold(e.name), e.isFolder);
  std::vector<MergeItem> plan;
  plan.reserve(source.size());
  for (const auto& e : source) {
    const auto it = taken.find(fold(e.name));
    plan.push_back({e.name, e.isFolder,
                    ClashFor(e.isFolder, it == taken.end() ? std::nullopt : std::optional<bool>(it->second))});
  }
  return plan;
}

std::vector<std::wstring> MergeLeftovers(std::wstring_view shownAs, const std::vector<FolderEntry>& remaining,
                                         const std::vector<std::wstring>& namedInside, NameFold fold) {
  std::unordered_set<std::wstring> named;
  for (const auto& n : namedInside) named.insert(fold(n));
  std::vector<std::wstring> left;
  for (const auto& e : remaining) {
    if (e.isFolder && named.count(fold(e.name))) continue;
    std::wstring path(shownAs);
    path += L'\\';
    path += e.name;
    left.push_back(std::move(path));
  }
  return left;
}

bool FitsIn(std::size_t destinationLength, std::wstring_view name, bool isFolder, InsideLengths inside) {
  const std::size_t path = destinationLength + 1 + name.size();
  if (!isFolder) return path <= kMaxFilePath;
  return path <= kMaxFolderPath && (inside.folder == 0 || path + inside.folder <= kMaxFolderPath) &&
         (inside.file == 0 || path + inside.file <= kMaxFilePath);
}

std::wstring NameLines(const std::vector<std::wstring>& names) {
  constexpr std::size_t kListed = 10;
  std::wstring text;
  for (std::size_t i = 0; i < names.size() && i < kListed; ++i) text += L"\r\n« " + names[i] + L" »";
  if (names.size() > kListed) text += L"\r\n... et " + std::to_wstring(names.size() - kListed) + L" autres.";
  return text;
}

std::wstring MergeQuestion(std::wstring_view name, std::wstring_view from, std::wstring_view to) {
  std::wstring text = L"Le dossier « ";
  text += to;
  text += L" » contient déjà un dossier nommé « ";
  text += name;
  text += L" ».\r\n\r\nVoulez-vous fusionner le dossier « ";
  text += from;
  text += L'\\';
  text += name;
  text += L" » avec le dossier « ";
  text += to;
  text += L'\\';
  text += name;
  text += L" » ?\r\n\r\nSes éléments y seront déplacés un par un ; pour un nom déjà présent, la question vous sera "
          L"posée.";
  return text;
}

std::wstring TooLongText(const std::vector<std::wstring>& names, std::wstring_view destination, bool toStore) {
  const bool one = names.size() == 1;
  std::wstring text = one ? L"Ce nom est trop long pour le dossier " : L"Ces noms sont trop longs pour le dossier ";
  if (toStore) text += L"caché ";
  text += L"« ";
  text += destination;
  text += L" » :";
  text += NameLines(names);
  text += one ? L"\r\n\r\nSon chemin y dépasserait les 260 caractères que Windows permet : raccourcissez le nom. "
                L"L'élément reste à sa place."
              : L"\r\n\r\nLeurs chemins y dépasseraient les 260 caractères que Windows permet : raccourcissez les "
                L"noms. Ces éléments restent à leur place.";
  return text;
}

WatchAction NextWatchAction(StoreWatch& watch, const StoreLook& now, bool visible) {
  WatchAction action;
  if (now.isFolder) {
    watch.told = false;  // back: a later absence is told again
    action.relist = !watch.listed || now.stamp != watch.stamp;
    return action;
  }
  action.showEmpty = watch.listed;
  watch.listed = false;
  if (visible && !watch.told) {
    action.tell = true;
    watch.told = true;
  }
  return action;
}

std::wstring StoreGoneText(const std::vector<std::wstring>& folders, const std::vector<bool>& isFile) {
  auto reason = [&](std::size_t i) {
    return i < isFile.size() && isFile[i] ? L"un fichier porte son nom" : L"il a été supprimé ou déplacé";
  };
  if (folders.size() == 1)
    return L"Le dossier caché « " + folders[0] + L" » est introuvable : " + reason(0) +
           L".\r\n\r\nIl est affiché vide ; « Cacher » le crée de nouveau.";
  std::wstring text = L"Les dossiers cachés sont introuvables :";
  for (std::size_t i = 0; i < folders.size(); ++i) text += L"\r\n« " + folders[i] + L" » : " + reason(i);
  return text + L"\r\n\r\nIls sont affichés vides ; « Cacher » les crée de nouveau.";
}

}  // namespace ferlane
