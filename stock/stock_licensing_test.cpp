// Licence information and purchase against a loopback stock service.
#include "stock/stock_licensing.h"

#include <gtest/gtest.h>

#include <string>

#include "host/core/debug_database.h"
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
  for (const char* path : {kProfilePath, "/stage/Rest/Libraries/1/Member/Profile"}) {
    service.Get(path, [=](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(json, "application/json");
    });
  }
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

TEST(StockLicensingTest, TheProfileRequestNamesAssetAndLocaleWithTheProfileLocation) {
  TestStockService service;
  InfoFrom(service, R"({"purchase_options": {"state": "possible"}})");
  const auto seen = service.RequestsTo(kProfilePath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].target, std::string(kProfilePath) + "?content_id=42&locale=en_US");
  EXPECT_EQ(seen[0].Header("X-API-KEY"), "key-prod");
  EXPECT_EQ(seen[0].Header("X-PRODUCT"), "Editor Pro");
  EXPECT_EQ(seen[0].Header("X-PRODUCT-LOCATION"), "libraries/2.9");
  EXPECT_EQ(seen[0].Header("Authorization"), "Bearer host-token");
}

TEST(StockLicensingTest, OnlyNotPossibleForbidsAPurchase) {
  EXPECT_FALSE(InfoFor(R"({"purchase_options": {"state": "not_possible"}})").canPurchase);
  EXPECT_TRUE(InfoFor(R"({"purchase_options": {"state": "possible"}})").canPurchase);
  EXPECT_TRUE(InfoFor(R"({"purchase_options": {"state": ""}})").canPurchase);
  EXPECT_TRUE(InfoFor(R"({"purchase_options": {"state": "NOT_POSSIBLE"}})").canPurchase);
  EXPECT_TRUE(InfoFor(R"({})").canPurchase);
}

TEST(StockLicensingTest, ACheckoutIsNeededOnlyWithTheEntitlementAndPresentOptions) {
  const char* entitled = R"("available_entitlement": {"is_cce": true, "quota": 3})";
  EXPECT_TRUE(InfoFor(std::string("{") + entitled + R"(, "purchase_options": {"state": "possible"}})").needsCheckout);
  EXPECT_TRUE(InfoFor(std::string("{") + entitled + R"(, "purchase_options": {"requires_checkout": true}})")
                  .needsCheckout);
  EXPECT_FALSE(InfoFor(std::string("{") + entitled + R"(, "purchase_options": {"requires_checkout": false}})")
                   .needsCheckout);
  EXPECT_FALSE(InfoFor(std::string("{") + entitled + "}").needsCheckout);  // no purchase options
  EXPECT_FALSE(InfoFor(R"({"purchase_options": {"requires_checkout": true}})").needsCheckout);
}

TEST(StockLicensingTest, MessageAndPurchaseAddressComeAsGiven) {
  StockAssetLicenseInfo info =
      InfoFor(R"({"purchase_options": {"message": "Licen\u00e7a", "url": "https://buy/42"}})");
  EXPECT_EQ(info.message, u"Licen\u00e7a");
  EXPECT_EQ(info.purchaseURL, u"https://buy/42");
  info = InfoFor(R"({"purchase_options": {"state": "possible", "url": ""}})");
  EXPECT_TRUE(info.purchaseURL.empty());
  EXPECT_TRUE(info.message.empty());
}

TEST(StockLicensingTest, WithoutAnAnswerTheRecordIsUntouched) {
  for (const auto& [json, status] : std::vector<std::pair<std::string, int>>{
           {R"({"purchase_options": {"state": "not_possible"}})", 500},
           {R"({"purchase_options": {"state": "not_possible"}})", 403},
           {"not json", 200},
           {R"({"purchase_options": "none"})", 200},
       }) {
    const StockAssetLicenseInfo info = InfoFor(json, status);
    EXPECT_TRUE(info.canPurchase) << json;
    EXPECT_EQ(info.message, u"preset") << json;
    EXPECT_EQ(info.purchaseURL, u"preset-url") << json;
  }
}

TEST(StockLicensingTest, AnUnreadableProfileIsReportedAsTheLicenceInformation) {
  TestStockService service;
  InfoFrom(service, "<html>");
  const auto reports = service.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].source, "StockLicense");
  EXPECT_EQ(reports[0].function, "zorvcapsule::GetLicenseInfo");
  EXPECT_EQ(reports[0].message,
            "Exception caught in StockSource::GetLicenseInfo with error JSON not well-formed\r\n");
}

TEST(StockLicensingTest, WithoutATokenNothingIsAsked) {
  TestStockService service;
  service.Start();
  StockAssetLicenseInfo info;
  info.message = u"preset";
  GetLicesneInfo(u"42", "client", "", MakeTestConnection(), info, u"");
  EXPECT_EQ(info.message, u"preset");
  EXPECT_TRUE(service.Requests().empty());
}

TEST(StockLicensingTest, TheStageSettingSwitchesEndpointAndKey) {
  TestStockService service;
  zorvcore::DebugDatabase::SetEntry("Graphics.UseStockStage", "true");
  const StockAssetLicenseInfo info = InfoFrom(service, R"({"purchase_options": {"state": "not_possible"}})");
  EXPECT_FALSE(info.canPurchase);
  const auto seen = service.RequestsTo("/stage/Rest/Libraries/1/Member/Profile");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Header("X-API-KEY"), "key-stage");
  EXPECT_TRUE(service.RequestsTo(kProfilePath).empty());
}

TEST(StockLicensingTest, APurchaseReadsTheLicensedContentsInNameOrder) {
  TestStockService service;
  service.Get(kLicensePath, [](const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"contents": {
        "b": {"content_id": "2", "purchase_details": {"url": "https://cdn/b"}},
        "a": {"content_id": "1", "size": "big", "purchase_details": {"state": "purchased", "license": "Standard",
              "date": "today", "url": "https://cdn/a", "content_type": "application/zip", "width": 1920,
              "height": 1080, "duration": 5}}}})",
                    "application/json");
  });
  service.Start();
  const auto token = AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic("tok"));
  LicenseResponse contents;
  ASSERT_TRUE(PurchaseLicense(u"42", *token, MakeTestConnection(), contents));
  ASSERT_EQ(contents.contents.size(), 2u);
  const LicenseContent& first = contents.contents.begin()->second;
  EXPECT_EQ(contents.contents.begin()->first, "a");
  EXPECT_EQ(first.content_id, "1");
  EXPECT_EQ(first.size, "big");
  EXPECT_EQ(first.purchase_details.state, "purchased");
  EXPECT_EQ(first.purchase_details.license, "Standard");
  EXPECT_EQ(first.purchase_details.date, "today");
  EXPECT_EQ(first.purchase_details.url, "https://cdn/a");
  EXPECT_EQ(first.purchase_details.content_type, "application/zip");
  EXPECT_EQ(first.purchase_details.width, 1920);
  EXPECT_EQ(first.purchase_details.duration, 5);

  const auto seen = service.RequestsTo(kLicensePath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].target, std::string(kLicensePath) + "?content_id=42");
  EXPECT_EQ(seen[0].Header("Authorization"), "Bearer tok");
  EXPECT_FALSE(seen[0].headers.count("X-PRODUCT-LOCATION"));

  EXPECT_FALSE(PurchaseLicense(u"42", *token, nullptr, contents));
}

}  // namespace
}  // namespace zorvcapsule
