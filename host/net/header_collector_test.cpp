#include "host/net/header_collector.h"

#include <gtest/gtest.h>

#include <string>

#include "host/net/configuration.h"

namespace zorvnet {
namespace {

TEST(HeaderCollectorTest, ReadsFieldsTrimmedAndLooksThemUpWithoutCase) {
  HeaderCollector collector;
  EXPECT_TRUE(collector.AddLine("HTTP/1.1 200 OK\r\n"));
  EXPECT_TRUE(collector.AddLine("Content-Type:  text/plain \r\n"));
  EXPECT_TRUE(collector.AddLine("X-Empty:\r\n"));
  EXPECT_TRUE(collector.AddLine("Location: https://h/a:b?c=d\r\n"));
  for (const char* cookie : {"Set-Cookie: a=1\r\n", "set-cookie: b=2\r\n", "SET-COOKIE: c=3\r\n"}) {
    EXPECT_TRUE(collector.AddLine(cookie));
  }
  EXPECT_TRUE(collector.AddLine("\r\n"));

  const HeaderMap& headers = collector.Headers();
  ASSERT_EQ(headers.size(), 6u);
  EXPECT_EQ(headers.find("content-type")->second, "text/plain");
  EXPECT_EQ(headers.find("CONTENT-TYPE")->first, "Content-Type");  // the server's spelling kept
  EXPECT_EQ(headers.find("x-empty")->second, "");
  EXPECT_EQ(headers.find("location")->second, "https://h/a:b?c=d");  // split at the first colon
  const auto [first, last] = headers.equal_range("Set-Cookie");
  std::string values;
  for (auto it = first; it != last; ++it) values += it->second.str() + ";";
  EXPECT_EQ(values, "a=1;b=2;c=3;");  // repeated fields keep their order
}

// A status line starts a fresh answer; folded lines continue the value and stray lines are ignored.
TEST(HeaderCollectorTest, StatusLineStartsAFreshAnswerAndFoldedLinesContinueTheValue) {
  HeaderCollector collector;
  for (const char* line : {"HTTP/1.1 302 Found\r\n", "Location: /next\r\n", "\r\n", "HTTP/2 200\r\n",
                           "  orphan continuation\r\n", "X-Long: first\r\n", "\t second\r\n", "no colon here\r\n",
                           ": no name\r\n"}) {
    collector.AddLine(line);
  }
  const HeaderMap headers = collector.TakeHeaders();
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers.find("x-long")->second, "first second");
  EXPECT_TRUE(collector.Headers().empty());
}

TEST(HeaderCollectorTest, HeaderBlockBeyondTheLimitIsRefused) {
  HeaderCollector collector;
  const std::string line = "X-Filler: " + std::string(1000, 'f') + "\r\n";
  int64_t added = 0;
  while (collector.AddLine(line)) {
    added += static_cast<int64_t>(line.size());
    ASSERT_LE(added, kMaxHeaderBytes);
  }
  EXPECT_GT(added + static_cast<int64_t>(line.size()), kMaxHeaderBytes);

  // A new answer starts with a fresh allowance.
  EXPECT_TRUE(collector.AddLine("HTTP/1.1 200 OK\r\n"));
  EXPECT_TRUE(collector.AddLine(line));
}

}  // namespace
}  // namespace zorvnet
