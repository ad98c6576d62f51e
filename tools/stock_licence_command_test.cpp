// `capsule stock licence` run as a program against the member-profile endpoint on loopback.
#include <string>

#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

constexpr const char* kProfilePath = "/prod/Rest/Libraries/1/Member/Profile";

class StockLicenceCommandTest : public StockToolTest {
 protected:
  void AnswerProfile(const std::string& body, int status = 200) {
    service.Get(kProfilePath, [=](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "application/json");
    });
    service.Start();
  }
};

TEST_F(StockLicenceCommandTest, TheJSONFormHoldsTheFourAnswers) {
  AnswerProfile(R"({"available_entitlement": {"is_cce": true},
      "purchase_options": {"state": "possible", "requires_checkout": true, "message": "Buy it",
                           "url": "https://buy.example/42"}})");
  const ProgramRun run = Stock({"licence", "42", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const json::JSONValuePtr root = ParseObject(run);
  EXPECT_EQ(json::AsObject(root).size(), 4u);
  EXPECT_TRUE(json::AsBool(json::GetVariantInObject(root, "canPurchase")));
  EXPECT_TRUE(json::AsBool(json::GetVariantInObject(root, "needsCheckout")));
  EXPECT_EQ(json::AsString(json::GetVariantInObject(root, "message")), "Buy it");
  EXPECT_EQ(json::AsString(json::GetVariantInObject(root, "purchaseURL")), "https://buy.example/42");
  const auto seen = service.RequestsTo(kProfilePath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Param("content_id"), "42");
  EXPECT_EQ(seen[0].Header("Authorization"), "Bearer host-token");
}

TEST_F(StockLicenceCommandTest, AnAnswerWithEmptyTextsIsStillAnAnswer) {
  AnswerProfile(R"({"purchase_options": {"state": "not_possible", "message": ""}})");
  const ProgramRun run = Stock({"licence", "42"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_EQ(lines[0], "Asset 42");
  EXPECT_NE(lines[1].find("can purchase:"), std::string::npos);
  EXPECT_NE(lines[1].find("no"), std::string::npos);
  EXPECT_NE(lines[4].find("purchase URL:"), std::string::npos);
  EXPECT_NE(lines[4].find("-"), std::string::npos);
}

TEST_F(StockLicenceCommandTest, AServiceErrorIsNoAnswerAndPrintsNothing) {
  AnswerProfile("{}", 500);
  const ProgramRun run = Stock({"licence", "42", "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_TRUE(run.out.empty()) << run.out;
  EXPECT_NE(run.err.find("no licence information (HTTP 500)"), std::string::npos) << run.err;
}

TEST_F(StockLicenceCommandTest, AnUnreadableReplyIsReportedAsNoAnswer) {
  AnswerProfile("<html>");
  const ProgramRun run = Stock({"licence", "42"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find("StockLicense: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("(the reply could not be read)"), std::string::npos) << run.err;
}

TEST_F(StockLicenceCommandTest, TheStageSettingAsksTheStageProfile) {
  service.Get("/stage/Rest/Libraries/1/Member/Profile", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"purchase_options": {"state": "possible"}})", "application/json");
  });
  service.Start();
  const ProgramRun run = Stock({"licence", "42", "--json"}, {"--token", "t"}, {"Graphics.UseStockStage=true"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const auto seen = service.RequestsTo("/stage/Rest/Libraries/1/Member/Profile");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Header("X-API-KEY"), "key-stage");
}

}  // namespace
}  // namespace capsuletool
