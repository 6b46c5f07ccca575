#include "commandline/CommandLineRun.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "listplace/ListFolder.h"
#include "commandline/PasswordInput.h"
#include "policies/PolicyReader.h"
#include "commandline/StoreRestore.h"
#include "commandline/logic/CommandLine.h"
#include "commandline/logic/CommandTrial.h"
#include "password/logic/PasswordGate.h"
#include "password/StoredPasswordValue.h"
#include "password/logic/PasswordHash.h"
#include "platform/logic/SettingsKey.h"
#include "browse/ShellOps.h"
#include "shellfolders/logic/StoreLocation.h"
#include "platform/ComScope.h"
#include "platform/ErrorText.h"
#include "platform/EventTrail.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "platform/ProgramPath.h"
#include "platform/UniqueHandle.h"
#include "protect/ListFileIo.h"
#include "protect/FileAttributes.h"
#include "protect/logic/ExactPath.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/QuietMoves.h"

namespace ferlane {
namespace {

bool Usable(HANDLE h) { return h && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN; }

// Where the report goes. A program of the window subsystem has no console of
// its own: a caller's redirection (file or pipe) is written to as it is; a
// console it was started from is joined; without either nothing is written.
class Output {
 public:
  // Every line to say instead, for the tests.
  explicit Output(std::function<void(const std::wstring&)> say) : say_(std::move(say)) {}
  Output() {
    handle_ = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (Usable(handle_)) return;
    handle_ = nullptr;
    // Looked up by name: Windows 2000 has no AttachConsole.
    using AttachFn = BOOL(WINAPI*)(DWORD);
    auto attach = reinterpret_cast<AttachFn>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "AttachConsole"));
    constexpr DWORD kParentProcess = static_cast<DWORD>(-1);
    if (!attach || !attach(kParentProcess)) return;
    handle_ = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
      handle_ = nullptr;
      return;
    }
    owned_ = true;
    ::SetStdHandle(STD_OUTPUT_HANDLE, handle_);
    // The caller's prompt is already written: start on a line of our own.
    Line(L"");
  }
  ~Output() {
    if (owned_) ::CloseHandle(handle_);
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void Line(const std::wstring& text) {
    if (say_) say_(text);
    if (!handle_) return;
    const std::wstring line = text + L"\r\n";
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(handle_, &mode)) {
      ::WriteConsoleW(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      return;
    }
    // A file or pipe gets the console's code page, as the system's own
    // commands write it (OEM when there is no console). A character the
    // page lacks is never replaced by a look-alike (an s with a caron as a
    // plain "s" would name another file): it is written as its number.
    UINT codePage = ::GetConsoleOutputCP();
    if (!codePage) codePage = CP_OEMCP;
    auto canWrite = [codePage](std::wstring_view c) {
      BOOL usedDefault = FALSE;
      char bytes[8];
      const int n = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, c.data(), static_cast<int>(c.size()), bytes,
                                          static_cast<int>(sizeof bytes), nullptr, &usedDefault);
      return n > 0 && !usedDefault;
    };
    const std::wstring spelled = codePage == CP_UTF8 ? line : SpelledForCodePage(line, canWrite);
    const int n = ::WideCharToMultiByte(codePage, 0, spelled.data(), static_cast<int>(spelled.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0) return;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, spelled.data(), static_cast<int>(spelled.size()), bytes.data(), n, nullptr,
                          nullptr);
    ::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  void Lines(const std::vector<std::wstring>& lines) {
    for (const auto& line : lines) Line(line);
  }

 private:
  HANDLE handle_ = nullptr;
  bool owned_ = false;
  std::function<void(const std::wstring&)> say_;
};

// The arguments after the program's name, split by the system's rules.
std::vector<std::wstring> Arguments() {
  const std::wstring rest = ArgumentsAfterProgram(::GetCommandLineW(), ProgramPath());
  std::vector<std::wstring> args;
  if (rest.find_first_not_of(L" \t") == std::wstring::npos) return args;
  // A stand-in name first: the system reads the first word by other rules.
  const std::wstring line = L"ferlane " + rest;
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(line.c_str(), &count);
  if (!words) return {rest};
  for (int i = 1; i < count; ++i) args.emplace_back(words[i]);
  ::LocalFree(words);
  return args;
}

std::wstring Reason(std::uint32_t code) { return SystemErrorText(code); }

// The stored password, or the line that says why it cannot be read.
bool ReadStoredPassword(const std::wstring& user, StoredPasswordValue& value, std::wstring& problem) {
  value = ReadStoredPasswordValue(user);
  if (value.openError == ERROR_FILE_NOT_FOUND) return true;  // no settings yet: no password
  if (value.openError != ERROR_SUCCESS) {
    problem = L"Impossible de lire le mot de passe : " + SystemErrorText(static_cast<DWORD>(value.openError)) +
              L" Rien n'est chang\u00E9.";
    return false;
  }
  // A value that is there but no text cannot be told from a password: the
  // job does not run as if there were none.
  if (value.notText) {
    problem = L"Impossible de lire le mot de passe : la valeur \"" + user + L"\" de HKEY_CURRENT_USER\\" +
              kSettingsKey + L" n'est pas un texte. Rien n'est chang\u00E9.";
    return false;
  }
  return true;
}

// A job stopped before it changed anything (exit 4): said, and written as an
// error event of its own, so that a subscription on errors sees the run.
int StopUnreadable(Output& out, IEventTrail& trail, const std::wstring& line, const std::wstring& what,
                   const std::wstring& why) {
  out.Line(line);
  trail.Write(EventId::JobUnreadable, {what, why});
  return kExitUnreadable;
}

// Why a list path cannot be read as a list, or nothing when it can be (or,
// for the user's own list, when it is not there: an empty list).
struct NotAList {
  std::wstring line, why;
};
std::optional<NotAList> ListPathProblem(const std::wstring& listFile, bool mustExist) {
  const ListFileKind kind = ListPathKind(listFile);
  if (kind != ListFileKind::Disk)
    return NotAList{NotAListLine(listFile, kind),
                    kind == ListFileKind::Folder ? L"dossier" : L"p\u00E9riph\u00E9rique"};
  if (!mustExist || ::GetFileAttributesW(listFile.c_str()) != INVALID_FILE_ATTRIBUTES) return std::nullopt;
  const std::wstring why = SystemErrorText(::GetLastError());
  return NotAList{UnreadableLine(listFile, why), why};
}

// The trial's look at the user's own list: named with where it comes from
// and what would bring it there, nothing made or moved. False when the run
// would stop (code 4); readFrom: where the items would be read from.
bool LookAtOwnList(Output& out, const Policies& policies, const std::wstring& user, std::wstring& listFile,
                   std::wstring& readFrom) {
  const UserListLook look = LookAtUserListFile(policies, ProgramFolder(), user);
  if (look.folderError) {
    out.Line(ListFolderUnreachableText(look.folder, look.folderError) + L" Rien n'est chang\u00E9.");
    return false;
  }
  out.Line(ListUsedLine(look.folder.empty() ? ListSource::BesideProgram : ListSource::PolicyFolder, look.path));
  if (look.folderWouldBeMade) out.Line(FolderWouldBeMadeLine(look.folder));
  if (!look.olderFrom.empty()) out.Line(OlderListLine(look.olderFrom, ListFilePath(ProgramFolder(), user)));
  if (!look.movedFrom.empty())
    out.Line(ListArrivalLine(look.movedFrom, look.path, look.copied ? ListArrival::Copied : ListArrival::Moved));
  listFile = look.path;
  readFrom = look.readFrom;
  return true;
}

int HideOrShow(Output& out, const CommandLine& command, const std::wstring& user, const Policies& policies,
               IEventTrail& trail) {
  const CommandAction action = command.action;
  std::wstring listFile, readFrom;
  // A trial says why it would stop and writes no event.
  const auto stop = [&](const std::wstring& line, const std::wstring& what, const std::wstring& why) -> int {
    if (!command.trial) return StopUnreadable(out, trail, line, what, why);
    out.Line(line);
    return kExitUnreadable;
  };
  if (command.listFile) {
    listFile = readFrom = *command.listFile;
    if (command.trial) out.Line(ListUsedLine(ListSource::Given, listFile));
  } else if (command.trial) {
    if (!LookAtOwnList(out, policies, user, listFile, readFrom)) return kExitUnreadable;
  } else {
    // Made ready as the window does at start (a logon script usually runs
    // first): older lists moved in, the policy's folder made and the list
    // moved there. A list file itself is never written here.
    const UserListFile own = PrepareUserListFile(policies, ProgramFolder(), user);
    if (own.folderError)
      return stop(ListFolderErrorText(own) + L" Rien n'est chang\u00E9.",
                  own.unreadableBeside.empty() ? own.folder : own.unreadableBeside, SystemErrorText(own.folderError));
    if (!own.movedFrom.empty()) out.Line(ListMovedText(own));
    if (own.rightsError) out.Line(RightsRefusedText(own.path, own.rightsError));
    listFile = readFrom = own.path;
  }
  // The user's own list that is not there is an empty list; one /liste
  // names must be there.
  if (const auto problem = ListPathProblem(readFrom, command.listFile.has_value()))
    return stop(problem->line, readFrom, problem->why);
  std::vector<std::wstring> lines;
  bool whole = true;
  // Read as the window reads it, any line shape, and never written here.
  const DWORD error = ReadListFile(readFrom, lines, &whole);
  if (error != ERROR_SUCCESS) {
    const std::wstring why = SystemErrorText(error);
    return stop(UnreadableLine(readFrom, why), readFrom, why);
  }
  if (!whole)
    return stop(PartlyReadableLine(readFrom), readFrom, L"lu en partie (octet nul ou caract\u00E8re illisible)");
  const ListRecords list = ReadListRecords(lines);
  Win32FileAttributes fs(kCommandLineLookupMs);  // a logon script may start before the network is up
  std::vector<ItemOutcome> outcomes = RunListAction(fs, list.records, action, command.trial);
  for (ItemOutcome& item : outcomes)
    if (item.state == ItemState::Missing && !item.error && !item.unusable &&
        fs.Get(item.path) == INVALID_FILE_ATTRIBUTES)
      item.error = ::GetLastError();
  if (command.trial) {
    const Report report = TrialListReport(action, listFile, outcomes, Reason, list.strays, list.words);
    out.Lines(report.lines);
    return report.exitCode;  // no item event: nothing was done
  }
  const Report report = ListActionReport(action, listFile, outcomes, Reason, list.strays, list.words);
  out.Lines(report.lines);
  // The event's level is the run's: every item not done is a failure, so a
  // run that ends with 1 is a warning.
  if (report.total)
    trail.Write(WithFailures(action == CommandAction::Hide ? EventId::ListHidden : EventId::ListShown,
                             report.failures.size()),
                ItemCountStrings(listFile, L"", report.done, report.reasons, report.total, report.already));
  return report.exitCode;
}

// Restores what the user's older stores of one leaf hold straight to its
// destination; what stays is named in full, and a folder that could not be
// read to its end is a failure of its own.
void RestoreFromOlderStores(StoreOutcome& o, const std::wstring& roleLabel, StoreFolder folder) {
  for (OlderStoreRead& old : ReadOlderStores(roleLabel, folder)) {
    if (old.error != ERROR_SUCCESS) o.unreadableOlder.push_back({old.folder, old.error});
    std::vector<MoveItem> items;
    for (auto& e : old.entries) items.push_back({std::move(e.name), e.isFolder});
    QuietMoves moves = MoveItemsQuietly(items, old.folder, o.destination, ItemRule::Programs);
    if (moves.folderError) {
      for (const MoveItem& item : items) o.stranded.push_back(JoinPath(old.folder, item.name));
      continue;
    }
    for (std::wstring& name : moves.moved) {
      FollowPlace(JoinPath(o.destination, name), false);
      o.restored.push_back(std::move(name));
    }
    for (std::wstring& path : moves.remains) o.remains.push_back(std::move(path));
    for (std::wstring& path : moves.setAside) o.setAside.push_back(std::move(path));
    for (const auto* left : {&moves.nameTaken, &moves.notMoved, &moves.skipped})
      for (const std::wstring& name : *left) o.stranded.push_back(JoinPath(old.folder, name));
  }
}

// /retablir /essai: the store and the older stores read, nothing made,
// joined or moved, and no event.
int RestoreTrial(Output& out, const std::wstring& roleLabel, const StorePaths& store) {
  const std::array<std::wstring, 2> destinations{
      SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(std::wstring()),
      SpecialFolderPath(nullptr, kCsidlPrograms).value_or(std::wstring())};
  const WholeStoreRestore trial = WholeStoreTrial(store, roleLabel, destinations);
  if (!trial.unreadable.empty()) {
    out.Line(UnreadableLine(trial.unreadable, SystemErrorText(trial.error)));
    return kExitUnreadable;
  }
  const Report report = TrialRestoreReport(trial.outcomes, Reason);
  out.Lines(report.lines);
  return report.exitCode;
}

int RunRestore(Output& out, const std::wstring& user, IEventTrail& trail, bool trial) {
  ComScope com;
  const std::wstring roleLabel = ComposeRoleLabel(IsNtFamily(GetOsFamily()), user);
  const StorePaths store = ComposeStorePaths(roleLabel);
  if (trial) return RestoreTrial(out, roleLabel, store);
  // Looked for before anything moves: what this run sets aside and cannot
  // put back is named by its own move.
  const std::vector<std::wstring> setAside = FindSetAside(store, ProgramFolder(), kCommandLineLookupMs);
  // As the window's start does: the store is made and the older stores join
  // it before anything is listed, so what they held is restored too.
  DWORD madeRights = ERROR_SUCCESS, adoptedRights = ERROR_SUCCESS;
  const std::array<DWORD, 2> made = MakeStoreFolders(store, &madeRights);
  const std::vector<StrandedItems> stranded = AdoptOlderStores(store, roleLabel, &adoptedRights, &trail);
  // Said once, and the restore goes on: the items are leaving the store.
  if (const DWORD refused = madeRights ? madeRights : adoptedRights)
    out.Line(RightsRefusedText(StoreUserFolder(store), refused));
  // The desktop first, then the programs, as the toolbar's button does.
  const std::array<std::wstring, 2> destinations{
      SpecialFolderPath(nullptr, kCsidlDesktopDirectory).value_or(std::wstring()),
      SpecialFolderPath(nullptr, kCsidlPrograms).value_or(std::wstring())};
  WholeStoreRestore restore = RestoreWholeStore(store, destinations);
  if (!restore.unreadable.empty())
    return StopUnreadable(out, trail, UnreadableLine(restore.unreadable, SystemErrorText(restore.error)),
                          restore.unreadable, SystemErrorText(restore.error));
  std::vector<StoreOutcome>& outcomes = restore.outcomes;
  // Named at every run, as a script's log needs.
  for (const StrandedItems& left : stranded) {
    StoreOutcome& o = outcomes[static_cast<int>(left.folder)];
    for (const std::wstring& name : left.names) o.stranded.push_back(JoinPath(left.oldFolder, name));
    if (left.readError) o.unreadableOlder.push_back({left.oldFolder, left.readError});
  }
  for (int i = 0; i < 2; ++i) {
    StoreOutcome& o = outcomes[i];
    if (o.storeMissing && made[i] != ERROR_SUCCESS) {
      // No store to join (a standard user under Program Files): the older
      // stores are restored from where they are.
      o.storeMissing = false;
      o.createError = made[i];
      o.destination = destinations[i];
      RestoreFromOlderStores(o, roleLabel, static_cast<StoreFolder>(i));
    }
  }
  const Report report = RestoreReport(outcomes, Reason, true, setAside);
  out.Lines(report.lines);
  RecordWholeRestore(&trail, store, outcomes, report);
  return report.exitCode;
}

int RunJob(Output& out, const CommandLine& command) {
  // What the administrator imposes, read once for the job.
  const Policies policies = ReadPolicies();
  EventTrail trail(policies.eventLog, EventOrigin::CommandLine);
  const std::wstring user = GetLogonUserName();
  if (user.empty())
    return StopUnreadable(out, trail, L"Le nom de l'utilisateur est introuvable. Rien n'est chang\u00E9.", L"",
                          L"nom de l'utilisateur introuvable");
  if (NeedsPassword(command.action)) {
    StoredPasswordValue value;
    std::wstring problem;
    if (!ReadStoredPassword(user, value, problem)) {
      out.Line(problem);
      return kExitPassword;
    }
    const std::wstring& stored = value.text;
    if (value.Damaged()) {
      out.Line(DamagedPasswordText(user) + L" Rien n'est chang\u00E9.");
      trail.Write(EventId::RefusedDamagedPassword, {PasswordValueName(user)});
      return kExitPassword;
    }
    std::optional<std::wstring> given = command.password;
    // Standard input is read only when a password is wanted.
    if (!stored.empty() && command.passwordFromInput) {
      SecretText read;
      switch (ReadPasswordFromInput(read.buffer())) {
        case PasswordInput::Read: given = read.get(); break;
        case PasswordInput::NotRedirected:
          out.Line(L"/motdepasse:- : l'entr\u00E9e standard n'est pas redirig\u00E9e (fichier ou tube).");
          break;
        case PasswordInput::NoLine:
          out.Line(L"/motdepasse:- : aucune ligne compl\u00E8te n'est arriv\u00E9e sur l'entr\u00E9e standard en " +
                   std::to_wstring(kPasswordInputTimeoutMs / 1000) +
                   L" secondes (le programme qui l'\u00E9crit doit finir la ligne ou fermer l'entr\u00E9e). "
                   L"Rien n'est chang\u00E9.");
          return kExitPassword;
        case PasswordInput::NoInput:
          out.Line(L"/motdepasse:- : aucun mot de passe n'est arriv\u00E9 : l'entr\u00E9e standard s'est termin\u00E9e "
                   L"vide. Rien n'est chang\u00E9.");
          return kExitPassword;
        case PasswordInput::NulCharacter:
          out.Line(L"/motdepasse:- : la premi\u00E8re ligne de l'entr\u00E9e standard contient un caract\u00E8re nul "
                   L"(U+0000), qu'aucun mot de passe ne contient. Rien n'est chang\u00E9.");
          return kExitPassword;
        case PasswordInput::UnknownEncoding:
          out.Line(L"/motdepasse:- : l'entr\u00E9e standard contient des octets nuls qui ne sont pas de l'UTF-16 ; "
                   L"envoyez le mot de passe en UTF-8, en UTF-16 ou dans la page de code ANSI. "
                   L"Rien n'est chang\u00E9.");
          return kExitPassword;
      }
    }
    const PasswordVerdict verdict = CheckCommandPassword(command.action, stored, given);
    if (given) WipeText(*given);
    if (verdict == PasswordVerdict::Missing || verdict == PasswordVerdict::Wrong) {
      out.Line(PasswordVerdictLine(verdict));
      trail.Write(EventId::RefusedWrongPassword,
                  {verdict == PasswordVerdict::Missing ? L"mot de passe absent" : L"mot de passe faux"});
      return kExitPassword;
    }
  }
  if (command.trial) out.Line(TrialHeaderLine(command.action));
  if (command.action == CommandAction::Restore) return RunRestore(out, user, trail, command.trial);
  return HideOrShow(out, command, user, policies, trail);
}

int RunParsed(Output& out, const std::vector<std::wstring>& args) {
  CommandLine command = ParseCommandLine(args);
  struct Wiped {
    CommandLine& command;
    ~Wiped() {
      if (command.password) WipeText(*command.password);
    }
  } wiped{command};
  if (!command.error.empty()) {
    out.Line(command.error);
    out.Line(L"");
    out.Line(UsageText());
    return kExitWrongArgument;
  }
  if (command.action == CommandAction::Usage) {
    out.Line(UsageText());
    return kExitDone;
  }
  return RunJob(out, command);
}

}  // namespace

std::optional<int> RunCommandLine() {
  std::vector<std::wstring> args = Arguments();
  if (args.empty()) return std::nullopt;
  Output out;
  const int code = RunParsed(out, args);
  for (std::wstring& arg : args) WipeText(arg);  // one may be /motdepasse:<text>
  return code;
}

int RunCommandArguments(const std::vector<std::wstring>& args, const std::function<void(const std::wstring&)>& say) {
  Output out(say);
  return RunParsed(out, args);
}

}  // namespace ferlane
