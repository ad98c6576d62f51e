#include "host/net/response.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zorvnet {
namespace {

using zorvcore::ImmutableString;

std::shared_ptr<const RecycledMemory> Bytes(const std::string& text) {
  return RecycledMemory::Fill(text.size(), [&](uint8_t* bytes, size_t size) {
    std::memcpy(bytes, text.data(), size);
    return true;
  });
}

TEST(ResponseTest, ACompletedResponseAnswersHeaderLookupsWithoutCaseAndAFailedOneHasAnEmptyBody) {
  HeaderMap headers{{ImmutableString::CreateStatic("Location"), ImmutableString::CreateStatic("/a")},
                    {ImmutableString::CreateStatic("location"), ImmutableString::CreateStatic("/b")}};
  const auto response = Response::Completed(302, headers, Bytes(std::string("a\0b\xff", 4)),
                                            ImmutableString::CreateStatic("https://h/x"));

  EXPECT_EQ(response->GetHeader("LOCATION"), "/a");
  EXPECT_FALSE(response->HasHeader("Locations"));
  EXPECT_EQ(response->GetHeader("Content-Type"), "");
  EXPECT_EQ(response->GetPayloadAsUTF8String(), std::string("a\0b\xff", 4));  // every byte kept

  // A failed response has an empty body, not a missing one, and names its error.
  const auto failed = Response::Failed(RequestError::kTimedOut, "took too long");
  ASSERT_NE(failed->Payload(), nullptr);
  EXPECT_EQ(failed->Payload()->Size(), 0u);
  EXPECT_EQ(failed->ErrorDetail(), "took too long");
  EXPECT_STREQ(RequestErrorName(failed->Error()), "timed out");
}

}  // namespace
}  // namespace zorvnet
