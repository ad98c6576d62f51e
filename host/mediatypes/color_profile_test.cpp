#include "host/mediatypes/color_profile.h"

#include <gtest/gtest.h>

namespace zorvmediatypes {
namespace {

TEST(ColorProfileTest, IdentifierFollowsNameAndBytesAndIsStableAcrossRuns) {
  // Stored descriptions compare profiles by this identifier, so it must never change.
  EXPECT_EQ(ColorProfile(u"sRGB", {0x10, 0x20}).ToGuid().AsUTF8String(),
            "B098608E-273D-5448-B83C-2BF400000013");
  const ColorProfile profile(u"Wide Gamut", {1, 2, 3, 4});
  EXPECT_NE(profile.ToGuid(), ColorProfile(u"Wide Gamut", {1, 2, 3, 5}).ToGuid());
  EXPECT_NE(profile.ToGuid(), ColorProfile(u"Wide gamut", {1, 2, 3, 4}).ToGuid());
  EXPECT_NE(profile.ToGuid(), ColorProfile(u"", {1, 2, 3, 4}).ToGuid());  // no name: another profile
  // Only the empty profile has the zero identifier.
  EXPECT_TRUE(ColorProfile().ToGuid().IsNull());
  EXPECT_FALSE(ColorProfile(u"x", {}).ToGuid().IsNull());
  EXPECT_FALSE(ColorProfile(u"", {0}).ToGuid().IsNull());
}

}  // namespace
}  // namespace zorvmediatypes
