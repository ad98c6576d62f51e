// Template downloads against a loopback stock service: both roads to the package address, the
// redirect, the background transfer, and one completion call on every road.
#include "stock/stock_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/core/debug_database.h"
#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"
#include "host/net/test_call_recorder.h"
#include "stock/shared_download_manager.h"
#include "stock/stock_token_cache.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using testing::MakeTestConnection;
using testing::ReadFile;
using testing::TestStockService;

constexpr const char* kLicensePath = "/prod/Rest/Libraries/1/Content/License";

// What a download's completion was told, and how often.
struct DoneRecorder : zorvnet::testing::CallRecorder<bool> {
  std::shared_ptr<std::function<void(bool)>> Shared() const {
    return std::make_shared<std::function<void(bool)>>(Function());
  }
  bool Succeeded() const { return Arg<0>(); }
};

class StockDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* deployment : {"/prod", "/stage"}) {
      service_.Get(std::string(deployment) + "/Rest/Libraries/Download/([^/]+)/1",
                   [this](const httplib::Request& req, httplib::Response& res) { AnswerDownload(req, res); });
      service_.Get(std::string(deployment) + "/Rest/Libraries/1/Content/License",
                   [this](const httplib::Request& req, httplib::Response& res) { AnswerPurchase(req, res); });
    }
    service_.Get("/purchased/(.+)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_redirect("/files/" + req.matches[1].str() + ".tplx");  // relative, on purpose
    });
    service_.Get("/files/(.+)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("PACKAGE-" + req.matches[1].str(), "application/zip");
    });
    service_.OnTokenFetch(200, R"({"access_token": "fetched"})");
    service_.Start();
    cleartextListener_.Get("/.*", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    cleartextListener_.Start();
    target_ = service_.Temp() / "downloads" / "template.tplx";
  }
  void TearDown() override { ReleaseSharedDownloadManager(); }

  void AnswerDownload(const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.matches[1];
    if (id == "nolocation") {
      res.status = 302;
    } else if (id == "cleartext") {
      res.set_redirect(cleartextListener_.Url("/files/cleartext.tplx"));
    } else {
      res.set_redirect(service_.Url("/files/" + id + ".tplx"));
    }
  }

  void AnswerPurchase(const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.get_param_value("content_id");
    if (id == "none") {
      res.set_content(R"({"contents": {}})", "application/json");
    } else if (id == "garbled") {
      res.set_content("<html>", "text/html");
    } else {
      res.set_content(R"({"contents": {"b": {"purchase_details": {"url": ")" + service_.Url("/purchased/b") +
                          R"("}}, "a": {"purchase_details": {"url": ")" + service_.Url("/purchased/" + id) + R"("}}}})",
                      "application/json");
    }
  }

  // Downloads `id` to target_ and waits for the completion.
  DoneRecorder Download(const std::u16string& id, bool isLicensed, const std::u16string& token = u"host-token") {
    DoneRecorder done;
    DownloadStockTplx(id, zorvcore::FileHelperUtils::StdPathToUTF16(target_), "client", "credential",
                      MakeTestConnection(), isLicensed, done.Shared(), token);
    EXPECT_TRUE(done.WaitForCall());
    return done;
  }

  TestStockService service_;
  zorvnet::testing::TestHttpServer cleartextListener_;  // plain "http:", recording what reaches it
  fs::path target_;
};

// A licensed asset comes from the download endpoint, an unlicensed one is purchased first (without
// the product location) and its first content fetched; the package itself is fetched anonymously: the token never travels to the
// redirect's target.
TEST_F(StockDownloadTest, BothRoadsLandThePackageWithOneCompletionCall) {
  const DoneRecorder licensed = Download(u"42", true);
  EXPECT_TRUE(licensed.Succeeded());  // what lands, byte for byte, is the tool's served tests' to see
  EXPECT_EQ(service_.CountOf(kLicensePath), 0u);
  const auto asked = service_.RequestsTo("/prod/Rest/Libraries/Download/42/1");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_FALSE(asked[0].headers.count("X-PRODUCT-LOCATION"));
  const auto fetched = service_.RequestsTo("/files/42.tplx");
  ASSERT_EQ(fetched.size(), 1u);
  EXPECT_TRUE(fetched[0].Header("Authorization").empty());

  const DoneRecorder unlicensed = Download(u"77", false);
  EXPECT_TRUE(unlicensed.Succeeded());
  const auto purchases = service_.RequestsTo(kLicensePath);
  ASSERT_EQ(purchases.size(), 1u);  // naming the content, which the tool's served service checks
  EXPECT_FALSE(purchases[0].headers.count("X-PRODUCT-LOCATION"));
  EXPECT_EQ(service_.CountOf("/purchased/b"), 0u);  // the first content in name order is fetched
  ReleaseSharedDownloadManager();
  EXPECT_EQ(licensed.Calls(), 1);
  EXPECT_EQ(unlicensed.Calls(), 1);
}

// A download forces a fresh token; the stage setting switches endpoints and key.
TEST_F(StockDownloadTest, ADownloadForcesAFreshTokenAndTheStageSettingSwitchesEndpointsAndKey) {
  SetCachedAccessToken(AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic("cached")));
  zorvcore::DebugDatabase::SetEntry("Graphics.UseStockStage", "true");
  EXPECT_TRUE(Download(u"42", true, u"").Succeeded());
  EXPECT_EQ(service_.CountOf("/ident/stage"), 1u);
  const auto asked = service_.RequestsTo("/stage/Rest/Libraries/Download/42/1");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Header("Authorization"), "Bearer fetched");
  EXPECT_EQ(asked[0].Header("X-API-KEY"), "key-stage");
  EXPECT_TRUE(Download(u"43", false).Succeeded());
  EXPECT_EQ(service_.CountOf("/stage/Rest/Libraries/1/Content/License"), 1u);
  EXPECT_EQ(service_.CountOf(kLicensePath), 0u);
}

// Every road that fails reports false once and keeps a package already there (that nothing is left
// beside it is seen on every failing road of `capsule stock download`). The licence answer and the
// download redirect come from the network: an address in clear text must receive neither the user's
// token and API key nor the package request. (A 200 for the redirect, a refused purchase, a purchase
// naming a clear-text address and a transfer cut half-way are `capsule stock download`'s cases; a cut
// transfer's file is the download manager's.)
TEST_F(StockDownloadTest, EveryFailedRoadReportsFalseOnceAndKeepsTheTarget) {
  struct Case {
    std::u16string id;
    bool isLicensed;
  } cases[] = {
      {u"nolocation", true},  // a redirect without a target
      {u"none", false},       // the purchase names no content
      {u"garbled", false},    // the purchase answer unreadable
      {u"cleartext", true},   // the redirect names a clear-text address
  };
  testing::WriteFile(target_, "old package");
  for (const Case& c : cases) {
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(c.id));
    const DoneRecorder done = Download(c.id, c.isLicensed);
    EXPECT_FALSE(done.Succeeded());
    EXPECT_EQ(done.Calls(), 1);
    EXPECT_EQ(ReadFile(target_), "old package");
  }
  EXPECT_TRUE(cleartextListener_.Requests().empty());
  // Only the unreadable purchase answer is reported, as the licence's.
  service_.ExpectOnlyReport("PurchaseLicense", "License", "JSON not well-formed");
}

TEST_F(StockDownloadTest, WithoutATokenFalseComesBeforeTheCallReturns) {
  DoneRecorder done;
  DownloadStockTplx(u"42", zorvcore::FileHelperUtils::StdPathToUTF16(target_), "client", "", MakeTestConnection(),
                    true, done.Shared(), u"");
  EXPECT_EQ(done.Calls(), 1);  // already, before the call returned
  EXPECT_FALSE(done.Succeeded());
  EXPECT_TRUE(service_.Requests().empty());
  // An empty completion is allowed on every road.
  DownloadStockTplx(u"42", u"", "client", "", MakeTestConnection(), true, nullptr, u"");
}

TEST(ResolveRedirectTargetTest, ResolvesRelativeTargetsAgainstTheAddressThatGaveThem) {
  const std::string from = "https://api.test:8443/Rest/Libraries/Download/42/1?x=y";
  EXPECT_EQ(ResolveRedirectTarget(from, "https://cdn.test/a.tplx"), "https://cdn.test/a.tplx");
  EXPECT_EQ(ResolveRedirectTarget(from, "/files/a.tplx"), "https://api.test:8443/files/a.tplx");
  EXPECT_EQ(ResolveRedirectTarget(from, "//cdn.test/a.tplx"), "https://cdn.test/a.tplx");
  EXPECT_EQ(ResolveRedirectTarget(from, "a.tplx"), "https://api.test:8443/Rest/Libraries/Download/42/a.tplx");
  EXPECT_EQ(ResolveRedirectTarget("https://api.test", "a.tplx"), "https://api.test/a.tplx");
  EXPECT_EQ(ResolveRedirectTarget(from, ""), "");
}

}  // namespace
}  // namespace zorvcapsule
