#pragma once
// The access rights of a file or folder as plain data: who may do what, and
// whether the parent's rights reach it. The list files and the hidden store
// carry the private rights below, so that other users can neither read what
// is hidden nor browse it. The system's own form (a DACL) is made and read
// by the platform.
#include <cstdint>
#include <vector>

namespace ferlane {

enum class Trustee : std::uint8_t {
  System,          // the local system account
  Administrators,  // the built-in group
  User,            // the user the file or folder belongs to: the one running
  Other,           // anyone else, read back from the disk only
};

// The system's masks: every right, and "change" (read, write, run, delete;
// neither the rights nor the owner can be changed with it).
inline constexpr std::uint32_t kFullControl = 0x1F01FF;
inline constexpr std::uint32_t kChangeRights = 0x1301BF;
// How an entry of a folder reaches what it holds: its files, its folders.
inline constexpr std::uint8_t kToFiles = 0x1;
inline constexpr std::uint8_t kToFolders = 0x2;

struct RightsEntry {
  Trustee who = Trustee::Other;
  std::uint32_t mask = 0;
  bool allow = true;
  // The entry's inheritance, in the system's flag bits: kToFiles, kToFolders,
  // and any other bit read from the disk (inherit only, inherited, ...).
  std::uint8_t inheritance = 0;
  // Another trustee's SID as read from the disk, so that a rewrite keeps it.
  std::vector<std::uint8_t> sid;
  bool operator==(const RightsEntry&) const = default;
};

struct FileRights {
  bool fromParent = false;  // the parent's inheritable entries apply too
  bool openToAll = false;   // no list at all: everyone may do everything
  std::vector<RightsEntry> entries;
};

// Full control for the system and the administrators, change for the user,
// nothing for anyone else, nothing from the parent. A folder's entries reach
// everything it holds.
FileRights PrivateRights(bool folder);

// An entry the system copied from the parent (INHERITED_ACE), not the
// item's own.
inline constexpr std::uint8_t kInherited = 0x10;

// The rights an item takes when it moves, so that they follow the place.
// Into the store: the store's inherited rights in place of those it
// inherited where it was, and of its own entries only SYSTEM's, the
// Administrators' and the user's stay (a group from the common Programs is
// then no longer readable by every user). Out of the store: the
// destination's inherited rights in place of the store's private ones; its
// own entries stay. The inherited entries themselves come from the system
// once the parent's rights reach the item again.
FileRights RightsAfterMove(const FileRights& before, bool intoStore);

// What a write of `rights` tells the system (SECURITY_INFORMATION's bits):
// the list, and whether the parent's entries reach the item (unprotected)
// or not (protected). A swap would open the store to its parent's readers.
inline constexpr std::uint32_t kDaclInformation = 0x00000004;
inline constexpr std::uint32_t kProtectedDacl = 0x80000000;
inline constexpr std::uint32_t kUnprotectedDacl = 0x20000000;
std::uint32_t RightsWriteFlags(const FileRights& rights);

// Whether two sets of rights grant the same, whatever the entries' order.
bool SameRights(const FileRights& a, const FileRights& b);

}  // namespace ferlane
