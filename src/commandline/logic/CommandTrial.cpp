#include "commandline/logic/CommandTrial.h"

namespace ferlane {

std::wstring TrialHeaderLine(CommandAction action) {
  const wchar_t* job = action == CommandAction::Hide   ? L"/cacher"
                       : action == CommandAction::Show ? L"/voir"
                                                       : L"/retablir";
  return L"Essai de " + std::wstring(job) + L" : voici ce que la commande ferait ; rien n'est chang\u00E9.";
}

std::wstring ListUsedLine(ListSource source, const std::wstring& path) {
  const wchar_t* where = source == ListSource::Given          ? L"donn\u00E9e par /liste:"
                         : source == ListSource::PolicyFolder ? L"dans le dossier des listes r\u00E9gl\u00E9 par l'administrateur"
                                                              : L"\u00E0 c\u00F4t\u00E9 du programme";
  return L"Liste employ\u00E9e : " + path + L" (" + where + L").";
}

std::wstring ListArrivalLine(const std::wstring& from, const std::wstring& to, ListArrival arrival) {
  if (arrival == ListArrival::Moved)
    return L"La liste \"" + from + L"\" serait d\u00E9plac\u00E9e vers \"" + to +
           L"\", le dossier des listes r\u00E9gl\u00E9 par l'administrateur.";
  return L"La liste \"" + from + L"\" serait copi\u00E9e vers \"" + to +
         L"\", le dossier des listes r\u00E9gl\u00E9 par l'administrateur ; elle ne peut pas \u00EAtre supprim\u00E9e "
         L"d'o\u00F9 elle est et y resterait, sans plus servir.";
}

std::wstring OlderListLine(const std::wstring& from, const std::wstring& to) {
  return L"La liste \"" + from + L"\", laiss\u00E9e par une version pr\u00E9c\u00E9dente, serait d\u00E9plac\u00E9e vers \"" +
         to + L"\".";
}

std::wstring FolderWouldBeMadeLine(const std::wstring& folder) {
  return L"Le dossier des listes \"" + folder + L"\" n'existe pas : il serait cr\u00E9\u00E9.";
}

ItemPlan PlanListItem(CommandAction action, const ItemOutcome& now) {
  if (now.unusable) return ItemPlan::Unusable;
  if (now.state == ItemState::Missing) return ItemPlan::Missing;
  const ItemState wanted = action == CommandAction::Hide ? ItemState::Hidden : ItemState::Visible;
  return now.state == wanted ? ItemPlan::AlreadyDone : ItemPlan::WouldChange;
}

Report TrialListReport(CommandAction action, const std::wstring& listFile, const std::vector<ItemOutcome>& outcomes,
                       const ReasonText& reason, const std::vector<std::wstring>& strays,
                       const std::vector<std::wstring>& words) {
  Report report;
  for (const std::wstring& line : strays) report.lines.push_back(StrayLine(line));
  for (const std::wstring& line : words) report.lines.push_back(WordLine(line));
  if (!strays.empty()) report.exitCode = kExitItemsRefused;
  if (outcomes.empty()) {
    report.lines.push_back(L"La liste \"" + listFile + L"\" ne contient aucun \u00E9l\u00E9ment.");
    return report;
  }
  const bool hide = action == CommandAction::Hide;
  std::size_t done = 0, already = 0;
  for (const ItemOutcome& item : outcomes) {
    switch (PlanListItem(action, item)) {
      case ItemPlan::WouldChange:
        ++done;
        report.lines.push_back((hide ? L"Serait cach\u00E9 : " : L"Serait visible : ") + item.path);
        break;
      case ItemPlan::AlreadyDone:
        ++done;
        ++already;
        report.lines.push_back((hide ? L"D\u00E9j\u00E0 cach\u00E9 : " : L"D\u00E9j\u00E0 visible : ") + item.path);
        break;
      case ItemPlan::Missing:
        report.lines.push_back(L"Introuvable : " + item.path + L" : " +
                               (item.error ? reason(item.error) : std::wstring(StateWord(ItemState::Missing))));
        report.failures.push_back(report.lines.back());
        break;
      case ItemPlan::Unusable:
        report.lines.push_back(L"Chemin inutilisable : " + item.path +
                               L" : chemin relatif ou incomplet ; seul un chemin complet (C:\\... ou "
                               L"\\\\serveur\\partage\\...) est trait\u00E9");
        report.failures.push_back(report.lines.back());
        break;
    }
  }
  report.done = done;
  report.total = outcomes.size();
  // The run's own count: the items that would be in the asked state.
  report.lines.push_back(ListSummaryLine(action, done, outcomes.size(), already));
  if (done < outcomes.size()) report.exitCode = kExitItemsRefused;
  return report;
}

Report TrialRestoreReport(const std::vector<StoreOutcome>& stores, const ReasonText& reason) {
  Report report;
  std::size_t restored = 0;
  auto stays = [&](const std::wstring& line) {
    report.lines.push_back(line);
    report.failures.push_back(line);
  };
  for (const StoreOutcome& s : stores) {
    if (s.storeMissing && s.restored.empty() && s.stranded.empty() && s.nameTaken.empty() && s.all.empty() &&
        s.kept.empty()) {
      report.lines.push_back(L"R\u00E9serve absente, rien \u00E0 r\u00E9tablir : " + s.store);
      continue;
    }
    if (s.destinationError) {
      const std::wstring why = reason(s.destinationError);
      for (const std::wstring& name : s.all)
        stays(L"Resterait : " + s.store + L"\\" + name + L" : dossier de destination \"" + s.destination +
              L"\" inutilisable : " + why);
      continue;
    }
    for (const std::wstring& name : s.restored) {
      report.lines.push_back(L"Serait r\u00E9tabli : " + name + L" -> " + s.destination);
      ++restored;
    }
    for (const std::wstring& name : s.nameTaken)
      stays(L"Nom d\u00E9j\u00E0 pris : " + s.store + L"\\" + name + L" (\"" + s.destination +
            L"\" a d\u00E9j\u00E0 ce nom ; l'\u00E9l\u00E9ment resterait dans la r\u00E9serve)");
    // An older store's item whose name the store holds: it would not join.
    for (const std::wstring& path : s.stranded)
      stays(L"Nom d\u00E9j\u00E0 pris : " + path + L" (la r\u00E9serve \"" + s.store +
            L"\" a d\u00E9j\u00E0 ce nom ; l'\u00E9l\u00E9ment resterait dans une ancienne r\u00E9serve)");
    for (const std::wstring& name : s.kept)
      report.lines.push_back(L"Laiss\u00E9 dans la r\u00E9serve (ni dossier ni raccourci) : " + s.store + L"\\" + name);
  }
  report.lines.push_back(RestoreSummaryLine(restored, report.failures.size()));
  if (!report.failures.empty()) report.exitCode = kExitItemsRefused;
  report.done = restored;
  report.total = restored + report.failures.size();
  return report;
}

}  // namespace ferlane
