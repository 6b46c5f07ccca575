#pragma once
// The words of a protected item and the attribute rules of the hide and show
// commands, over a small file-attribute interface so that the rules run
// against a fake file system as well as the real one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// What the system answers for a path it cannot read (all bits set).
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kHiddenAttribute = 0x2u;
inline constexpr std::uint32_t kDirectoryAttribute = 0x10u;

class IFileAttributes {
 public:
  virtual ~IFileAttributes() = default;
  // The attribute word of path, kInvalidFileAttributes when it cannot be read.
  virtual std::uint32_t Get(const std::wstring& path) = 0;
  // Writes the attribute word; 0, or the system's error code when refused.
  virtual std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) = 0;
};

// Unknown: a listed path no type word followed; it takes its type when the
// program first reads its attributes, never at the reading of the list.
enum class ItemType { Folder, File, Unknown };
// Missing: the path cannot be read (gone, or out of reach). It is a word of
// the display only; the list file keeps its two-line records.
enum class ItemState { Hidden, Visible, Missing };

// "Dossier" / "Fichier"; "" for a type not known yet.
const wchar_t* TypeWord(ItemType type);
// "Caché" / "Visible" / "Introuvable".
const wchar_t* StateWord(ItemState state);

// A type word as people write it: "Dossier" or "Folder", "Fichier" or
// "File", in any letter case, blanks and tabs around it. False for any other
// line, type then untouched.
bool ReadTypeWord(std::wstring_view line, ItemType& type);
// The type of an item whose attribute word was read: a folder when the word
// says so; Unknown when it could not be read.
ItemType TypeFromAttributes(std::uint32_t attributes);
// What the word says: hidden bit set, not set, or no word to read.
ItemState StateFromAttributes(std::uint32_t attributes);

// A path whose attributes could not be changed, with the system's reason.
struct AttributeFailure {
  std::wstring path;
  std::uint32_t error = 0;
};
using AttributeFailures = std::vector<AttributeFailure>;

// Each rule reads the word afresh, writes only a word it could read, adds a
// refused write to failures, and answers the state the file system holds
// afterwards.
// Clears the hidden bit and leaves every other bit.
ItemState ShowByClearing(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures);
// Writes the hidden bit alone (read-only, system and archive are dropped).
ItemState HideByReplacing(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures);
// Shows a path whose hidden bit is set, leaves the others.
ItemState ShowIfHidden(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures);
// Shows a hidden path, hides a visible one; a missing one stays missing.
ItemState Toggle(IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures);

struct ProtectedItem {
  std::wstring path;
  ItemType type = ItemType::File;
  ItemState state = ItemState::Visible;
  bool selected = false;
  // Set by RunListCommand on each item it acted on; the others are untouched.
  bool done = false;
};

// The list commands: "Tout Voir", "Tout Cacher", "Cacher ou Voir la
// sélection", and "Actualiser", which writes nothing and reads every row's
// state afresh.
enum class ListCommand { ShowAll, HideAll, ToggleSelected, Refresh };

// Whether the command acts on an item: every item, or the selected ones.
bool Concerns(ListCommand command, const ProtectedItem& item);

// A command's whole work on one path, the same wherever it is run from (the
// list view or a run without a window): the attribute word written as the
// command's rule says (or not), read back, and the state it then holds,
// which is the item's state word.
ItemState StepItem(ListCommand command, IFileAttributes& fs, const std::wstring& path, AttributeFailures& failures);

// Told after each item a command acted on, with the state read back; item is
// its index in the list. False stops the command before the next item.
class IItemProgress {
 public:
  virtual ~IItemProgress() = default;
  virtual bool ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) = 0;
};

struct ListCommandResult {
  AttributeFailures failures;
  std::size_t done = 0;   // items acted on
  std::size_t total = 0;  // items the command concerns
  bool Stopped() const { return done < total; }
};

// The form two spellings of one path share (the upper case, say): items
// whose paths fold alike name the same file.
using PathFold = std::wstring (*)(std::wstring_view path);

// Runs a command over the items it concerns, first to last; none stops at a
// failure, only when progress says so. Each item done takes the state its
// step read back; a path listed more than once (as fold tells, exactly when
// fold is null) is read again at the end, so every row of it tells what the
// file holds once the command is over. The items not reached keep their
// state and are not touched.
ListCommandResult RunListCommand(ListCommand command, IFileAttributes& fs, std::vector<ProtectedItem>& items,
                                 IItemProgress* progress = nullptr, PathFold fold = nullptr);

}  // namespace ferlane
