#include "app/CommandLineRun.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "app/ListFolder.h"
#include "app/PasswordInput.h"
#include "app/PolicyReader.h"
#include "app/StoreRestore.h"
#include "app/logic/CommandLine.h"
#include "app/logic/PasswordGate.h"
#include "app/logic/PasswordHash.h"
#include "app/logic/SettingsKey.h"
#include "browse/ShellOps.h"
#include "shellfolders/logic/StoreLocation.h"
#include "platform/ComScope.h"
#include "platform/ErrorText.h"
#include "platform/EventTrail.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "platform/ProgramPath.h"
#include "platform/Registry.h"
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
    // commands write it (OEM when there is no console).
    UINT codePage = ::GetConsoleOutputCP();
    if (!codePage) codePage = CP_OEMCP;
    const int n = ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0) return;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n, nullptr,
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
bool ReadStoredPassword(const std::wstring& user, std::wstring& stored, std::wstring& problem) {
  RegistryKey key;
  const LONG rc = key.Open(HKEY_CURRENT_USER, kSettingsKey);
  if (rc == ERROR_FILE_NOT_FOUND) return true;  // no settings yet: no password
  if (rc != ERROR_SUCCESS) {
    problem = L"Impossible de lire le mot de passe : " + SystemErrorText(static_cast<DWORD>(rc)) +
              L" Rien n'est chang\u00E9.";
    return false;
  }
  // A value that is there but no text cannot be told from a password: the
  // job does not run as if there were none.
  const std::optional<std::wstring> value = key.ReadString(user);
  if (!value && key.ValueExists(user)) {
    problem = L"Impossible de lire le mot de passe : la valeur \"" + user + L"\" de HKEY_CURRENT_USER\\" +
              kSettingsKey + L" n'est pas un texte. Rien n'est chang\u00E9.";
    return false;
  }
  stored = value.value_or(std::wstring());
  return true;
}

// The list a /liste names must be a file on disk: a path that names
// nothing is a mistake to report, not an empty list, and a folder or a
// device (NUL, CON, COM1...) is no list at all.
bool GivenListReadable(Output& out, const std::wstring& listFile) {
  const DWORD attributes = ::GetFileAttributesW(listFile.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    out.Line(NotAListLine(listFile, ListFileKind::Folder));
    return false;
  }
  // Opened for no reading at all, only to ask what it is: a device is never
  // read from, and nobody is kept from the file meanwhile.
  UniqueFile probe(::CreateFileW(listFile.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  if (!probe) {
    const DWORD error = ::GetLastError();
    out.Line(UnreadableLine(listFile, SystemErrorText(error)));
    return false;
  }
  if (::GetFileType(probe.get()) != FILE_TYPE_DISK) {
    out.Line(NotAListLine(listFile, ListFileKind::Device));
    return false;
  }
  return true;
}

int HideOrShow(Output& out, const CommandLine& command, const std::wstring& user, const Policies& policies,
               IEventTrail& trail) {
  const CommandAction action = command.action;
  if (command.listFile && !GivenListReadable(out, *command.listFile)) return kExitUnreadable;
  std::wstring listFile;
  if (command.listFile) {
    listFile = *command.listFile;
  } else {
    // Made ready as the window does at start (a logon script usually runs
    // first): older lists moved in, the policy's folder made and the list
    // moved there. A list file itself is never written here.
    const UserListFile own = PrepareUserListFile(policies, ProgramFolder(), user);
    if (own.folderError) {
      out.Line(ListFolderUnreachableText(own.folder, own.folderError) + L" Rien n'est chang\u00E9.");
      return kExitUnreadable;
    }
    if (!own.movedFrom.empty()) out.Line(ListMovedText(own.movedFrom, own.path));
    if (own.rightsError) out.Line(RightsRefusedText(own.path, own.rightsError));
    listFile = own.path;
  }
  std::vector<std::wstring> lines;
  bool whole = true;
  // Read as the window reads it, any line shape, and never written here.
  const DWORD error = ReadListFile(listFile, lines, &whole);
  if (error != ERROR_SUCCESS) {
    out.Line(UnreadableLine(listFile, SystemErrorText(error)));
    return kExitUnreadable;
  }
  if (!whole) {
    out.Line(PartlyReadableLine(listFile));
    return kExitUnreadable;
  }
  const ListRecords list = ReadListRecords(lines);
  Win32FileAttributes fs;
  std::vector<ItemOutcome> outcomes = RunListAction(fs, list.records, action);
  for (ItemOutcome& item : outcomes)
    if (item.state == ItemState::Missing && !item.error && !item.unusable &&
        fs.Get(item.path) == INVALID_FILE_ATTRIBUTES)
      item.error = ::GetLastError();
  const Report report = ListActionReport(action, listFile, outcomes, Reason, list.strays);
  out.Lines(report.lines);
  if (report.total)
    trail.Write(WithFailures(action == CommandAction::Hide ? EventId::ListHidden : EventId::ListShown,
                             report.failures.size()),
                ItemCountStrings(listFile, L"", report.done, report.failures, report.total));
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

int RunRestore(Output& out, const std::wstring& user, IEventTrail& trail) {
  ComScope com;
  const std::wstring roleLabel = ComposeRoleLabel(IsNtFamily(GetOsFamily()), user);
  const StorePaths store = ComposeStorePaths(roleLabel);
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
  if (!restore.unreadable.empty()) {
    out.Line(UnreadableLine(restore.unreadable, SystemErrorText(restore.error)));
    return kExitUnreadable;
  }
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
  if (user.empty()) {
    out.Line(L"Le nom de l'utilisateur est introuvable. Rien n'est chang\u00E9.");
    return kExitUnreadable;
  }
  if (NeedsPassword(command.action)) {
    std::wstring stored, problem;
    if (!ReadStoredPassword(user, stored, problem)) {
      out.Line(problem);
      return kExitPassword;
    }
    if (ParseStoredPassword(stored).kind == StoredPassword::Kind::Damaged) {
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
  if (command.action == CommandAction::Restore) return RunRestore(out, user, trail);
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
