#include "platform/logic/FileRights.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(FileRights, OnlyTheSystemTheAdministratorsAndTheUserReachAPrivateFileOrFolder) {
  for (bool folder : {false, true}) {
    const FileRights rights = PrivateRights(folder);
    EXPECT_FALSE(rights.fromParent);
    EXPECT_FALSE(rights.openToAll);
    const std::uint8_t reach = folder ? kToFiles | kToFolders : 0;
    const std::vector<RightsEntry> expected = {{Trustee::System, kFullControl, true, reach},
                                               {Trustee::Administrators, kFullControl, true, reach},
                                               {Trustee::User, kChangeRights, true, reach}};
    EXPECT_EQ(rights.entries, expected);
  }
  // Change is full control without changing rights or owner.
  EXPECT_EQ(kChangeRights & ~kFullControl, 0u);
  EXPECT_EQ(kFullControl & ~kChangeRights, 0xC0040u);  // WRITE_DAC, WRITE_OWNER, FILE_DELETE_CHILD
}

TEST(FileRights, AnythingWiderOrOtherThanThePrivateRightsIsToBeNarrowed) {
  const FileRights wanted = PrivateRights(true);
  FileRights reordered = wanted;
  std::swap(reordered.entries.front(), reordered.entries.back());
  EXPECT_TRUE(SameRights(wanted, reordered));

  auto changed = [&](auto change) {
    FileRights r = wanted;
    change(r);
    return r;
  };
  const FileRights wider[] = {
      changed([](FileRights& r) { r.fromParent = true; }),  // Program Files' own rights reach it
      changed([](FileRights& r) { r.openToAll = true; r.entries.clear(); }),
      changed([](FileRights& r) { r.entries.push_back({Trustee::Other, 0x1200A9, true, 3}); }),  // users read
      changed([](FileRights& r) { r.entries[2].mask = kFullControl; }),  // the user may change the rights
      changed([](FileRights& r) { r.entries[2].inheritance = 0; }),      // what it holds is not reached
      changed([](FileRights& r) { r.entries[0].inheritance |= 0x10; }),  // inherited, not its own
      changed([](FileRights& r) { r.entries.pop_back(); r.entries.push_back(r.entries[0]); }),
  };
  for (const FileRights& r : wider) {
    EXPECT_FALSE(SameRights(r, wanted));
    EXPECT_FALSE(SameRights(wanted, r));
  }
  EXPECT_FALSE(SameRights(PrivateRights(false), wanted));
}

// Moved into the store an item drops what it inherited and every own entry
// but SYSTEM's, the Administrators' and the user's; moved out it drops the
// store's inherited entries and keeps all its own. Either way the new
// parent's rights reach it, and the write says so (unprotected), while the
// private rights shut the parent out (protected).
TEST(FileRights, RightsFollowThePlaceAnItemMovesTo) {
  const RightsEntry ownUser{Trustee::User, kChangeRights, true, 0};
  const RightsEntry ownOther{Trustee::Other, 0x1200A9, true, 0};
  const RightsEntry ownDenied{Trustee::Other, kFullControl, false, 0};
  const RightsEntry inheritedOther{Trustee::Other, 0x1200A9, true, kInherited};
  const RightsEntry inheritedAdmins{Trustee::Administrators, kFullControl, true, kInherited | kToFiles};
  FileRights before;
  before.entries = {ownUser, inheritedOther, ownOther, inheritedAdmins, ownDenied};
  struct Case {
    bool intoStore;
    std::vector<RightsEntry> kept;
  };
  for (const Case& c : {Case{true, {ownUser}}, Case{false, {ownUser, ownOther, ownDenied}}}) {
    const FileRights after = RightsAfterMove(before, c.intoStore);
    EXPECT_TRUE(after.fromParent) << c.intoStore;
    EXPECT_FALSE(after.openToAll) << c.intoStore;
    EXPECT_EQ(after.entries, c.kept) << c.intoStore;
    EXPECT_EQ(RightsWriteFlags(after), kDaclInformation | kUnprotectedDacl);
  }
  FileRights open;
  open.openToAll = true;
  EXPECT_TRUE(RightsAfterMove(open, true).entries.empty());
  EXPECT_FALSE(RightsAfterMove(open, true).openToAll);
  EXPECT_EQ(RightsWriteFlags(PrivateRights(true)), kDaclInformation | kProtectedDacl);
}

}  // namespace
}  // namespace ferlane
