// `capsule stock search` run as a program against the stock service on loopback: the paged walk,
// what is sent, the identity options, the connection file and the failed answers.
#include <atomic>

#include "tools/stock_identity.h"
#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

using zorvcapsule::testing::SearchHit;
using zorvcapsule::testing::SearchReply;

class StockSearchCommandTest : public StockToolTest {
 protected:
  // A service holding `hits` templates numbered from 0, answering any page of them.
  void ServeHits(int hits) {
    service.OnSearch([hits](const httplib::Request& req, httplib::Response& res) {
      const int offset = std::stoi(req.get_param_value("search_parameters[offset]"));
      const int limit = std::stoi(req.get_param_value("search_parameters[limit]"));
      std::vector<std::string> page;
      for (int id = offset; id < std::min(hits, offset + limit); ++id) page.push_back(SearchHit(id));
      res.set_content(SearchReply(hits, page), "application/json");
    });
  }

  static json::JSONArray& Pages(const json::JSONValuePtr& root) {
    return json::AsArray(json::GetVariantInObject(root, "pages"));
  }
  static json::JSONArray& Entries(const json::JSONValuePtr& page) {
    return json::AsArray(json::GetVariantInObject(page, "entries"));
  }
};

// The connection file, the filter and the words reach each page request of the paged walk, whose
// pages are printed in delivery order.
TEST_F(StockSearchCommandTest, EveryPageIsAskedWithTheConnectionTheFilterAndTheWordsAndPrintedInOrder) {
  ServeHits(250);
  service.Start();
  EXPECT_EQ(Stock({"search", "--filter", "premium"}).status, 2) << "a filter is true or false";
  const ProgramRun run = Stock({"search", "neon", "glow", "--filter", "true", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const json::JSONValuePtr root = ParseObject(run);
  EXPECT_EQ(JsonInt(root, "total"), 250);
  const json::JSONArray& pages = Pages(root);
  ASSERT_EQ(pages.size(), 3u);
  const std::pair<int, size_t> expected[] = {{0, 100}, {100, 100}, {200, 50}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(JsonInt(pages[i], "start"), expected[i].first);
    ASSERT_EQ(Entries(pages[i]).size(), expected[i].second);
    EXPECT_EQ(JsonText(Entries(pages[i]).front(), "path"), std::to_string(expected[i].first));
  }
  const auto seen = service.RequestsTo(kSearchPath);
  ASSERT_EQ(seen.size(), 3u) << "the misused filter asked nothing";
  for (const auto& request : seen) {
    EXPECT_EQ(request.Header("X-API-KEY"), "key-prod");
    EXPECT_EQ(request.Header("X-PRODUCT"), "Editor Pro");
    EXPECT_EQ(request.Header("X-PRODUCT-LOCATION"), "Editor Pro/templates panel");
    EXPECT_EQ(request.Header("Authorization"), "Bearer host-token");
    EXPECT_EQ(request.Param("search_parameters[words]"), "neon glow");
    EXPECT_EQ(request.Param("search_parameters[filters][premium]"), "true");
  }
}

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
  ServeHits(1);
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
  const ProgramRun token = Stock({"search"}, {}, {}, {std::string(kStockTokenVariable) + "=env-token"});
  ASSERT_EQ(token.status, 0) << Describe(token);
  EXPECT_EQ(service.CountOf("/ident/prod"), 0u);
  const ProgramRun credential = Stock({"search"}, {"--client-id", "client-7"}, {},
                                      {std::string(kStockCredentialVariable) + "=user-credential"});
  ASSERT_EQ(credential.status, 0) << Describe(credential);
  const auto fetches = service.RequestsTo("/ident/prod");
  ASSERT_EQ(fetches.size(), 1u);
  EXPECT_EQ(fetches[0].Param("client_id"), "client-7");
  EXPECT_EQ(fetches[0].Param("user_credential"), "user-credential");
  const auto searches = service.RequestsTo(kSearchPath);
  ASSERT_EQ(searches.size(), 2u);
  EXPECT_EQ(searches[0].Header("Authorization"), "Bearer env-token");
  EXPECT_EQ(searches[1].Header("Authorization"), "Bearer fetched");
}

// A page the service did not answer or that cannot be read is not "nothing found": the walk ends,
// and the status says so; an empty answer is.
TEST_F(StockSearchCommandTest, OnlyAnEmptyAnswerIsNothingFound) {
  const struct {
    int httpStatus;
    std::string reply;
    int status;
    const char* problem;
  } cases[] = {{200, "<html>busy</html>", 1, "StockLicense: "},
               {503, "", 1, "did not answer 1 search request (HTTP 503)"},
               {200, SearchReply(0, {}), 0, ""}};
  std::atomic<size_t> current{0};  // read on the server's thread
  service.OnSearch([&](const httplib::Request&, httplib::Response& res) {
    res.status = cases[current].httpStatus;
    if (!cases[current].reply.empty()) res.set_content(cases[current].reply, "application/json");
  });
  service.Start();
  for (const auto& c : cases) {
    current = static_cast<size_t>(&c - cases);
    const ProgramRun run = Stock({"search", "--json"});
    SCOPED_TRACE(Describe(run));
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.problem), std::string::npos);
    const json::JSONValuePtr root = ParseObject(run);
    EXPECT_EQ(JsonInt(root, "total"), 0);
    ASSERT_EQ(Pages(root).size(), 1u);
    EXPECT_TRUE(Entries(Pages(root)[0]).empty());
  }
}

}  // namespace
}  // namespace capsuletool
