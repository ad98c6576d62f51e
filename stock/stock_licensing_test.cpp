// Licence information against a loopback stock service. (A purchase is walked by the download's tests.)
#include "stock/stock_licensing.h"

#include <gtest/gtest.h>

#include <string>

#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::MakeTestConnection;
using testing::TestStockService;

constexpr const char* kProfilePath = "/prod/Rest/Libraries/1/Member/Profile";

// What the profile's purchase options give: only "not_possible" forbids a purchase (the tool's licence
// test sees it do so); a checkout is needed only with the entitlement and purchase options present;
// texts come as given. A refused or unreadable answer leaves the record as it was; an unreadable one
// is reported. Every request names asset and locale with the profile location.
TEST(StockLicensingTest, TheRecordFollowsThePurchaseOptionsOfAnAnswerAndOnlyOfAnAnswer) {
  const std::string entitled = R"("available_entitlement": {"is_cce": true, "quota": 3}, )";
  struct Case {
    std::string json;
    bool canPurchase, needsCheckout;
    std::u16string message = u"", url = u"";
    int status = 200;
    const char* error = nullptr;  // the reported error; none when null
  } cases[] = {
      {R"({"purchase_options": {"state": "NOT_POSSIBLE"}})", true, false},
      {R"({})", true, false},
      {"{" + entitled + R"("purchase_options": {"state": "possible"}})", true, true},
      {"{" + entitled + R"("purchase_options": {"requires_checkout": false}})", true, false},
      {"{" + entitled + R"("x": 0})", true, false},  // no purchase options
      {R"({"purchase_options": {"requires_checkout": true}})", true, false},
      {R"({"purchase_options": {"message": "Licen\u00e7a", "url": "https://buy/42"}})", true, false, u"Licen\u00e7a",
       u"https://buy/42"},
      // No answer: the record as it was. 403 stands for any status but success.
      {R"({"purchase_options": {"state": "not_possible"}})", true, true, u"preset", u"preset-url", 403},
      {"<html>", true, true, u"preset", u"preset-url", 200, "JSON not well-formed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    TestStockService service;
    service.Get(kProfilePath, TestStockService::Answer(c.json, c.status));
    service.Start();
    StockAssetLicenseInfo info;  // recognizable values, so that "untouched" shows
    info.canPurchase = info.needsCheckout = true;
    info.message = u"preset";
    info.purchaseURL = u"preset-url";
    GetLicesneInfo(u"42", "client", "credential", MakeTestConnection(), info, u"host-token");
    EXPECT_EQ(info.canPurchase, c.canPurchase);
    EXPECT_EQ(info.needsCheckout, c.needsCheckout);
    EXPECT_EQ(info.message, c.message);
    EXPECT_EQ(info.purchaseURL, c.url);
    service.ExpectOnlyReport("GetLicenseInfo", "GetLicenseInfo", c.error);
    const auto seen = service.RequestsTo(kProfilePath);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, std::string(kProfilePath) + "?content_id=42&locale=en_US");
    EXPECT_EQ(seen[0].Header("X-PRODUCT-LOCATION"), "libraries/2.9");
  }
}

TEST(StockLicensingTest, WithoutATokenNothingIsAskedAndTheRecordIsUntouched) {
  TestStockService service;
  service.Start();
  StockAssetLicenseInfo info;
  info.message = u"preset";
  GetLicesneInfo(u"42", "client", "", MakeTestConnection(), info, u"");
  EXPECT_EQ(info.message, u"preset");
  EXPECT_TRUE(service.Requests().empty());
}

}  // namespace
}  // namespace zorvcapsule
