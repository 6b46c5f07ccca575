#pragma once
// The words of a protected item and the attribute rules of the hide and show
// commands, over a small file-attribute interface so that the rules run
// against a fake file system as well as the real one.
#include <cstdint>
#include <string>
#include <vector>

namespace ferlane {

// What the system answers for a path it cannot read (all bits set).
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kHiddenAttribute = 0x2u;

class IFileAttributes {
 public:
  virtual ~IFileAttributes() = default;
  // The attribute word of path, kInvalidFileAttributes when it cannot be read.
  virtual std::uint32_t Get(const std::wstring& path) = 0;
  // Writes the attribute word; the commands go on whatever happened.
  virtual void Set(const std::wstring& path, std::uint32_t attributes) = 0;
};

enum class ItemType { Folder, File };
enum class ItemState { Hidden, Visible };

// "Dossier" / "Fichier".
const wchar_t* TypeWord(ItemType type);
// "Caché" / "Visible".
const wchar_t* StateWord(ItemState state);

// A stored type line names a folder only when it is "Dossier" exactly.
ItemType TypeFromLine(const std::wstring& line);
// An unreadable path (all bits set) counts as hidden.
ItemState StateFromAttributes(std::uint32_t attributes);

// Clears the hidden bit of a freshly read word and leaves every other bit.
// A word that cannot be read is not written back. Always "Visible".
ItemState ShowByClearing(IFileAttributes& fs, const std::wstring& path);
// Writes the hidden bit alone (read-only, system and archive are dropped).
ItemState HideByReplacing(IFileAttributes& fs, const std::wstring& path);
// Shows a path whose hidden bit reads as set, leaves the others; always "Visible".
ItemState ShowIfHidden(IFileAttributes& fs, const std::wstring& path);
// Shows a hidden path, hides any other.
ItemState Toggle(IFileAttributes& fs, const std::wstring& path);

struct ProtectedItem {
  std::wstring path;
  ItemType type = ItemType::File;
  ItemState state = ItemState::Visible;
  bool selected = false;
};

// The three list commands, first item to last; each sets the state word of
// every item it touches to what it did, whatever the file system answered.
void ShowAll(IFileAttributes& fs, std::vector<ProtectedItem>& items);
void HideAll(IFileAttributes& fs, std::vector<ProtectedItem>& items);
void ToggleSelected(IFileAttributes& fs, std::vector<ProtectedItem>& items);

}  // namespace ferlane
