#include "stock/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvcapsule {
namespace {

// (Space, '/' and UTF-8 are pinned by the search request in the stock source's tests.)
TEST(UrlEncodeTest, KeepsTheUnreservedSetAndEncodesEverythingElse) {
  EXPECT_EQ(UrlEncode("-_.~AZaz09"), "-_.~AZaz09");
  EXPECT_EQ(UrlEncode("a+b&c=d?e#f%"), "a%2Bb%26c%3Dd%3Fe%23f%25");
  EXPECT_EQ(UrlEncode(std::string("\0\x7F\xFF", 3)), "%00%7F%FF");
  EXPECT_EQ(UrlEncode(""), "");
}

}  // namespace
}  // namespace zorvcapsule
