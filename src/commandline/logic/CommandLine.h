#pragma once
// The silent command line for logon scripts and management tools: what the
// arguments ask, whether the password lets the job run, the lines written to
// the caller's console and the exit code. The runner (app/CommandLineRun)
// only carries these out; nothing here opens a window or waits for anyone.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protect/logic/HideShow.h"
#include "protect/logic/ExactPath.h"
#include "protect/logic/ListFile.h"

namespace ferlane {

// The exit codes, the same for every switch.
enum ExitCode : int {
  kExitDone = 0,           // all done
  kExitItemsRefused = 1,   // done, with items that could not be changed (named)
  kExitWrongArgument = 2,  // a wrong or unknown argument
  kExitPassword = 3,       // password missing, wrong, never arrived, or the settings unreadable: nothing changed
  kExitUnreadable = 4,     // no user name, or the list file or the store could not be read: nothing changed
};

enum class CommandAction { None, Hide, Show, Restore, Usage };

struct CommandLine {
  CommandAction action = CommandAction::None;
  // /motdepasse:TEXTE
  std::optional<std::wstring> password;
  // /motdepasse:- : the password comes on standard input.
  bool passwordFromInput = false;
  // /liste:FICHIER : the list file applied instead of the user's own.
  std::optional<std::wstring> listFile;
  // /essai: the job says what it would do and changes nothing.
  bool trial = false;
  // Set when an argument is wrong: the line that says which.
  std::wstring error;
};

// The part of the process's command line after the program's name, for the
// arguments to be split from. A quoted name ends at its closing quote, as the
// system splits it, so a switch may follow it without a blank. The name may
// stand unquoted with blanks in it (the autostart value holds the bare path):
// modulePath, the program's own path, is then taken whole rather than cut at
// its first blank.
std::wstring ArgumentsAfterProgram(const std::wstring& commandLine, const std::wstring& modulePath);

// The arguments after the program's name. Switch names take any letter case;
// the password's text is kept exactly. No argument gives CommandAction::None
// (the window starts as usual). "/?" anywhere asks for the usage.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

// The usage, in French, with the exit codes.
std::wstring UsageText();

// /voir and /retablir undo what protects the user: they need the password
// when there is one. /cacher never does.
bool NeedsPassword(CommandAction action);

enum class PasswordVerdict { NotNeeded, Right, Missing, Wrong };
// stored: the stored form of the user's password (empty: none); given: the
// text received, if any. Checked as the login prompt checks it.
PasswordVerdict CheckCommandPassword(CommandAction action, const std::wstring& stored,
                                     const std::optional<std::wstring>& given);
// The line said for a verdict that stops the job; empty otherwise.
std::wstring PasswordVerdictLine(PasswordVerdict verdict);

// How the bytes on standard input are written, from their first unit.
// UTF-16 without a mark (what "cmd /u" writes) shows as a NUL in every other
// byte of ASCII text; NUL bytes in any other pattern are no text the program
// can read (Unknown), and are refused rather than taken for a wrong password.
enum class InputEncoding { Bytes, Utf16Le, Utf16Be, Unknown };
InputEncoding InputEncodingOf(std::string_view bytes);

// The first line of what came on standard input, the line end not kept:
// UTF-16 behind its byte-order mark or recognised without one, else UTF-8 (a
// mark is dropped), else decodeOther's reading (the ANSI code page, as
// Notepad saves a file). Every copy made on the way is wiped.
std::wstring PasswordFromInput(std::string_view bytes,
                               const std::function<std::wstring(std::string_view)>& decodeOther);
// Whether bytes hold the whole first line (a line end, in UTF-16 a whole
// unit), so the reader need not wait for the writer to close its end.
bool FirstLineArrived(std::string_view bytes);

// ---- Hiding and showing the listed items ------------------------------------

struct ItemOutcome {
  std::wstring path;
  ItemState state = ItemState::Visible;  // read back once every item was done
  std::uint32_t error = 0;               // the refused write's reason, else 0
  bool unusable = false;                 // a relative path: never acted on
  bool already = false;                  // it was as asked before the run: nothing to change
};

// /cacher or /voir over the list file's records, item by item as "Tout
// Cacher" and "Tout Voir" do, every state read back once all are done. A
// trial only reads each item's state, as "Actualiser" does.
std::vector<ItemOutcome> RunListAction(IFileAttributes& fs, const std::vector<ListRecord>& records,
                                       CommandAction action, bool trial = false);

// The system's text for an error code (the runner's).
using ReasonText = std::function<std::wstring(std::uint32_t)>;

struct Report {
  std::vector<std::wstring> lines;
  int exitCode = kExitDone;
  // For the event of the run: the items done, those already as asked, those
  // that failed ("path : why", and the reason alone, which is all the event
  // says), and all the command concerned.
  std::size_t done = 0, already = 0, total = 0;
  std::vector<std::wstring> failures, reasons;
};
// One line per item: its new state, or what kept it from changing with the
// system's reason; then a summary. A missing item's reason is error (the
// runner reads it) or the plain fact. strays: the list's lines that follow
// no path, each named as a failure. words: the words after a path that are
// no type word, each named without changing the exit code.
Report ListActionReport(CommandAction action, const std::wstring& listFile, const std::vector<ItemOutcome>& outcomes,
                        const ReasonText& reason, const std::vector<std::wstring>& strays = {},
                        const std::vector<std::wstring>& words = {});

// The lines a run and its trial share: a list's line that follows no path,
// and the summaries (done: the items in the asked state at the end).
std::wstring StrayLine(const std::wstring& line);
// A word after a path that is no type word: said, never a failure.
std::wstring WordLine(const std::wstring& line);
std::wstring ListSummaryLine(CommandAction action, std::size_t done, std::size_t total, std::size_t already = 0);
std::wstring RestoreSummaryLine(std::size_t restored, std::size_t failed);

// Why a list file cannot be read as a list: a folder, or a device
// (ListFileKind). The line ends with "Rien n'est changé."; the text alone
// is the window's.
std::wstring NotAListText(const std::wstring& path, ListFileKind kind);
std::wstring NotAListLine(const std::wstring& path, ListFileKind kind);

// ---- Restoring the hidden store ----------------------------------------------

// What happened to one store folder's items.
struct StoreOutcome {
  std::wstring store;        // the store folder
  std::wstring destination;  // where its items go back to
  bool storeMissing = false;  // no store folder: nothing was ever hidden there
  // The destination could not be used: nothing of this store moved.
  std::uint32_t destinationError = 0;
  std::vector<std::wstring> restored;
  std::vector<std::wstring> nameTaken;  // left in the store: the name is taken
  std::vector<std::wstring> notMoved;   // the shell did not move them
  std::vector<std::wstring> kept;       // neither folder nor shortcut: never moved
  // Full paths of what stayed of restored items' sources (across volumes):
  // the items are whole at the destination, these parts could not go.
  std::vector<std::wstring> remains;
  // Full paths of items whose move failed and that stayed under the name
  // they were set aside as: they could not be put back.
  std::vector<std::wstring> setAside;
  std::vector<std::wstring> all;        // every entry, for a destination that failed
  // Full paths left in an older store that could not join this one.
  std::vector<std::wstring> stranded;
  // Older store folders that could not be read to their end, with why:
  // what they still hold stays there.
  struct UnreadableFolder {
    std::wstring path;
    std::uint32_t error = 0;
  };
  std::vector<UnreadableFolder> unreadableOlder;
  // Why the store folder could not be made; its older stores were then
  // restored from directly, `restored` naming what came back and `stranded`
  // what stays there.
  std::uint32_t createError = 0;
};
// nameRestored: a line for each item put back (the command line's log); the
// window says only how many, and what stayed.
// setAside: what earlier moves left under an aside name, found where the
// program moves from; each is a failure, never renamed back by guess.
Report RestoreReport(const std::vector<StoreOutcome>& stores, const ReasonText& reason, bool nameRestored = true,
                     const std::vector<std::wstring>& setAside = {});

// The report as a code page can write it: each character canWrite refuses
// (a whole surrogate pair is one) is spelled "<U+0161>" instead, never
// replaced by a look-alike, so a line never names another file ("<" and ">"
// are in no file name).
std::wstring SpelledForCodePage(std::wstring_view text, const std::function<bool(std::wstring_view)>& canWrite);

// Said when the list file or a store folder cannot be read (code 4).
std::wstring UnreadableLine(const std::wstring& path, const std::wstring& reason);
// Said for a list file the window would keep as ".bak" (code 4).
std::wstring PartlyReadableLine(const std::wstring& path);

}  // namespace ferlane
