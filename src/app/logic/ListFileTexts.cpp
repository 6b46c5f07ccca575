#include "app/logic/ListFileTexts.h"

namespace ferlane {

std::wstring MergedRowsText(const std::wstring& listFile, std::size_t added, std::size_t removed) {
  std::wstring text;
  if (added)
    text = std::to_wstring(added) + (added == 1 ? L" \u00E9l\u00E9ment ajout\u00E9" : L" \u00E9l\u00E9ments ajout\u00E9s") + L" au fichier \"" +
           listFile + L"\" pendant que Ferlane \u00E9tait ouvert " + (added == 1 ? L"a \u00E9t\u00E9 gard\u00E9" : L"ont \u00E9t\u00E9 gard\u00E9s") +
           L" dans la liste enregistr\u00E9e";
  if (removed)
    text += (added ? L" ; " : L"") + std::to_wstring(removed) +
            (removed == 1 ? L" \u00E9l\u00E9ment retir\u00E9" : L" \u00E9l\u00E9ments retir\u00E9s") +
            (added ? L" du fichier pendant ce temps " : L" du fichier \"" + listFile + L"\" pendant que Ferlane \u00E9tait ouvert ") +
            (removed == 1 ? L"en reste retir\u00E9" : L"en restent retir\u00E9s");
  return text + L".";
}

std::wstring WrittenBackText(const std::wstring& listFile, std::size_t rows, bool missing, const std::wstring& copy) {
  std::wstring text = L"Le fichier \"" + listFile + L"\" " +
                      (missing ? L"avait disparu" : L"avait \u00E9t\u00E9 vid\u00E9") +
                      L" pendant que Ferlane \u00E9tait ouvert : " +
                      (rows == 1 ? L"son \u00E9l\u00E9ment y a \u00E9t\u00E9 r\u00E9\u00E9crit"
                                 : L"ses " + std::to_wstring(rows) +
                                       L" \u00E9l\u00E9ments y ont \u00E9t\u00E9 r\u00E9\u00E9crits");
  if (!copy.empty()) text += L" (ce qu'il contenait est gard\u00E9 dans \"" + copy + L"\")";
  return text + L".";
}

std::wstring JoinedRowsText(const std::wstring& listFile, std::size_t joined) {
  return std::to_wstring(joined) + (joined == 1 ? L" ligne du fichier \"" : L" lignes du fichier \"") + listFile +
         (joined == 1 ? L"\" nommait" : L"\" nommaient") +
         L" un chemin d\u00E9j\u00E0 list\u00E9 sous une autre \u00E9criture : chaque chemin est enregistr\u00E9 une "
         L"seule fois, \u00E0 sa premi\u00E8re place.";
}

std::wstring ReadOnlyListText(const std::wstring& listFile) {
  return L"Le fichier \"" + listFile +
         L"\" est en lecture seule : la liste ne peut pas y \u00EAtre enregistr\u00E9e. \u00D4tez-lui l'attribut \u00AB Lecture "
         L"seule \u00BB (Propri\u00E9t\u00E9s du fichier) pour que la liste puisse \u00EAtre enregistr\u00E9e.";
}

std::wstring KeepsChangingText(const std::wstring& listFile) {
  return L"Le fichier \"" + listFile +
         L"\" a \u00E9t\u00E9 chang\u00E9 par un autre programme \u00E0 chaque tentative d'enregistrement : la liste n'y a pas \u00E9t\u00E9 "
         L"enregistr\u00E9e, pour ne rien effacer de ce qu'il \u00E9crit.";
}

}  // namespace ferlane
