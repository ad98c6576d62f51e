// `capsule stock search` run as a program against the stock service on loopback: the paged walk,
// what is sent, the identity options, the connection file, thumbnails and previews.
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "tools/stock_identity.h"
#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;

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
  void ServeReply(const std::string& reply) {
    service.OnSearch([reply](const httplib::Request&, httplib::Response& res) {
      res.set_content(reply, "application/json");
    });
  }

  static json::JSONArray& Pages(const json::JSONValuePtr& root) {
    return json::AsArray(json::GetVariantInObject(root, "pages"));
  }
  static json::JSONArray& Entries(const json::JSONValuePtr& page) {
    return json::AsArray(json::GetVariantInObject(page, "entries"));
  }
};

TEST_F(StockSearchCommandTest, EveryPageOfThePagedWalkIsPrintedInDeliveryOrder) {
  ServeHits(250);
  service.Start();
  const ProgramRun run = Stock({"search", "title", "--json"});
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
  EXPECT_EQ(service.CountOf(kSearchPath), 3u);
}

TEST_F(StockSearchCommandTest, EntriesCarryTheCatalogueMembersAndTheStockOnes) {
  ServeReply(SearchReply(1, {SearchHit(101, R"("creator_name": "Ann", "width": 1920, "height": 1080, "premium_level_id": 2,
      "video_preview_url": "https://cdn.example/p.mp4", "is_licensed": "Standard")")}));
  service.Start();
  const ProgramRun run = Stock({"search", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const json::JSONValuePtr entry = Entries(Pages(ParseObject(run)).at(0)).at(0);
  for (const char* member : {"name", "path", "ids", "sourceID", "libraryID", "capsuleID", "description", "authorApp",
                             "requiresQuazel", "state", "fileSize", "frameWidth", "frameHeight", "durationMs", "tags",
                             "usedFonts", "videoPreviewPath", "modifiedTime"}) {
    EXPECT_TRUE(json::ObjectHasProperty(entry, member)) << member;
  }
  EXPECT_FALSE(json::ObjectHasProperty(entry, "thumbnailPath"));
  EXPECT_EQ(JsonText(entry, "name"), "Template 101");
  EXPECT_EQ(JsonInt(entry, "frameWidth"), 1920);
  EXPECT_EQ(JsonInt(entry, "premiumLevel"), 2);
  EXPECT_EQ(JsonText(entry, "videoPreviewURL"), "https://cdn.example/p.mp4");
  EXPECT_TRUE(json::AsBool(json::GetVariantInObject(entry, "isLicensed")));
  EXPECT_EQ(JsonText(entry, "creator"), "Ann");
  EXPECT_FALSE(json::AsBool(json::GetVariantInObject(entry, "descriptionLoaded")));
  EXPECT_EQ(JsonText(entry, "videoPreviewPath"), "");
}

TEST_F(StockSearchCommandTest, TheTableListsEachTemplateAndTheCount) {
  ServeReply(SearchReply(2, {SearchHit(7, R"("creator_name": "Ann")"), SearchHit(8)}));
  service.Start();
  const ProgramRun run = Stock({"search", "bold"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  EXPECT_EQ(lines[0].rfind("ID", 0), 0u);
  EXPECT_NE(lines[1].find("Template 7"), std::string::npos);
  EXPECT_NE(lines[1].find("Ann"), std::string::npos);
  EXPECT_NE(lines[2].find("Template 8"), std::string::npos);
  EXPECT_EQ(lines[3], "2 of 2 templates");
}

// ---- What is sent ----

TEST_F(StockSearchCommandTest, TheConnectionFileTheFilterAndTheWordsReachTheService) {
  ServeHits(0);
  service.Start();
  const ProgramRun run = Stock({"search", "neon", "glow", "--filter", "true"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const auto seen = service.RequestsTo(kSearchPath);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Header("X-API-KEY"), "key-prod");
  EXPECT_EQ(seen[0].Header("X-PRODUCT"), "Editor Pro");
  EXPECT_EQ(seen[0].Header("X-PRODUCT-LOCATION"), "Editor Pro/templates panel");
  EXPECT_EQ(seen[0].Header("Authorization"), "Bearer host-token");
  EXPECT_EQ(seen[0].Param("search_parameters[words]"), "neon glow");
  EXPECT_EQ(seen[0].Param("search_parameters[filters][premium]"), "true");
}

// ---- Identity ----

TEST_F(StockSearchCommandTest, ACredentialFromTheEnvironmentIsExchangedForAToken) {
  ServeHits(1);
  service.OnTokenFetch(200, R"({"access_token": "fetched", "expires_in": 86400})");
  service.Start();
  const ProgramRun run = Stock({"search"}, {"--client-id", "client-7"}, {},
                               {std::string(kStockCredentialVariable) + "=user-credential"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const auto fetches = service.RequestsTo("/ident/prod");
  ASSERT_EQ(fetches.size(), 1u);
  EXPECT_EQ(fetches[0].Param("client_id"), "client-7");
  EXPECT_EQ(fetches[0].Param("user_credential"), "user-credential");
  const auto searches = service.RequestsTo(kSearchPath);
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_EQ(searches[0].Header("Authorization"), "Bearer fetched");
}

TEST_F(StockSearchCommandTest, ATokenFromTheEnvironmentIsUsedAsItIsAndWithoutAnyNothingIsAsked) {
  ServeHits(1);
  service.Start();
  const ProgramRun none = Stock({"search", "title"}, {});
  EXPECT_EQ(none.status, 1) << Describe(none);
  EXPECT_NE(none.err.find("needs an access token or a user credential"), std::string::npos) << none.err;
  EXPECT_TRUE(none.out.empty());
  EXPECT_TRUE(service.Requests().empty());

  const ProgramRun run = Stock({"search"}, {}, {}, {std::string(kStockTokenVariable) + "=env-token"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const auto searches = service.RequestsTo(kSearchPath);
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_EQ(searches[0].Header("Authorization"), "Bearer env-token");
  EXPECT_EQ(service.CountOf("/ident/prod"), 0u);
}

TEST_F(StockSearchCommandTest, AConnectionFileThatCannotBeReadStopsTheCommandBeforeAnyRequest) {
  ServeHits(1);
  service.Start();
  const std::pair<const char*, const char*> cases[] = {
      {"[1, 2]", "not a JSON object"},
      {"{\"product\": ", "not a JSON object"},
      {R"({"apiKeyProduction": 5})", "\"apiKeyProduction\" must be a text"},
      {R"({"templateTypeId": "7"})", "\"templateTypeId\" must be a 32-bit integer"},
      {R"({"templateTypeId": 4294967296})", "\"templateTypeId\" must be a 32-bit integer"},
      {R"({"apiKey": "key"})", "unknown member \"apiKey\""},
  };
  for (const auto& [text, problem] : cases) {
    WriteText("connection.json", text);
    const ProgramRun run = Stock({"search"});
    EXPECT_EQ(run.status, 1) << text << "\n" << Describe(run);
    EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
  }
  fs::remove(Path("connection.json"));
  EXPECT_EQ(Stock({"search"}).status, 1);
  EXPECT_TRUE(service.Requests().empty());
}

TEST_F(StockSearchCommandTest, AFilterThatIsNoBooleanIsAUsageError) {
  service.Start();
  EXPECT_EQ(Stock({"search", "--filter", "premium"}).status, 2);
  EXPECT_TRUE(service.Requests().empty());
}

// ---- Bad replies ----

// A page the service did not answer or that cannot be read is not "nothing found": the walk ends,
// and the status says so; an empty answer is.
TEST_F(StockSearchCommandTest, OnlyAnEmptyAnswerIsNothingFound) {
  const struct {
    int httpStatus;
    std::string reply;
    int status;
    const char* problem;
  } cases[] = {
      {200, "<html>busy</html>", 1, "StockLicense: "},
      {503, "", 1, "did not answer 1 search request (HTTP 503)"},
      {200, SearchReply(0, {}), 0, ""},
  };
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

// ---- Thumbnails and previews ----

class StockSearchCacheTest : public StockSearchCommandTest {
 protected:
  void SetUp() override {
    StockSearchCommandTest::SetUp();
    auto capsule = std::make_shared<zorvcapsule::Capsule>(u"tssl", u"Cached name", u"capsule-55");
    capsule->SetTags({"cached"});
    const std::string description = zorvcapsule::serialization::CapsuleToJson(capsule);
    service.Get("/desc/55", [description](const httplib::Request&, httplib::Response& res) {
      res.set_content(description, "application/json");
    });
    service.Get("/thumb/55", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("PNG bytes", "image/png");
    });
    service.Get("/previews/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
      if (req.matches[1] == "404") {
        res.status = 404;
        return;
      }
      res.set_content("MP4 bytes " + req.matches[1].str(), "video/mp4");
    });
    service.Start();
    ServeReply(SearchReply(2, {SearchHit(55, R"("tplx_metadata_url": ")" + service.Url("/desc/55") + R"(", "thumbnail_url": ")" +
                                    service.Url("/thumb/55") + R"(", "video_preview_url": ")" +
                                    service.Url("/previews/55") + "\""),
                         SearchHit(56, R"("video_preview_url": ")" + service.Url("/previews/404") + "\"")}));
  }

  // The entry with asset ID `id` in a --json output.
  static json::JSONValuePtr EntryOf(const json::JSONValuePtr& root, const std::string& id) {
    for (const auto& page : Pages(root)) {
      for (const auto& entry : Entries(page)) {
        if (JsonText(entry, "path") == id) return entry;
      }
    }
    ADD_FAILURE() << "no entry " << id;
    return json::MakeJSONObject();
  }

  std::string ReadPath(const std::string& path) const { return ReadWholeFile(fs::path(path)); }
};

TEST_F(StockSearchCacheTest, ThumbnailsAndPreviewsAreFetchedOnceAndAFailedOneLeavesItsEntryWithout) {
  ProgramRun run = Stock({"search", "--thumbnails", "--previews", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  json::JSONValuePtr root = ParseObject(run);
  const std::string thumbnail = JsonText(EntryOf(root, "55"), "thumbnailPath");
  EXPECT_EQ(thumbnail.rfind(Path("TslStock").string(), 0), 0u) << thumbnail;
  EXPECT_EQ(ReadPath(thumbnail), "PNG bytes");
  EXPECT_TRUE(fs::exists(fs::path(thumbnail).parent_path() / "definition.json"));
  const std::string preview = JsonText(EntryOf(root, "55"), "videoPreviewPath");
  EXPECT_EQ(ReadPath(preview), "MP4 bytes 55");
  EXPECT_EQ(JsonText(EntryOf(root, "56"), "thumbnailPath"), "");
  EXPECT_EQ(JsonText(EntryOf(root, "56"), "videoPreviewPath"), "");

  // A second run finds all in the cache and applies the description during the search.
  run = Stock({"search", "--thumbnails", "--previews", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const json::JSONValuePtr entry = EntryOf(ParseObject(run), "55");
  EXPECT_TRUE(json::AsBool(json::GetVariantInObject(entry, "descriptionLoaded")));
  EXPECT_EQ(JsonText(entry, "capsuleID"), "capsule-55");
  EXPECT_EQ(JsonText(entry, "videoPreviewPath"), preview);
  // The table shows the preview column.
  const ProgramRun table = Stock({"search", "--previews"});
  ASSERT_EQ(table.status, 0) << Describe(table);
  EXPECT_NE(table.out.find("PREVIEW"), std::string::npos);
  EXPECT_NE(table.out.find(preview), std::string::npos);
  for (const char* path : {"/desc/55", "/thumb/55", "/previews/55"}) EXPECT_EQ(service.CountOf(path), 1u) << path;
}

}  // namespace
}  // namespace capsuletool
