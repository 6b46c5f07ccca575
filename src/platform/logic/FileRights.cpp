#include "platform/logic/FileRights.h"

#include <algorithm>

namespace ferlane {

FileRights PrivateRights(bool folder) {
  const std::uint8_t reach = folder ? kToFiles | kToFolders : 0;
  FileRights rights;
  rights.entries = {{Trustee::System, kFullControl, true, reach},
                    {Trustee::Administrators, kFullControl, true, reach},
                    {Trustee::User, kChangeRights, true, reach}};
  return rights;
}

FileRights RightsAfterMove(const FileRights& before, bool intoStore) {
  FileRights after;
  after.fromParent = true;
  for (const RightsEntry& e : before.entries) {
    if (e.inheritance & kInherited) continue;
    if (intoStore && e.who == Trustee::Other) continue;
    after.entries.push_back(e);
  }
  return after;
}

std::uint32_t RightsWriteFlags(const FileRights& rights) {
  return kDaclInformation | (rights.fromParent ? kUnprotectedDacl : kProtectedDacl);
}

bool SameRights(const FileRights& a, const FileRights& b) {
  if (a.fromParent != b.fromParent || a.openToAll != b.openToAll || a.entries.size() != b.entries.size())
    return false;
  // A handful of entries: each of a's is looked for among b's not yet matched.
  std::vector<bool> used(b.entries.size());
  for (const RightsEntry& e : a.entries) {
    std::size_t i = 0;
    while (i < b.entries.size() && (used[i] || !(b.entries[i] == e))) ++i;
    if (i == b.entries.size()) return false;
    used[i] = true;
  }
  return true;
}

}  // namespace ferlane
