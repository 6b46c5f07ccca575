#include "commandline/logic/CommandLine.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string_view>

#include "password/logic/PasswordHash.h"
#include "platform/logic/PathFold.h"
#include "protect/logic/ExactPath.h"

namespace ferlane {
namespace {

// The system's code for "the file exists": a name taken at the destination.
constexpr std::uint32_t kErrorFileExists = 80;

bool StartsWith(const std::wstring& text, std::wstring_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

void SetAction(CommandLine& line, CommandAction action) {
  if (line.action != CommandAction::None && line.action != action)
    line.error = L"Un seul de /cacher, /voir et /retablir \u00E0 la fois.";
  line.action = action;
}

// The switch an argument is, by its name before any ":": a script that gives
// one twice was written wrong, whichever of the two it meant.
std::wstring SwitchName(const std::wstring& folded) {
  const std::size_t colon = folded.find(L':');
  std::wstring name = colon == std::wstring::npos ? folded : folded.substr(0, colon + 1);
  return name == L"/R\u00C9TABLIR" ? L"/RETABLIR" : name;
}

}  // namespace

std::wstring ArgumentsAfterProgram(const std::wstring& commandLine, const std::wstring& modulePath) {
  std::size_t end = 0;
  const std::size_t n = commandLine.size();
  if (n > 0 && commandLine[0] == L'"') {
    // The closing quote ends the name: "C:\...\ferlane.exe"/cacher holds a switch.
    end = commandLine.find(L'"', 1);
    end = end == std::wstring::npos ? n : end + 1;
    while (end < n && (commandLine[end] == L' ' || commandLine[end] == L'\t')) ++end;
    return commandLine.substr(end);
  } else if (!modulePath.empty() && n >= modulePath.size() &&
             SamePathText(std::wstring_view(commandLine).substr(0, modulePath.size()), modulePath) &&
             (n == modulePath.size() || commandLine[modulePath.size()] == L' ' ||
              commandLine[modulePath.size()] == L'\t')) {
    end = modulePath.size();
  } else {
    while (end < n && commandLine[end] != L' ' && commandLine[end] != L'\t') ++end;
  }
  // The system splits the name from the rest at the first blank after it.
  while (end < n && commandLine[end] != L' ' && commandLine[end] != L'\t') ++end;
  while (end < n && (commandLine[end] == L' ' || commandLine[end] == L'\t')) ++end;
  return commandLine.substr(end);
}

CommandLine ParseCommandLine(const std::vector<std::wstring>& args) {
  CommandLine line;
  if (args.empty()) return line;
  // Folded as paths are: the switches are upper case here.
  constexpr std::wstring_view kPassword = L"/MOTDEPASSE:";
  constexpr std::wstring_view kList = L"/LISTE:";
  bool usage = false;
  std::vector<std::wstring> seen;
  for (const std::wstring& arg : args) {
    const std::wstring name = FoldPath(arg);
    // Any switch given twice is a usage error, whichever of the two the
    // script meant: one rule for every switch, a new one included.
    if (name.rfind(L"/", 0) == 0) {
      const std::wstring switchName = SwitchName(name);
      if (std::find(seen.begin(), seen.end(), switchName) != seen.end()) {
        std::wstring shown = switchName.substr(0, switchName.find(L':'));
        for (wchar_t& c : shown) c = static_cast<wchar_t>(std::towlower(c));
        line.error = shown + L" est donn\u00E9 deux fois.";
        return line;
      }
      seen.push_back(switchName);
    }
    if (name == L"/?") {
      usage = true;
    } else if (name == L"/CACHER") {
      SetAction(line, CommandAction::Hide);
    } else if (name == L"/VOIR") {
      SetAction(line, CommandAction::Show);
    } else if (name == L"/RETABLIR" || name == L"/R\u00C9TABLIR") {
      SetAction(line, CommandAction::Restore);
    } else if (StartsWith(name, kPassword)) {
      const std::wstring text = arg.substr(kPassword.size());  // exactly as given
      if (text.empty())
        line.error = L"/motdepasse: sans mot de passe (/motdepasse:- le lit sur l'entr\u00E9e standard).";
      if (text == L"-") line.passwordFromInput = true;
      else line.password = text;
    } else if (StartsWith(name, kList)) {
      const std::wstring file = arg.substr(kList.size());
      if (file.empty()) line.error = L"/liste: sans fichier (/liste:C:\\chemin\\liste.txt).";
      line.listFile = file;
    } else if (name == L"/ESSAI") {
      line.trial = true;
    } else {
      line.error = L"Argument inconnu : " + arg;
    }
    if (!line.error.empty()) return line;
  }
  // A list is hidden or shown; the store /retablir empties is the user's own.
  if (line.listFile && line.action == CommandAction::Restore) {
    line.error = L"/liste s'emploie avec /cacher ou /voir, pas avec /retablir.";
    return line;
  }
  if (usage) line.action = CommandAction::Usage;
  else if (line.action == CommandAction::None) line.error = L"Il manque l'action : /cacher, /voir ou /retablir.";
  return line;
}

std::wstring UsageText() {
  return L"Ferlane, sans fen\u00EAtre, pour l'utilisateur qui le lance :\r\n"
         L"  ferlane.exe /cacher [/liste:FICHIER] [/essai]\r\n"
         L"  ferlane.exe /voir [/liste:FICHIER] [/motdepasse:TEXTE | /motdepasse:-] [/essai]\r\n"
         L"  ferlane.exe /retablir [/motdepasse:TEXTE | /motdepasse:-] [/essai]\r\n"
         L"  ferlane.exe /?\r\n"
         L"\r\n"
         L"  /cacher      cache chaque \u00E9l\u00E9ment de la liste de l'utilisateur, comme \"Tout Cacher\".\r\n"
         L"  /voir        montre chaque \u00E9l\u00E9ment de la liste, comme \"Tout Voir\".\r\n"
         L"  /retablir    remet \u00E0 leur place le bureau et les programmes cach\u00E9s, comme\r\n"
         L"               \"R\u00E9tablir le bureau et les programmes\" ; un \u00E9l\u00E9ment dont le nom est d\u00E9j\u00E0\r\n"
         L"               pris reste dans la r\u00E9serve et il est nomm\u00E9.\r\n"
         L"  /liste:FICHIER     avec /cacher ou /voir : applique ce fichier liste (chemin local ou\r\n"
         L"               \\\\serveur\\partage\\...), fait dans la fen\u00EAtre, au lieu de celui de\r\n"
         L"               l'utilisateur ; il est lu, jamais \u00E9crit. Un chemin complet par ligne\r\n"
         L"               suffit ; une ligne Dossier ou Fichier (Folder, File, en toute casse)\r\n"
         L"               apr\u00E8s un chemin en dit le type, tout autre mot est nomm\u00E9 et\r\n"
         L"               ignor\u00E9 ; une ligne qui commence par ; ou # est une remarque. Les\r\n"
         L"               \u00E9critures d'un m\u00EAme chemin (casse, /, espaces, guillemets) comptent\r\n"
         L"               une fois.\r\n"
         L"  /motdepasse:TEXTE  le mot de passe de l'utilisateur : /voir et /retablir le demandent\r\n"
         L"               quand il y en a un ; /cacher jamais.\r\n"
         L"  /motdepasse:-      lit le mot de passe sur l'entr\u00E9e standard (sa premi\u00E8re ligne, en\r\n"
         L"               UTF-16 avec ou sans BOM, en UTF-8 ou en ANSI comme l'\u00E9crit le\r\n"
         L"               Bloc-notes ; au plus 10 secondes d'attente), pour qu'il ne figure ni dans\r\n"
         L"               le script ni sur la ligne de commande.\r\n"
         L"  /essai       avec /cacher, /voir ou /retablir : dit ce que la commande ferait et ne\r\n"
         L"               change rien. Il nomme la liste employ\u00E9e et d'o\u00F9 elle vient, dit si une\r\n"
         L"               liste \u00E0 c\u00F4t\u00E9 du programme serait d\u00E9plac\u00E9e ou copi\u00E9e dans le dossier\r\n"
         L"               des listes, puis chaque \u00E9l\u00E9ment (\"serait cach\u00E9\", \"d\u00E9j\u00E0 cach\u00E9\",\r\n"
         L"               \"introuvable\", \"chemin inutilisable\" ; \"serait r\u00E9tabli\", \"nom d\u00E9j\u00E0 pris\").\r\n"
         L"               Rien n'est \u00E9crit, d\u00E9plac\u00E9 ni cach\u00E9, aucun \u00E9v\u00E9nement d'\u00E9l\u00E9ment\r\n"
         L"               n'est \u00E9crit ; le mot de passe est demand\u00E9 comme pour la commande, et\r\n"
         L"               un refus est journalis\u00E9 de m\u00EAme. Le code de sortie est celui de la\r\n"
         L"               commande pour ce qui se sait sans essayer : un refus du syst\u00E8me (droits\r\n"
         L"               insuffisants) ne se sait qu'en essayant.\r\n"
         L"  /?           cette aide.\r\n"
         L"\r\n"
         L"Aucune fen\u00EAtre ne s'ouvre et rien ne demande l'\u00E9l\u00E9vation : le travail se fait avec\r\n"
         L"les droits de l'appelant. Pour l'ex\u00E9cuter en administrateur sans invite : depuis\r\n"
         L"l'outil de gestion (compte SYSTEM), une t\u00E2che planifi\u00E9e \"avec les autorisations\r\n"
         L"maximales\" ou un script de d\u00E9marrage de l'ordinateur.\r\n"
         L"Le compte rendu va \u00E0 la console ou au fichier de sortie ; un caract\u00E8re que la page\r\n"
         L"de code ne peut pas \u00E9crire y est not\u00E9 <U+XXXX>, jamais remplac\u00E9 par un autre.\r\n"
         L"\r\n"
         L"Codes de sortie :\r\n"
         L"  0  tout est fait (une liste vide aussi)\r\n"
         L"  1  fait, mais des \u00E9l\u00E9ments n'ont pas pu \u00EAtre chang\u00E9s : chacun est nomm\u00E9 avec la\r\n"
         L"     raison (droits insuffisants, \u00E9l\u00E9ment absent, chemin relatif, nom d\u00E9j\u00E0\r\n"
         L"     pris, ligne de la liste qui ne suit aucun chemin)\r\n"
         L"  2  argument inconnu ou incorrect (deux actions, un argument donn\u00E9 deux fois,\r\n"
         L"     /motdepasse ou /liste vide, /liste avec /retablir) ; rien n'est chang\u00E9\r\n"
         L"  3  mot de passe absent, faux ou enregistr\u00E9 ab\u00EEm\u00E9, aucune ligne sur l'entr\u00E9e\r\n"
         L"     standard en 10 secondes, entr\u00E9e standard vide, avec un octet nul, illisible\r\n"
         L"     ou non redirig\u00E9e, ou cl\u00E9 HKCU\\Software\\Ferlane illisible ; rien n'est chang\u00E9\r\n"
         L"  4  nom de l'utilisateur introuvable, dossier des listes impos\u00E9 injoignable,\r\n"
         L"     fichier liste absent (/liste), dossier ou p\u00E9riph\u00E9rique (NUL, CON, COM1...),\r\n"
         L"     illisible ou lu en partie, ou r\u00E9serve illisible ; rien n'est chang\u00E9\r\n"
         L"  5  sans argument : la fen\u00EAtre est d\u00E9j\u00E0 ouverte pour cette liste dans une\r\n"
         L"     autre session ; aucune seconde fen\u00EAtre ne s'ouvre\r\n";
}

bool NeedsPassword(CommandAction action) { return action == CommandAction::Show || action == CommandAction::Restore; }

PasswordVerdict CheckCommandPassword(CommandAction action, const std::wstring& stored,
                                     const std::optional<std::wstring>& given) {
  if (!NeedsPassword(action) || stored.empty()) return PasswordVerdict::NotNeeded;
  if (!given) return PasswordVerdict::Missing;
  // The login prompt's own check, so a script and the window agree.
  return StoredPasswordMatches(stored, *given) ? PasswordVerdict::Right : PasswordVerdict::Wrong;
}

std::wstring PasswordVerdictLine(PasswordVerdict verdict) {
  switch (verdict) {
    case PasswordVerdict::Missing:
      return L"Mot de passe absent : /motdepasse:TEXTE ou /motdepasse:- est demand\u00E9. Rien n'est chang\u00E9.";
    case PasswordVerdict::Wrong: return L"Mot de passe faux. Rien n'est chang\u00E9.";
    case PasswordVerdict::NotNeeded:
    case PasswordVerdict::Right: break;
  }
  return {};
}

namespace {

bool Utf16Marked(std::string_view in) { return in.substr(0, 2) == "\xFF\xFE" || in.substr(0, 2) == "\xFE\xFF"; }

// Where the UTF-16 units begin: behind the mark, when there is one.
std::size_t Utf16Start(std::string_view in) { return Utf16Marked(in) ? 2 : 0; }

}  // namespace

InputEncoding InputEncodingOf(std::string_view bytes) {
  if (bytes.substr(0, 2) == "\xFF\xFE") return InputEncoding::Utf16Le;
  if (bytes.substr(0, 2) == "\xFE\xFF") return InputEncoding::Utf16Be;
  // A NUL then a line end is no UTF-16 line that a writer sends: a NUL byte,
  // named as such rather than read as an empty password.
  if (bytes.size() >= 2 && bytes[0] == '\0' && (bytes[1] == '\r' || bytes[1] == '\n')) return InputEncoding::Unknown;
  // Without a mark, as a list file is read: bytes after a first line that
  // came whole are not looked at.
  switch (UnmarkedUtf16(bytes)) {
    case NulForm::None: return InputEncoding::Bytes;
    case NulForm::Utf16Le: return InputEncoding::Utf16Le;
    case NulForm::Utf16Be: return InputEncoding::Utf16Be;
    case NulForm::Neither: break;
  }
  return InputEncoding::Unknown;
}

bool FirstLineArrived(std::string_view bytes) {
  const InputEncoding encoding = InputEncodingOf(bytes);
  if (encoding != InputEncoding::Utf16Le && encoding != InputEncoding::Utf16Be)
    return bytes.find_first_of("\r\n") != std::string_view::npos;
  // Whole units only: a byte 0x0A may be half of another character.
  const bool bigEndian = encoding == InputEncoding::Utf16Be;
  for (std::size_t i = Utf16Start(bytes); i + 1 < bytes.size(); i += 2) {
    const char low = bigEndian ? bytes[i + 1] : bytes[i], high = bigEndian ? bytes[i] : bytes[i + 1];
    if (high == 0 && (low == '\r' || low == '\n')) return true;
  }
  return false;
}

std::wstring PasswordFromInput(std::string_view in, const std::function<std::wstring(std::string_view)>& decodeOther) {
  std::wstring text;
  text.reserve(in.size() + 32);  // never grown, so no copy is left behind
  const InputEncoding encoding = InputEncodingOf(in);
  if (encoding == InputEncoding::Utf16Le || encoding == InputEncoding::Utf16Be) {
    // UTF-16, behind its mark or without one: the first line, in whole units.
    const std::size_t start = Utf16Start(in);
    DecodeUtf16(in.substr(start, (in.size() - start) / 2 * 2), encoding == InputEncoding::Utf16Be, text);
  } else {
    const bool marked = StartsWithUtf8Bom(in);
    if (marked) in.remove_prefix(kUtf8Bom.size());
    const std::string_view line = in.substr(0, in.find_first_of("\r\n"));
    if (!DecodeUtf8(line, text) && !marked) {
      WipeText(text);
      return decodeOther(line);
    }
  }
  const std::size_t end = text.find_first_of(L"\r\n");
  if (end != std::wstring::npos) {
    // Cut in place: the rest is wiped, never copied.
    volatile wchar_t* p = text.data();
    for (std::size_t i = end; i < text.size(); ++i) p[i] = 0;
    text.resize(end);
  }
  return text;
}

// ---- Hiding and showing --------------------------------------------------------


std::vector<ItemOutcome> RunListAction(IFileAttributes& fs, const std::vector<ListRecord>& records,
                                       CommandAction action, bool trial) {
  // The very run "Tout Cacher" and "Tout Voir" make over the rows.
  std::vector<ProtectedItem> items(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) items[i] = {records[i].path, records[i].type};
  const bool hide = action == CommandAction::Hide;
  // What each item was before the run: one already as asked is counted
  // apart, so a run that changed nothing says so.
  std::vector<bool> already(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!IsUsableListPath(items[i].path)) continue;
    const std::uint32_t word = fs.Get(items[i].path);
    already[i] = word != kInvalidFileAttributes && ((word & kHiddenAttribute) != 0) == hide;
  }
  // A trial only reads each item's state.
  const ListCommand command = trial ? ListCommand::Refresh : hide ? ListCommand::HideAll : ListCommand::ShowAll;
  const AttributeFailures failures = RunListCommand(command, fs, items, nullptr, &FoldPath).failures;
  std::vector<ItemOutcome> outcomes(items.size());
  // Each item's step refuses at most one write, in the items' order.
  std::size_t next = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    outcomes[i].path = items[i].path;
    outcomes[i].state = items[i].state;
    // Acted on as written, or without the blanks and quotes around it.
    outcomes[i].unusable =
        !IsUsableListPath(items[i].path) && !IsUsableListPath(std::wstring(TrimListedName(items[i].path)));
    if (next < failures.size() && failures[next].path == items[i].path) outcomes[i].error = failures[next++].error;
    outcomes[i].already = already[i] && !outcomes[i].error;
  }
  return outcomes;
}

Report ListActionReport(CommandAction action, const std::wstring& listFile, const std::vector<ItemOutcome>& outcomes,
                        const ReasonText& reason, const std::vector<std::wstring>& strays,
                        const std::vector<std::wstring>& words) {
  Report report;
  const bool hide = action == CommandAction::Hide;
  const ItemState wanted = hide ? ItemState::Hidden : ItemState::Visible;
  // Every item not done is a failure, whatever kept it back; the event
  // counts it so and names only why.
  auto fail = [&](const std::wstring& what, const std::wstring& why) {
    report.lines.push_back(L"\u00C9chec : " + what + L" : " + why);
    report.failures.push_back(what + L" : " + why);
    report.reasons.push_back(why);
  };
  for (const std::wstring& line : strays)
    fail(L"ligne \"" + line + L"\" de la liste", L"ce mot ne suit aucun chemin, rien n'y est associ\u00E9");
  // Such a list loaded before as a list of files: said, never a failure.
  for (const std::wstring& line : words) report.lines.push_back(WordLine(line));
  report.total = strays.size();
  if (outcomes.empty()) {
    report.lines.push_back(L"La liste \"" + listFile + L"\" ne contient aucun \u00E9l\u00E9ment.");
    if (!strays.empty()) report.exitCode = kExitItemsRefused;
    return report;
  }
  const std::wstring alreadyWord = hide ? L"D\u00E9j\u00E0 cach\u00E9" : L"D\u00E9j\u00E0 visible";
  for (const ItemOutcome& item : outcomes) {
    if (item.unusable) {
      fail(item.path, L"chemin relatif ou incomplet ; seul un chemin complet (C:\\... ou "
                      L"\\\\serveur\\partage\\...) est trait\u00E9");
      continue;
    }
    if (item.state == wanted) {
      if (item.already) {
        ++report.already;
        report.lines.push_back(alreadyWord + L" : " + item.path);
      } else {
        ++report.done;
        report.lines.push_back(std::wstring(StateWord(wanted)) + L" : " + item.path);
      }
      continue;
    }
    std::wstring why;
    if (item.error) why = reason(item.error);
    else if (item.state == ItemState::Missing) why = StateWord(ItemState::Missing);
    else why = hide ? L"l'attribut cach\u00E9 n'est pas pos\u00E9" : L"l'attribut cach\u00E9 est toujours pos\u00E9";
    fail(item.path, why);
  }
  report.total += outcomes.size();
  report.lines.push_back(ListSummaryLine(action, report.done + report.already, outcomes.size(), report.already));
  if (!report.failures.empty()) report.exitCode = kExitItemsRefused;
  return report;
}

// ---- Restoring the store -------------------------------------------------------

Report RestoreReport(const std::vector<StoreOutcome>& stores, const ReasonText& reason, bool nameRestored,
                     const std::vector<std::wstring>& setAside) {
  Report report;
  std::size_t restored = 0, failed = 0;
  // The event gives only the reason: what follows the item's path.
  auto fail = [&](const std::wstring& line) {
    report.lines.push_back(L"\u00C9chec : " + line);
    report.failures.push_back(line);
    const std::size_t after = line.find(L" : ");
    report.reasons.push_back(after == std::wstring::npos ? line : line.substr(after + 3));
    ++failed;
  };
  for (const StoreOutcome& s : stores) {
    for (const StoreOutcome::UnreadableFolder& folder : s.unreadableOlder)
      fail(folder.path + L" : ancienne r\u00E9serve lue en partie seulement, ce qu'elle contient encore y reste : " +
           reason(folder.error));
    if (s.createError) {
      // Never "nothing to restore" while older stores may hold items.
      const std::wstring why = reason(s.createError);
      for (const std::wstring& name : s.restored) {
        report.lines.push_back(L"R\u00E9tabli : " + name + L" -> " + s.destination);
        ++restored;
      }
      for (const std::wstring& path : s.stranded)
        fail(path + L" : reste dans une ancienne r\u00E9serve ; la r\u00E9serve \"" + s.store +
             L"\" n'a pas pu \u00EAtre cr\u00E9\u00E9e : " + why);
      continue;
    }
    for (const std::wstring& path : s.stranded)
      fail(path + L" : reste dans une ancienne r\u00E9serve ; \"" + s.store +
           L"\" a d\u00E9j\u00E0 ce nom ou le syst\u00E8me a refus\u00E9 le d\u00E9placement");
    if (s.storeMissing) {
      report.lines.push_back(L"R\u00E9serve absente, rien \u00E0 r\u00E9tablir : " + s.store);
      continue;
    }
    if (s.destinationError) {
      const std::wstring why = reason(s.destinationError);
      for (const std::wstring& name : s.all)
        fail(s.store + L"\\" + name + L" : dossier de destination \"" + s.destination + L"\" inutilisable : " + why);
      continue;
    }
    for (const std::wstring& name : s.restored) {
      if (nameRestored) report.lines.push_back(L"R\u00E9tabli : " + name + L" -> " + s.destination);
      ++restored;
    }
    for (const std::wstring& name : s.nameTaken)
      fail(s.store + L"\\" + name + L" : " + reason(kErrorFileExists) + L" (\"" + s.destination +
           L"\" a d\u00E9j\u00E0 ce nom ; l'\u00E9l\u00E9ment reste dans la r\u00E9serve)");
    for (const std::wstring& name : s.notMoved)
      fail(s.store + L"\\" + name + L" : le syst\u00E8me ne l'a pas d\u00E9plac\u00E9 ; il reste dans la r\u00E9serve");
    for (const std::wstring& name : s.kept)
      report.lines.push_back(L"Laiss\u00E9 dans la r\u00E9serve (ni dossier ni raccourci) : " + s.store + L"\\" + name);
  }
  for (const StoreOutcome& s : stores) {
    for (const std::wstring& path : s.remains)
      fail(path + L" : reste de l'original d'un \u00E9l\u00E9ment r\u00E9tabli entier, qui n'a pas pu \u00EAtre "
                  L"supprim\u00E9");
    for (const std::wstring& path : s.setAside)
      fail(path + L" : le d\u00E9placement a \u00E9chou\u00E9 et l'\u00E9l\u00E9ment n'a pas pu reprendre son nom ; "
                  L"il reste sous ce nom");
  }
  for (const std::wstring& path : setAside)
    fail(path + L" : mis de c\u00F4t\u00E9 par un d\u00E9placement inachev\u00E9 (arr\u00EAt du programme ou "
                L"remise en place refus\u00E9e) ; v\u00E9rifiez-le, puis renommez-le ou supprimez-le");
  report.lines.push_back(RestoreSummaryLine(restored, failed));
  if (failed) report.exitCode = kExitItemsRefused;
  report.done = restored;
  report.total = restored + failed;
  return report;
}

std::wstring StrayLine(const std::wstring& line) {
  return L"\u00C9chec : ligne \"" + line + L"\" de la liste : ce mot ne suit aucun chemin, rien n'y est associ\u00E9";
}

std::wstring WordLine(const std::wstring& line) {
  return L"Ligne \"" + line + L"\" de la liste ignor\u00E9e : ce n'est ni un chemin ni un type (Dossier, Fichier)";
}

std::wstring ListSummaryLine(CommandAction action, std::size_t done, std::size_t total, std::size_t already) {
  std::wstring summary =
      (action == CommandAction::Hide ? L"\u00C9l\u00E9ments cach\u00E9s : " : L"\u00C9l\u00E9ments visibles : ") +
      std::to_wstring(done) + L" sur " + std::to_wstring(total);
  if (already)
    summary += L", dont " + std::to_wstring(already) +
               (already == 1 ? L" qui l'\u00E9tait d\u00E9j\u00E0" : L" qui l'\u00E9taient d\u00E9j\u00E0");
  return summary + L".";
}

std::wstring RestoreSummaryLine(std::size_t restored, std::size_t failed) {
  return L"\u00C9l\u00E9ments r\u00E9tablis : " + std::to_wstring(restored) +
         (failed ? L" ; non r\u00E9tablis : " + std::to_wstring(failed) : std::wstring()) + L".";
}

std::wstring SpelledForCodePage(std::wstring_view text, const std::function<bool(std::wstring_view)>& canWrite) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const wchar_t c = text[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const std::wstring_view one = text.substr(i, pair ? 2 : 1);
    i += one.size();
    // Plain ASCII is in every code page a report is written in.
    if (c < 0x80 || canWrite(one)) {
      out += one;
      continue;
    }
    const auto high = static_cast<std::uint32_t>(c);
    const std::uint32_t point =
        pair ? 0x10000u + ((high - 0xD800u) << 10) + (static_cast<std::uint32_t>(one[1]) - 0xDC00u) : high;
    wchar_t number[16];
    std::swprintf(number, 16, L"<U+%04X>", static_cast<unsigned>(point));
    out += number;
  }
  return out;
}

std::wstring UnreadableLine(const std::wstring& path, const std::wstring& reason) {
  return L"Impossible de lire \"" + path + L"\" : " + reason + L" Rien n'est chang\u00E9.";
}

std::wstring NotAListText(const std::wstring& path, ListFileKind kind) {
  const std::wstring what = kind == ListFileKind::Folder
                                ? L"est un dossier, pas un fichier de liste"
                                : L"d\u00E9signe un p\u00E9riph\u00E9rique (NUL, CON, COM1...), pas un fichier sur disque";
  return L"Impossible de lire la liste \"" + path + L"\" : ce nom " + what + L".";
}

std::wstring NotAListLine(const std::wstring& path, ListFileKind kind) {
  return NotAListText(path, kind) + L" Rien n'est chang\u00E9.";
}

std::wstring PartlyReadableLine(const std::wstring& path) {
  return L"Le fichier \"" + path +
         L"\" n'a pas pu \u00EAtre lu en entier (octet nul ou caract\u00E8re illisible) ; ouvrez Ferlane pour "
         L"qu'il en garde une copie. Rien n'est chang\u00E9.";
}

}  // namespace ferlane
