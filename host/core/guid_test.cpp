#include "host/core/guid.h"

#include <gtest/gtest.h>

#include <set>

namespace zorvcore {
namespace {

const Guid kKnown(0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});

// Full GUIDs' text is pinned by the cache name and colour profile tests; here every field padded.
TEST(GuidTest, TextFormPadsEveryField) {
  EXPECT_EQ(Guid().AsUTF8String(), "00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(Guid(1, 2, 3, {0, 0, 0, 0, 0, 0, 0, 4}).AsUTF8String(), "00000001-0002-0003-0000-000000000004");
}

TEST(GuidTest, ParsingRoundTripsAcceptsEitherCaseAndRefusesAnythingElse) {
  // Upper-case text reads back in the unique-GUID test.
  EXPECT_EQ(Guid::FromUTF8String("0123abcd-4567-89ef-0123-456789abcdef"), kKnown);
  for (const char* bad :
       {"", "{0123ABCD-4567-89EF-0123-456789ABCDEF}", "0123ABCD-4567-89EF-0123-456789ABCDE",
        "0123ABCD-4567-89EF-0123-456789ABCDEF0", "0123ABCD4567-89EF-0123-456789ABCDEF0",
        "0123ABCD-4567-89EF-0123+456789ABCDEF", "0123ABCG-4567-89EF-0123-456789ABCDEF",
        " 123ABCD-4567-89EF-0123-456789ABCDEF", "0123ABCD-4567-89EF-01234-56789ABCDEF"}) {
    EXPECT_EQ(Guid::FromUTF8String(bad), std::nullopt) << bad;
  }
  // A non-ASCII digit look-alike, and a 35-unit text whose UTF-8 form has the 36 bytes expected.
  EXPECT_EQ(Guid::FromString(u"0123ABCD-4567-89EF-0123-456789ABCDE\uFF10"), std::nullopt);
  EXPECT_EQ(Guid::FromString(u"0123ABCD-4567-89EF-0123-456789AB\u00e9"), std::nullopt);
}

TEST(GuidTest, CreateUniqueIsRandomVersionFourAndRoundTrips) {
  std::set<Guid> seen;
  for (int i = 0; i < 200; ++i) {
    const Guid guid = Guid::CreateUnique();
    EXPECT_EQ(guid.Data3 >> 12, 4) << guid.AsUTF8String();
    EXPECT_EQ(guid.Data4[0] & 0xC0, 0x80) << guid.AsUTF8String();
    EXPECT_TRUE(seen.insert(guid).second) << "repeated " << guid.AsUTF8String();
    EXPECT_EQ(Guid::FromString(guid.AsString()), guid);
  }
}

}  // namespace
}  // namespace zorvcore
