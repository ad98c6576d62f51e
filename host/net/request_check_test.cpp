#include "host/net/request_check.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvnet {
namespace {

using zorvcore::ImmutableString;

TEST(RequestCheckTest, OnlyAbsoluteWebURLsWithAHostPass) {
  EXPECT_TRUE(IsHttpURL("http://127.0.0.1:8080/a?b=c"));
  EXPECT_TRUE(IsHttpURL("https://example.test/path%20x"));
  EXPECT_TRUE(IsHttpURL("HTTPS://EXAMPLE.TEST/"));

  EXPECT_FALSE(IsHttpURL(""));
  EXPECT_FALSE(IsHttpURL("example.test/path"));
  EXPECT_FALSE(IsHttpURL("/path"));
  EXPECT_FALSE(IsHttpURL("ftp://example.test/"));
  EXPECT_FALSE(IsHttpURL("file:///etc/passwd"));
  EXPECT_FALSE(IsHttpURL("http://"));
  EXPECT_FALSE(IsHttpURL(std::string("http://a.test/\0x", 16)));
}

TEST(RequestCheckTest, HeaderFieldsThatCouldForgeOthersAreRefused) {
  EXPECT_TRUE(IsHeaderName("X-API-KEY"));
  EXPECT_TRUE(IsHeaderName("x_custom.thing~1"));
  EXPECT_FALSE(IsHeaderName(""));
  EXPECT_FALSE(IsHeaderName("Bad Name"));
  EXPECT_FALSE(IsHeaderName("Name:"));
  EXPECT_FALSE(IsHeaderName("Name\r\n"));

  EXPECT_TRUE(IsHeaderValue(""));
  EXPECT_TRUE(IsHeaderValue("Bearer abc.def; q=1, \"quoted\""));
  EXPECT_FALSE(IsHeaderValue("a\r\nX-Forged: 1"));
  EXPECT_FALSE(IsHeaderValue("a\nb"));
  EXPECT_FALSE(IsHeaderValue(std::string("a\0b", 3)));
}

TEST(RequestCheckTest, CheckRequestNamesTheProblem) {
  Request request;
  request.url = ImmutableString::CreateStatic("https://example.test/");
  std::string problem;
  EXPECT_TRUE(CheckRequest(request, &problem));

  request.method = ImmutableString::CreateStatic("DELETE");
  EXPECT_FALSE(CheckRequest(request, &problem));
  EXPECT_NE(problem.find("DELETE"), std::string::npos);

  request.method = ImmutableString::CreateStatic("POST");
  request.headers.emplace(ImmutableString::CreateStatic("X-Ok"),
                          ImmutableString::CreateStatic("1\r\n"));
  EXPECT_FALSE(CheckRequest(request, &problem));
  EXPECT_NE(problem.find("X-Ok"), std::string::npos);
  EXPECT_FALSE(CheckRequest(request, nullptr));
}

}  // namespace
}  // namespace zorvnet
