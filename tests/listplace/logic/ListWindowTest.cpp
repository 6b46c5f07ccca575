#include "listplace/logic/ListWindow.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

// The owner rule, for a full start and for the limited start that only
// looks: every opening, every owner.
TEST(ListWindowClaim, WhoseNameStandsForAWindow) {
  using O = ClaimOpening;
  using W = ClaimOwner;
  using V = ClaimVerdict;
  struct Case {
    O opening;
    W owner;
    V full, limited;
  };
  const Case cases[] = {
      {O::Created, W::ThisUser, V::Held, V::Held},
      {O::NotFound, W::Unknown, V::Free, V::Free},
      {O::Existed, W::ThisUser, V::Taken, V::Taken},
      {O::Existed, W::Administrators, V::Taken, V::Taken},  // an elevated window
      {O::Existed, W::System, V::Taken, V::Taken},
      {O::Existed, W::Unknown, V::Taken, V::Taken},  // an older version's window
      {O::Existed, W::Other, V::Ignored, V::Ignored},  // another user's name in the way
      // The elevated window's name may refuse the limited token, as may a
      // name another user made: only the elevated copy can tell. It never
      // refuses its own user's full token.
      {O::AccessDenied, W::Unknown, V::Ignored, V::Refused},
      {O::Failed, W::Unknown, V::NoClaim, V::Free},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeClaim(c.opening, c.owner, false), c.full)
        << static_cast<int>(c.opening) << "/" << static_cast<int>(c.owner);
    EXPECT_EQ(JudgeClaim(c.opening, c.owner, true), c.limited)
        << static_cast<int>(c.opening) << "/" << static_cast<int>(c.owner);
  }
  for (V v : {V::Held, V::Ignored, V::NoClaim}) EXPECT_TRUE(MayOpenWindow(v));
  for (V v : {V::Free, V::Taken, V::Refused}) EXPECT_FALSE(MayOpenWindow(v));
}

}  // namespace
}  // namespace ferlane
