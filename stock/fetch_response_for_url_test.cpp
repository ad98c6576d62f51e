// The anonymous GET and its 5000 ms limit. One test waits out the limit, so it takes about 5 s.
#include "stock/fetch_response_for_url.h"

#include <gtest/gtest.h>

#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::TestStockService;

// An empty or unusable address starts no request; a usable one is asked without the stock service's
// headers, and its answer comes back as it came.
TEST(FetchResponseForURLTest, SendsNoHeadersOfTheStockServiceAndReturnsTheAnswerAsItCame) {
  EXPECT_EQ(FetchResponseForURL(""), nullptr);
  EXPECT_EQ(FetchResponseForURL("file:///etc/passwd"), nullptr);
  EXPECT_EQ(FetchResponseForURL("not a url"), nullptr);
  TestStockService service;
  service.Get("/file", [](const httplib::Request&, httplib::Response& res) { res.set_content("body", "text/plain"); });
  service.Get("/gone", [](const httplib::Request&, httplib::Response& res) { res.status = 410; });
  service.Start();

  const auto response = FetchResponseForURL(service.Url("/file"));
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->StatusCode(), 200);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "body");
  const auto seen = service.RequestsTo("/file");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Header("Authorization").empty());
  EXPECT_TRUE(seen[0].Header("X-API-KEY").empty());

  const auto gone = FetchResponseForURL(service.Url("/gone"));
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(gone->StatusCode(), 410);
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
