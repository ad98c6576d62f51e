// `capsule stock licence` run as a program against the member-profile endpoint on loopback.

#include <map>

#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

constexpr const char* kProfilePath = "/prod/Rest/Libraries/1/Member/Profile";

// The profile answers by asset: 42 in full, 43 with empty texts, 44 refused, 45 unreadable.
TEST_F(StockToolTest, StockLicencePrintsAnAnswerAndOnlyAnAnswer) {
  const std::map<std::string, std::pair<int, std::string>> answers = {
      {"42", {200, R"({"available_entitlement": {"is_cce": true}, "purchase_options": {"state": "possible",
          "requires_checkout": true, "message": "Buy it", "url": "https://buy.example/42"}})"}},
      {"43", {200, R"({"purchase_options": {"state": "not_possible", "message": ""}})"}},
      {"44", {500, "{}"}},
      {"45", {200, "<html>"}}};
  service.Get(kProfilePath, [&](const httplib::Request& req, httplib::Response& res) {
    const auto& [status, body] = answers.at(req.get_param_value("content_id"));
    res.status = status;
    res.set_content(body, "application/json");
  });
  service.Start();

  const ProgramRun full = Stock({"licence", "42", "--json"});
  ASSERT_EQ(full.status, 0) << Describe(full);
  EXPECT_EQ(full.out, R"({
  "canPurchase": true,
  "message": "Buy it",
  "needsCheckout": true,
  "purchaseURL": "https://buy.example/42"
}
)");

  // Empty texts are still an answer, printed as "-" (no text is kept aside to mean "no answer").
  const ProgramRun empty = Stock({"licence", "43"});
  ASSERT_EQ(empty.status, 0) << Describe(empty);
  const std::vector<std::string> lines = Lines(empty.out);
  ASSERT_EQ(lines.size(), 5u) << empty.out;
  EXPECT_EQ(lines[0], "Asset 43");
  EXPECT_THAT(lines[1], ::testing::MatchesRegex(" *can purchase: +no"));
  EXPECT_THAT(lines[4], ::testing::MatchesRegex(" *purchase URL: +-"));

  for (const auto& [id, problem] : {std::pair<std::string, std::string>{"44", "no licence information (HTTP 500)"},
                                    {"45", "StockLicense: "},
                                    {"45", "(the reply could not be read)"}}) {
    const ProgramRun run = Stock({"licence", id, "--json"});
    EXPECT_EQ(run.status, 1) << Describe(run);
    EXPECT_EQ(run.out, "") << "no answer prints nothing";
    EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace capsuletool
