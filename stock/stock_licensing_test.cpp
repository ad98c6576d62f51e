// Licence information and purchase against a loopback stock service.
#include "stock/stock_licensing.h"

#include <gtest/gtest.h>

#include <string>

#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::MakeTestConnection;
using testing::TestStockService;

constexpr const char* kProfilePath = "/prod/Rest/Libraries/1/Member/Profile";
constexpr const char* kLicensePath = "/prod/Rest/Libraries/1/Content/License";

// Licence information for asset 42 when the member profile answers `json` with `status`; `info`
// starts with recognizable values so that "untouched" shows.
StockAssetLicenseInfo InfoFrom(TestStockService& service, const std::string& json, int status = 200) {
  service.Get(kProfilePath, [=](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(json, "application/json");
  });
  service.Start();
  StockAssetLicenseInfo info;
  info.canPurchase = true;
  info.needsCheckout = true;
  info.message = u"preset";
  info.purchaseURL = u"preset-url";
  GetLicesneInfo(u"42", "client", "credential", MakeTestConnection(), info, u"host-token");
  return info;
}

StockAssetLicenseInfo InfoFor(const std::string& json, int status = 200) {
  TestStockService service;
  return InfoFrom(service, json, status);
}

// The profile request names asset and locale with the profile location; without a token nothing is asked.
TEST(StockLicensingTest, TheProfileRequestNamesAssetAndLocaleWithTheProfileLocation) {
  TestStockService service;
  InfoFrom(service, R"({"purchase_options": {"state": "possible"}})");
  const auto seen = service.RequestsTo(kProfilePath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].target, std::string(kProfilePath) + "?content_id=42&locale=en_US");
  EXPECT_EQ(seen[0].Header("X-PRODUCT-LOCATION"), "libraries/2.9");

  internal::ClearCachedAccessTokenForTesting();  // the request above cached the host's token
  StockAssetLicenseInfo info;
  info.message = u"preset";
  GetLicesneInfo(u"42", "client", "", MakeTestConnection(), info, u"");
  EXPECT_EQ(info.message, u"preset");
  EXPECT_EQ(service.Requests().size(), 1u);
}

// What the profile's purchase options give: only "not_possible" forbids a purchase; a checkout is
// needed only with the entitlement and purchase options present; texts come as given.
TEST(StockLicensingTest, TheRecordFollowsThePurchaseOptions) {
  const std::string entitled = R"("available_entitlement": {"is_cce": true, "quota": 3}, )";
  struct Case {
    std::string json;
    bool canPurchase, needsCheckout;
    std::u16string message = u"", url = u"";
  } cases[] = {
      {R"({"purchase_options": {"state": "not_possible"}})", false, false},
      {R"({"purchase_options": {"state": "NOT_POSSIBLE"}})", true, false},
      {R"({})", true, false},
      {"{" + entitled + R"("purchase_options": {"state": "possible"}})", true, true},
      {"{" + entitled + R"("purchase_options": {"requires_checkout": false}})", true, false},
      {"{" + entitled + R"("x": 0})", true, false},  // no purchase options
      {R"({"purchase_options": {"requires_checkout": true}})", true, false},
      {R"({"purchase_options": {"message": "Licen\u00e7a", "url": "https://buy/42"}})", true, false, u"Licen\u00e7a",
       u"https://buy/42"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    const StockAssetLicenseInfo info = InfoFor(c.json);
    EXPECT_EQ(info.canPurchase, c.canPurchase);
    EXPECT_EQ(info.needsCheckout, c.needsCheckout);
    EXPECT_EQ(info.message, c.message);
    EXPECT_EQ(info.purchaseURL, c.url);
  }
}

// A refused or unreadable answer leaves the record as it was; an unreadable one is reported.
TEST(StockLicensingTest, WithoutAnAnswerTheRecordIsUntouched) {
  struct Case {
    std::string json;
    int status;
    const char* error;  // the reported error; none when null
  } cases[] = {
      {R"({"purchase_options": {"state": "not_possible"}})", 403, nullptr},  // as any status but success
      {"<html>", 200, "JSON not well-formed"},
      {R"({"purchase_options": "none"})", 200, "bad cast"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    TestStockService service;
    const StockAssetLicenseInfo info = InfoFrom(service, c.json, c.status);
    EXPECT_TRUE(info.canPurchase);
    EXPECT_EQ(info.message, u"preset");
    EXPECT_EQ(info.purchaseURL, u"preset-url");
    service.ExpectOnlyReport("GetLicenseInfo", "GetLicenseInfo", c.error);
  }
}

// A purchase sends no product location, and needs a connection. (Which content's
// address the download fetches, the first in name order, is seen in the download's tests.)
TEST(StockLicensingTest, APurchaseSendsNoProductLocationAndNeedsAConnection) {
  TestStockService service;
  service.Get(kLicensePath, [](const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"contents": {"a": {"purchase_details": {"url": "https://cdn/a"}}}})", "application/json");
  });
  service.Start();
  const auto token = AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic("tok"));
  LicenseResponse contents;
  ASSERT_TRUE(PurchaseLicense(u"42", *token, MakeTestConnection(), contents));
  EXPECT_EQ(contents.contents.at("a").purchase_details.url, "https://cdn/a");
  const auto seen = service.RequestsTo(kLicensePath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(seen[0].headers.count("X-PRODUCT-LOCATION"));

  EXPECT_FALSE(PurchaseLicense(u"42", *token, nullptr, contents));
}

}  // namespace
}  // namespace zorvcapsule
