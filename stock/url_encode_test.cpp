#include "stock/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvcapsule {
namespace {

TEST(UrlEncodeTest, KeepsTheUnreservedSetAndEncodesEverythingElse) {
  EXPECT_EQ(UrlEncode("-_.~"), "-_.~");
  EXPECT_EQ(UrlEncode("AZaz09"), "AZaz09");
  EXPECT_EQ(UrlEncode("lower third"), "lower%20third");
  EXPECT_EQ(UrlEncode("\t"), "%09");
  EXPECT_EQ(UrlEncode("caf\xC3\xA9"), "caf%C3%A9");
  EXPECT_EQ(UrlEncode("Editor/24.1"), "Editor%2F24.1");
  EXPECT_EQ(UrlEncode("a+b&c=d?e#f%"), "a%2Bb%26c%3Dd%3Fe%23f%25");
  EXPECT_EQ(UrlEncode(std::string("\0\x7F\xFF", 3)), "%00%7F%FF");
  EXPECT_EQ(UrlEncode(""), "");
}

}  // namespace
}  // namespace zorvcapsule
