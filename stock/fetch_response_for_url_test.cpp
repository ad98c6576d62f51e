// The anonymous GET and its 5000 ms limit. The test waits out the limit, so it takes about 5 s.
// (That a GET carries none of the stock service's headers is seen in the stock source's thumbnail
// test; unusable addresses are refused by the network layer, as its tests and the request pattern's pin.)
#include "stock/fetch_response_for_url.h"

#include <gtest/gtest.h>

#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::TestStockService;

TEST(FetchResponseForURLTest, AnEmptyAddressStartsNothingAndAnAnswerHeldPastTheLimitIsCancelled) {
  EXPECT_EQ(FetchResponseForURL(""), nullptr);
  TestStockService service;
  service.HoldGet("/slow");
  service.Start();
  const auto response = FetchResponseForURL(service.Url("/slow"));
  EXPECT_TRUE(service.WaitUntilHeld(1));
  service.Release();
  ASSERT_NE(response, nullptr);
  EXPECT_FALSE(response->IsSuccess());
  EXPECT_EQ(response->Error(), zorvnet::RequestError::kCancelled);
}

}  // namespace
}  // namespace zorvcapsule
