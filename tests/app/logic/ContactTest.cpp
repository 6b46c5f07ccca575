#include "app/logic/Contact.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(Contact, MailtoKeepsTheSubjectsBlankUnencoded) {
  EXPECT_EQ(ContactMailto(L"ferlane@example.org"),
            L"mailto:ferlane@example.org?subject=Ferlane 1.0&Body=Ecrivez ici votre message:");
}

}  // namespace
}  // namespace ferlane
