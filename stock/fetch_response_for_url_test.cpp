// The anonymous GET and its 5000 ms limit. One test waits out the limit, so it takes about 5 s.
#include "stock/fetch_response_for_url.h"

#include <gtest/gtest.h>

#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::TestStockService;

// An empty address starts no request; a usable one is asked without the stock service's headers.
// (Unusable addresses are refused by the network layer; its tests and the request pattern's pin that.)
TEST(FetchResponseForURLTest, SendsNoHeadersOfTheStockServiceAndReturnsTheAnswer) {
  EXPECT_EQ(FetchResponseForURL(""), nullptr);
  TestStockService service;
  service.Get("/file", [](const httplib::Request&, httplib::Response& res) { res.set_content("body", "text/plain"); });
  service.Start();

  const auto response = FetchResponseForURL(service.Url("/file"));
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "body");
  const auto seen = service.RequestsTo("/file");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Header("Authorization").empty());
  EXPECT_TRUE(seen[0].Header("X-API-KEY").empty());
}

TEST(FetchResponseForURLTest, AnAnswerHeldPastTheLimitIsCancelled) {
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
