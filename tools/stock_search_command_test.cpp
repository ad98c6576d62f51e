// `capsule stock search` run as a program against the stock service on loopback: the pinned output,
// the identity options, the connection file and an unreadable answer. (The paged walk, the words and
// the filter are run against the served stock in stock_serve_command_test.cpp.)
#include "tools/stock_identity.h"
#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

using zorvcapsule::testing::SearchHit;
using zorvcapsule::testing::SearchReply;

using StockSearchCommandTest = StockToolTest;

// An entry carries the catalogue's members and the stock ones, as pinned in tools/testdata; the
// table lists each template and the count.
TEST_F(StockSearchCommandTest, TheJSONAndTheTableOfAPageAreUnchanged) {
  const std::string reply = SearchReply(2, {SearchHit(101, R"("creator_name": "Ann", "width": 1920, "height": 1080,
      "premium_level_id": 2, "video_preview_url": "https://cdn.example/p.mp4", "is_licensed": "Standard")"),
                                            SearchHit(8)});
  service.OnSearch(
      [&](const httplib::Request&, httplib::Response& res) { res.set_content(reply, "application/json"); });
  service.Start();
  for (const char* form : {"json", "txt"}) {
    SCOPED_TRACE(form);
    const ProgramRun run = form == std::string("json") ? Stock({"search", "--json"}) : Stock({"search", "bold"});
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.out, TestData(std::string("stock_search.") + form));
  }
}

// A connection file that cannot be read, or no token and no credential, stops the command before
// any request; a token from the environment is used as it is, a credential from there is exchanged.
TEST_F(StockSearchCommandTest, TheIdentityComesFromTheConnectionFileTheOptionsOrTheEnvironment) {
  service.OnSearch([](const httplib::Request&, httplib::Response& res) {
    res.set_content(SearchReply(1, {SearchHit(0)}), "application/json");
  });
  service.OnTokenFetch(200, R"({"access_token": "fetched", "expires_in": 86400})");
  service.Start();
  const ProgramRun none = Stock({"search", "title"}, {});
  EXPECT_EQ(none.status, 1) << Describe(none);
  EXPECT_NE(none.err.find("needs an access token or a user credential"), std::string::npos) << none.err;
  EXPECT_TRUE(none.out.empty());
  const std::pair<const char*, const char*> files[] = {
      {"[1, 2]", "not a JSON object"},
      {"{\"product\": ", "not a JSON object"},
      {R"({"apiKeyProduction": 5})", "\"apiKeyProduction\" must be a text"},
      {R"({"templateTypeId": "7"})", "\"templateTypeId\" must be a 32-bit integer"},
      {R"({"templateTypeId": 4294967296})", "\"templateTypeId\" must be a 32-bit integer"},
      {R"({"apiKey": "key"})", "unknown member \"apiKey\""},
      {nullptr, ""},  // no file at all
  };
  for (const auto& [text, problem] : files) {
    if (text) WriteText("connection.json", text);
    if (!text) fs::remove(Path("connection.json"));
    const ProgramRun run = Stock({"search"});
    EXPECT_EQ(run.status, 1) << (text ? text : "no file") << "\n" << Describe(run);
    EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
  }
  EXPECT_TRUE(service.Requests().empty());

  WriteText("connection.json", TestData("connection.json"));
  const ProgramRun token = Stock({"search"}, {}, {std::string(kStockTokenVariable) + "=env-token"});
  ASSERT_EQ(token.status, 0) << Describe(token);
  EXPECT_EQ(service.CountOf("/ident/prod"), 0u);
  const ProgramRun credential = Stock({"search"}, {"--client-id", "client-7"},
                                      {std::string(kStockCredentialVariable) + "=user-credential"});
  ASSERT_EQ(credential.status, 0) << Describe(credential);  // (the served identity checks what is sent)
  const auto searches = service.RequestsTo(kSearchPath);
  ASSERT_EQ(searches.size(), 2u);
  EXPECT_EQ(searches[0].Header("Authorization"), "Bearer env-token");
  // The record's members reach the headers (the served tests check the keys, not these).
  EXPECT_EQ(searches[0].Header("X-PRODUCT"), "Editor Pro");
  EXPECT_EQ(searches[0].Header("X-PRODUCT-LOCATION"), "Editor Pro/templates panel");
  EXPECT_EQ(searches[1].Header("Authorization"), "Bearer fetched");
}

// A page that cannot be read is not "nothing found": the walk ends, and the status says so. (A page
// not answered, and an empty answer, are walked by the served stock tests.)
TEST_F(StockSearchCommandTest, AnUnreadableAnswerIsNotNothingFound) {
  service.OnSearch([](const httplib::Request&, httplib::Response& res) {
    res.set_content("<html>busy</html>", "application/json");
  });
  service.Start();
  const ProgramRun run = Stock({"search", "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_NE(run.err.find("StockLicense: "), std::string::npos) << run.err;
  const json::JSONValuePtr root = ParseObject(run);
  EXPECT_EQ(JsonInt(root, "total"), 0);
  const json::JSONArray& pages = json::AsArray(json::GetVariantInObject(root, "pages"));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(json::AsArray(json::GetVariantInObject(pages[0], "entries")).empty());
}

}  // namespace
}  // namespace capsuletool
