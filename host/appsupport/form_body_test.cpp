#include "host/appsupport/form_body.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvappsupport {
namespace {

TEST(FormBodyTest, EncodesBytesAsAFormDoes) {
  EXPECT_EQ(FormEncode("AZaz09*-._"), "AZaz09*-._");
  EXPECT_EQ(FormEncode("a b"), "a+b");
  EXPECT_EQ(FormEncode("a+b&c=d%"), "a%2Bb%26c%3Dd%25");
  EXPECT_EQ(FormEncode("~/,\t"), "%7E%2F%2C%09");
  EXPECT_EQ(FormEncode("\xC3\xA9"), "%C3%A9");
  EXPECT_EQ(FormEncode(std::string("\0\xff", 2)), "%00%FF");
  EXPECT_EQ(FormEncode(""), "");
}

TEST(FormBodyTest, JoinsFieldsInTheirOrderEmptyValuesIncluded) {
  EXPECT_EQ(EncodeFormBody({{"b", "2"}, {"a", ""}, {"scope", "x,y z"}}), "b=2&a=&scope=x%2Cy+z");
  EXPECT_EQ(EncodeFormBody({}), "");
}

}  // namespace
}  // namespace zorvappsupport
