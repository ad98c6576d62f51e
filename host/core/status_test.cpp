#include "host/core/status.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvcore {
namespace {

TEST(StatusTest, EachFactoryMakesAFailureOfItsOwnKindOnlyAndContextPrefixesItsMessage) {
  const struct {
    Status status;
    Status::Code code;
    std::string text;
  } cases[] = {
      {Status::NotFound("a"), Status::Code::kNotFound, "NotFound: a"},
      {Status::Corruption("b"), Status::Code::kCorruption, "Corruption: b"},
      {Status::NotSupported("c"), Status::Code::kNotSupported, "Not supported: c"},
      {Status::InvalidArgument("d"), Status::Code::kInvalidArgument, "Invalid argument: d"},
      {Status::IOError("e"), Status::Code::kIOError, "IO error: e"},
      {Status::Busy("f"), Status::Code::kBusy, "Busy: f"},
      {Status::Unavailable("g"), Status::Code::kUnavailable, "Unavailable: g"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_FALSE(c.status.ok());
    EXPECT_EQ(c.status.code(), c.code);
    EXPECT_EQ(c.status.ToString(), c.text);
    const int kinds = c.status.IsNotFound() + c.status.IsCorruption() + c.status.IsNotSupported() +
                      c.status.IsInvalidArgument() + c.status.IsIOError() + c.status.IsBusy() +
                      c.status.IsUnavailable();
    EXPECT_EQ(kinds, 1);
  }
  // Context goes before a failure's message and leaves a success alone.
  EXPECT_EQ(Status::IOError("disk full").WithContext("index \"x\": ").ToString(),
            "IO error: index \"x\": disk full");
  const Status ok = Status().WithContext("ignored");
  EXPECT_TRUE(ok.ok());
  EXPECT_EQ(ok.ToString(), "OK");
  EXPECT_TRUE(ok.message().empty());
}

}  // namespace
}  // namespace zorvcore
