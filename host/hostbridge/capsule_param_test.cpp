#include "host/hostbridge/capsule_param.h"

#include <stdexcept>
#include <string>
#include <variant>

#include <gtest/gtest.h>

namespace hostbridge {
namespace {

TEST(CapsuleParamTest, MissingPropertyOrAnotherAlternativeCannotBeReadAndSetReplaces) {
  CapsuleParam param;
  param.Set(CapsuleParamKey::kUIName, std::u16string(u"Title"));
  EXPECT_THROW(param.Get<double>(CapsuleParamKey::kMin), std::out_of_range);
  param.Set(CapsuleParamKey::kDecimals, int32_t{2});
  EXPECT_THROW(param.Get<uint32_t>(CapsuleParamKey::kDecimals), std::bad_variant_access);
  EXPECT_EQ(param.Get<int32_t>(CapsuleParamKey::kDecimals), 2);

  // Set replaces.
  CapsuleParam first;
  first.Set(CapsuleParamKey::kDefault, 1.0);
  first.Set(CapsuleParamKey::kDefault, std::vector<double>{1, 2});
  EXPECT_EQ(first.Properties().size(), 1u);
  EXPECT_EQ(first.Get<std::vector<double>>(CapsuleParamKey::kDefault), (std::vector<double>{1, 2}));
}

}  // namespace
}  // namespace hostbridge
