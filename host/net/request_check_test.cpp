#include "host/net/request_check.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvnet {
namespace {

TEST(RequestCheckTest, OnlyWebURLsWithAHostAndFieldsThatCannotForgeOthersPass) {
  const struct {
    bool (*check)(std::string_view);
    std::string text;
    bool passes;
  } cases[] = {
      {IsHttpURL, "http://127.0.0.1:8080/a?b=c", true},
      {IsHttpURL, "https://example.test/path%20x", true},
      {IsHttpURL, "HTTPS://EXAMPLE.TEST/", true},
      {IsHttpURL, "", false},
      {IsHttpURL, "example.test/path", false},
      {IsHttpURL, "ftp://example.test/", false},
      {IsHttpURL, "file:///etc/passwd", false},
      {IsHttpURL, "http://", false},
      {IsHttpURL, std::string("http://a.test/\0x", 16), false},
      {IsHeaderName, "x_custom.thing~1", true},
      {IsHeaderName, "", false},
      {IsHeaderName, "Bad Name", false},
      {IsHeaderName, "Name:", false},
      {IsHeaderName, "Name\r\n", false},
      {IsHeaderValue, "", true},
      {IsHeaderValue, "Bearer abc.def; q=1, \"quoted\"", true},
      {IsHeaderValue, "a\r\nX-Forged: 1", false},
      {IsHeaderValue, "a\nb", false},
      {IsHeaderValue, std::string("a\0b", 3), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.check(c.text), c.passes) << c.text;
}

}  // namespace
}  // namespace zorvnet
