#pragma once
// What a move does with a name the destination already holds, how two
// program groups of one name become one, what is said of what stays behind,
// which names are too long for their destination, and when a view of the
// hidden store is listed again. No <windows.h> here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// An entry of a folder as a listing gives it.
struct FolderEntry {
  std::wstring name;
  bool isFolder = false;
};
// Folds a name to the one case the file system compares names in.
using NameFold = std::wstring (*)(std::wstring);

// What is done with an item whose name the destination may hold:
// free names move; a file onto a file asks to replace it; a folder onto a
// folder asks to merge the two; a file and a folder of one name stay apart.
enum class ClashStep { Move, AskReplace, AskMerge, Leave };
// existingIsFolder: the kind of the destination's entry of that name, if any.
ClashStep ClashFor(bool isFolder, std::optional<bool> existingIsFolder);
// The step once the user answered its question (true = Oui): Move, Leave,
// or the agreed AskReplace / AskMerge, to be carried out as such.
enum class ClashOutcome { Move, Replace, Merge, Declined, Leave };
ClashOutcome Resolve(ClashStep step, std::optional<bool> answer = std::nullopt);

// One entry of a source folder merged into the destination's folder of the
// same name, in the source's order.
struct MergeItem {
  std::wstring name;
  bool isFolder;
  ClashStep step;
};
std::vector<MergeItem> PlanMerge(const std::vector<FolderEntry>& source, const std::vector<FolderEntry>& destination,
                                 NameFold fold);
// What a merge leaves to be named, as shownAs + "\" + name: every entry still
// in the source folder, except the sub-folders whose own leftovers were named.
std::vector<std::wstring> MergeLeftovers(std::wstring_view shownAs, const std::vector<FolderEntry>& remaining,
                                         const std::vector<std::wstring>& namedInside, NameFold fold);

// The longest paths Win32 takes without the "\\?\" form: a file's, and a
// folder's, which must leave room for an 8.3 name inside it.
inline constexpr std::size_t kMaxFilePath = 259;
inline constexpr std::size_t kMaxFolderPath = 247;
// The longest relative tails ("\sub\name") of the files and folders inside
// a folder that moves.
struct InsideLengths {
  std::size_t file = 0, folder = 0;
};
// Whether the item named `name` fits in a destination folder whose path has
// `destinationLength` characters, together with everything inside it.
bool FitsIn(std::size_t destinationLength, std::wstring_view name, bool isFolder, InsideLengths inside = {});

// The names as lines of a message, each in « », the first ten then how many more.
std::wstring NameLines(const std::vector<std::wstring>& names);
// "Voulez-vous fusionner ... ?": names the source's group and the
// destination's one.
std::wstring MergeQuestion(std::wstring_view name, std::wstring_view from, std::wstring_view to);
// Said before anything moves: these names are too long for the destination,
// and stay where they are. toStore: the destination is a hidden store folder.
std::wstring TooLongText(const std::vector<std::wstring>& names, std::wstring_view destination, bool toStore);

// A store folder as the disk has it: a folder or not, and when its list of
// entries last changed.
struct StoreLook {
  bool isFolder = false;
  bool isFile = false;  // a file holds the folder's name
  std::uint64_t stamp = 0;
};
// What the view of a store folder shows, and whether its absence was told.
struct StoreWatch {
  bool listed = false;  // the folder was listed; else the view shows it empty
  std::uint64_t stamp = 0;
  bool told = false;
};
struct WatchAction {
  bool relist = false;     // list the folder again
  bool showEmpty = false;  // the folder is gone: show nothing in its place
  bool tell = false;       // say why, once per absence, while the user looks
};
// Updates `watch` for what the disk shows now.
WatchAction NextWatchAction(StoreWatch& watch, const StoreLook& now, bool visible);
// Why the store's views are empty; each folder is named with its reason.
std::wstring StoreGoneText(const std::vector<std::wstring>& folders, const std::vector<bool>& isFile);

}  // namespace ferlane
