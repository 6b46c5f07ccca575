#pragma once
// The rules of the shortcut moves: which view accepts a drag from which, what
// a selected item is and how it moves, where the hidden store lies, and what
// to do when the destination already holds the item's name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// The four shell folders, in the order they are looked up at start.
enum class ShellFolder { CommonDesktop, PersonalDesktop, CommonPrograms, PersonalPrograms };
inline constexpr int kShellFolderCount = 4;

// The shell's special folder identifiers.
inline constexpr int kCsidlDesktop = 0;
inline constexpr int kCsidlPrograms = 2;
inline constexpr int kCsidlDesktopDirectory = 16;
inline constexpr int kCsidlCommonPrograms = 23;
inline constexpr int kCsidlCommonDesktopDirectory = 25;

struct ShellFolderRow {
  ShellFolder folder;
  int csidl;
  const wchar_t* views[2];  // the views given its path, in this order; nullptr ends
  const wchar_t* panel;
};
inline constexpr ShellFolderRow kShellFolderRows[kShellFolderCount] = {
    {ShellFolder::CommonDesktop, kCsidlCommonDesktopDirectory, {L"bureaucommun", nullptr}, L"Panel10"},
    {ShellFolder::PersonalDesktop, kCsidlDesktopDirectory, {L"bureauperso", L"burperso"}, L"Panel11"},
    {ShellFolder::CommonPrograms, kCsidlCommonPrograms, {L"programmescommuns", nullptr}, L"Panel8"},
    {ShellFolder::PersonalPrograms, kCsidlPrograms, {L"programmesperso", L"progperso"}, L"Panel9"},
};

// How one selected item is moved.
enum class ItemMove { Skip, Folder, File };  // Folder: MoveFolder; File: ShellFileOp
enum class ItemRule { Programs, Desktop };

// The programs rule: a folder moves whole, a shortcut (a file whose name ends
// in ".lnk", any letter case) moves as a file, anything else stays. Decided
// from the file system, never from the shell's type name, so it holds on every
// language of Windows.
ItemMove ProgramsItemMove(bool isDirectory, std::wstring_view fileName);
// The desktop rule moves every selected item as it is.
ItemMove ApplyItemRule(ItemRule rule, bool isDirectory, std::wstring_view fileName);
bool IsShortcutName(std::wstring_view fileName);

// A relocation route of the shortcuts tab: a drop on `target` accepts a drag
// from `source` only, and moves its selected items from one shell folder to
// another; afterwards the common view, then the personal one, is re-listed.
struct Route {
  const wchar_t* target;
  const wchar_t* source;
  ShellFolder from, to;
  ItemRule rule;
  const wchar_t* commonView;
  int commonCsidl;
  const wchar_t* personalView;
  int personalCsidl;
};
// The route of the view named `target`; the views of the other tabs that show
// the personal desktop run the drop of "bureauperso". nullptr when the view
// takes no drop.
const Route* RouteOf(std::wstring_view target);
// The drag-over test: exactly the route's source, by its name, case counting.
bool AcceptsDrag(std::wstring_view target, std::wstring_view source);
// The route a view's selection takes to the facing view (F6), as a drag from
// `source` dropped there would: nullptr when no view faces it.
const Route* RouteFrom(std::wstring_view source);

// The entry name at the end of a row's full path.
std::wstring_view EntryName(std::wstring_view fullPath);
// folder + "\" + name.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// A hidden store folder: program files + "\Ferlane\" + role label + "\" + leaf.
std::wstring HiddenStorePath(std::wstring_view programFiles, std::wstring_view roleLabel, std::wstring_view leaf);

// One selected item's move as planned before any moves.
struct PlannedMove {
  ItemMove move;      // Folder or File
  bool confirmed;     // the user agreed to replace a name at the destination
  bool sourceFound;   // the source exists (else the shell is left to report it)
};
// A run [first, last) of planned moves handed to the shell as one request.
struct MoveBatch {
  std::size_t first, last;
};
// Consecutive plain file moves (no replace agreed, source found) share one
// request, in the order planned. Every other move goes alone, as the shell's
// one-item request: a folder, a replace the user agreed to, and a missing
// source, which the shell then reports while the other items still move.
std::vector<MoveBatch> MoveBatches(const std::vector<PlannedMove>& moves);

// "Remplacer ... ?": the question naming the item and the destination folder.
std::wstring ReplaceQuestion(std::wstring_view name, std::wstring_view destination);
// Said once when a command's destination folder is missing: nothing moves.
std::wstring MissingStoreText(std::wstring_view folder, std::wstring_view reason);
std::wstring MissingFolderText(std::wstring_view folder, std::wstring_view reason);
// Items the shell said it moved but left in place, or did not find (Wine's
// shell answers success for both); the first names, then how many more.
std::wstring NotMovedText(const std::vector<std::wstring>& names, std::wstring_view destination);
// The one message after a move: what could not be moved (notMoved), then,
// apart, what stayed because the user answered "Non" (kept). Empty when
// nothing is to be said: no failure, and no item kept back inside a program
// group whose merge the user agreed to (a plain "Non" needs no echo).
// error: the text tells of failures (an error box), else it only informs.
std::wstring MoveReportText(const std::vector<std::wstring>& notMoved, const std::vector<std::wstring>& kept,
                            bool keptInMerge, std::wstring_view destination, bool* error = nullptr);

}  // namespace ferlane
