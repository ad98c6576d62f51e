// The stock source against a loopback stock service: the request it sends, the entries it builds,
// the failures it absorbs, and the description and thumbnail it caches.
#include "stock/stock_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "catalogue/source_ids.h"
#include "host/core/debug_database.h"
#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"
#include "stock/stock_capsule_entry.h"
#include "stock/stock_filters.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using testing::MakeTestConnection;
using testing::TestStockService;
using Words = std::vector<std::u16string>;

const std::string kSearch = "/prod/Rest/Media/1/Search/Files";

const char* const kColumns =
    "&result_columns[]=nb_results&result_columns[]=id&result_columns[]=title&result_columns[]=description"
    "&result_columns[]=creator_name&result_columns[]=keywords&result_columns[]=width&result_columns[]=height"
    "&result_columns[]=thumbnail_url&result_columns[]=thumbnail_html_tag&result_columns[]=thumbnail_width"
    "&result_columns[]=thumbnail_height&result_columns[]=video_preview_url&result_columns[]=premium_level_id"
    "&result_columns[]=size_bytes&result_columns[]=tplx_metadata_url&result_columns[]=is_licensed";

using testing::SearchHit;
using testing::SearchReply;
using testing::ReadFile;
using testing::WriteFile;

// A description whose values the tests can recognize once applied to an entry.
std::string Description(const std::string& capsuleId) {
  auto capsule = std::make_shared<Capsule>(u"tssl", u"Original name", zorvcore::StdToUTF16String(capsuleId));
  capsule->SetUsedFonts({"Font A", "Font B"});
  hostbridge::SourceInfo info;
  info.duration = hostbridge::MediaTime(5, 2);
  capsule->SetSourceInfo(info);
  capsule->SetTags({"original"});
  return serialization::CapsuleToJson(capsule);
}

std::shared_ptr<StockCapsuleEntry> AsStock(const CapsuleEntryPtr& entry) {
  return std::dynamic_pointer_cast<StockCapsuleEntry>(entry);
}

class StockSourceTest : public ::testing::Test {
 protected:
  StockSourceTest() : source_(std::make_shared<StockSource>(MakeTestConnection())) {
    SetIdentity("client", "credential", u"host-token");
  }

  void SetIdentity(std::string clientId, std::string credential, std::u16string token) {
    source_->SetUserDataCallback(std::make_shared<StockSource::UserDataCallback>(
        [=](std::string& id, std::string& cred, std::u16string& tok) {
          id = clientId;
          cred = credential;
          tok = token;
        }));
  }

  struct Outcome {
    std::vector<CapsuleEntryPtr> entries;
    int total = -1;
  };
  Outcome Search(const Words& words = {}, int start = 0, int count = 100, CheckCancelPtr cancel = nullptr) {
    Outcome outcome;
    source_->Search(words, outcome.entries, start, count, outcome.total, cancel);
    return outcome;
  }

  TestStockService service_;
  std::shared_ptr<StockSource> source_;
};


// Without words a search asks for the connection's gallery of the product and version; with words it
// sends them joined, names the template source, and asks for no gallery. (The search's headers are
// pinned by `capsule stock search`'s tests; its served stock service checks token and API key.)
TEST_F(StockSourceTest, TheSearchRequestCarriesTheConnectionAndTheWords) {
  struct Case {
    Words words;
    int start, count, templateType;
    std::u16string filter;
    std::string query;
  } cases[] = {
      {{}, 0, 100, 3, kStockFilterAll,
       "?locale=en_US&search_parameters[limit]=100&search_parameters[offset]=0"
       "&search_parameters[filters][premium]=all&search_parameters[filters][content_type:template]=1"
       "&search_parameters[filters][template_type_id][]=3&search_parameters[filters][tplx_api_version]=1.4"
       "&product=Editor%20Pro%2F24.1&search_parameters[gallery_id]=gallery%209"},
      {{u"lower third", u"caf\u00e9"}, 200, 50, 7, kStockFilterPremium,
       "?locale=en_US&search_parameters[limit]=50&search_parameters[offset]=200"
       "&search_parameters[filters][premium]=true&search_parameters[filters][content_type:template]=1"
       "&search_parameters[filters][template_type_id][]=7&search_parameters[filters][tplx_source][]=tsgraphic"
       "&search_parameters[filters][tplx_api_version]=1.4&search_parameters[words]=lower%20third%20caf%C3%A9"},
  };
  service_.OnSearch(TestStockService::Answer(SearchReply(0, {})));
  service_.Start();
  for (const Case& c : cases) {
    source_ = std::make_shared<StockSource>(MakeTestConnection(c.templateType));
    SetIdentity("client", "credential", u"host-token");
    source_->SetFilterType(c.filter);
    Search(c.words, c.start, c.count);
    EXPECT_EQ(service_.RequestsTo(kSearch).back().target, kSearch + c.query + kColumns);
  }
  EXPECT_EQ(service_.CountOf(kSearch), 2u);
}

// The token a search fetched is cached for the next one.
TEST_F(StockSourceTest, TheStageSettingSwitchesEndpointKeyAndTokenTexts) {
  service_.OnSearch(TestStockService::Answer(SearchReply(0, {})));
  service_.OnTokenFetch(200, R"({"access_token": "stage-token"})");
  service_.Start();
  zorvcore::DebugDatabase::SetEntry("Graphics.UseStockStage", "true");
  SetIdentity("client", "credential", u"");
  Search();
  Search();
  EXPECT_EQ(service_.CountOf(kSearch), 0u);
  const auto searches = service_.RequestsTo("/stage/Rest/Media/1/Search/Files");
  ASSERT_EQ(searches.size(), 2u);
  EXPECT_EQ(searches[0].Header("Authorization"), "Bearer stage-token");
  const auto fetches = service_.RequestsTo("/ident/stage");
  ASSERT_EQ(fetches.size(), 1u);
  EXPECT_EQ(fetches[0].Param("connection_param_a"), "param-a-stage");
  EXPECT_EQ(fetches[0].Param("connection_param_b"), "param-b-stage");
}


// A cached description and preview are applied without downloading; a cached description that
// cannot be read is passed over quietly. (Order, name, creator, frame, premium level, preview address
// and path, an unloaded description, the licence and the source are pinned by tools/testdata/stock_search.json.)
TEST_F(StockSourceTest, HitsBecomeStockEntriesInReplyOrderWithWhatTheCacheHolds) {
  service_.OnSearch(TestStockService::Answer(SearchReply(4, {SearchHit(101, R"("description": "Clean",
        "keywords": [{"name": "title"}, {"name": "news"}], "thumbnail_url": "https://cdn/t.png",
        "video_preview_url": "https://cdn/p.mp4", "size_bytes": -1, "tplx_metadata_url": "http://cdn/d.json")"),
                                 SearchHit(7, R"("is_licensed": "standard")"),
                                 SearchHit(55, R"("tplx_metadata_url": "https://cdn/d.json")"), SearchHit(56)})));
  service_.Start();
  WriteFile(service_.AssetFolder("55") / "definition.json", Description("capsule-55"));
  WriteFile(service_.AssetFolder("55") / "thumb.mp4", "video");
  WriteFile(service_.AssetFolder("56") / "definition.json", R"({"apiVersion": "1.4", "capsuleID": 12})");
  const Outcome outcome = Search();
  EXPECT_EQ(outcome.total, 4);
  ASSERT_EQ(outcome.entries.size(), 4u);
  const auto first = AsStock(outcome.entries[0]);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->description, u"Clean");
  EXPECT_EQ(first->tags, (std::vector<std::u16string>{u"title", u"news"}));
  EXPECT_EQ(first->thumbnailPath, u"https://cdn/t.png");
  EXPECT_EQ(first->GetVideoPreviewPath(), u"https://cdn/p.mp4");
  EXPECT_EQ(first->descriptionPath, u"http://cdn/d.json");
  EXPECT_EQ(first->fileSize, UINT64_MAX);  // the size widened with its sign
  EXPECT_FALSE(AsStock(outcome.entries[1])->isLicensed);  // "Standard" only, exactly

  const auto cached = AsStock(outcome.entries[2]);
  EXPECT_EQ(cached->capsuleID, u"capsule-55");
  EXPECT_EQ(cached->usedFonts, (std::vector<std::u16string>{u"Font A", u"Font B"}));
  EXPECT_EQ(cached->durationMs, 2500);
  EXPECT_EQ(cached->authorApp, u"tssl");
  EXPECT_TRUE(cached->descriptionLoaded);
  EXPECT_EQ(fs::path(zorvcore::FileHelperUtils::UTF16ToStdPath(cached->videoPreviewPath)),
            service_.AssetFolder("55") / "thumb.mp4");
  EXPECT_TRUE(cached->SupportVideoPlayback());
  EXPECT_FALSE(AsStock(outcome.entries[3])->descriptionLoaded);
  EXPECT_TRUE(service_.Reports().empty());
  EXPECT_EQ(service_.Requests().size(), 1u);  // the search alone
}

TEST_F(StockSourceTest, TheTotalIsCappedAndAZeroCountMeansNoEntries) {
  std::string reply = SearchReply(5000, {SearchHit(1)});
  service_.OnSearch([&](const httplib::Request&, httplib::Response& res) {
    res.set_content(reply, "application/json");
  });
  service_.Start();
  Outcome outcome = Search();
  EXPECT_EQ(outcome.total, 1000);
  EXPECT_EQ(outcome.entries.size(), 1u);

  reply = SearchReply(0, {SearchHit(1), SearchHit(2)});
  outcome = Search();
  EXPECT_EQ(outcome.total, 0);
  EXPECT_TRUE(outcome.entries.empty());
}


// Whatever goes wrong, the search gives no entries and a total of 0; only an unreadable reply is
// reported. (Every way a reply can be unreadable is read in the reply parser's tests, every way an
// exchange can fail in the network layer's.)
TEST_F(StockSourceTest, FailuresGiveNoEntriesAndOnlyUnreadableRepliesAreReported) {
  struct Case {
    const char* name;
    TestStockService::Handler handler;
    const char* error = nullptr;  // the reported error; none when null
  } cases[] = {
      {"html", TestStockService::Answer("<html>busy</html>"), "JSON not well-formed"},
      {"hit not an object", TestStockService::Answer(R"({"nb_results": 2, "files": [{"id": 1}, "two"]})"),
       "bad cast"},
      {"503", TestStockService::Answer(SearchReply(3, {SearchHit(1)}), 503)},  // as any response but a success
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestStockService service;
    service.OnSearch(c.handler);
    service.Start();
    const Outcome outcome = Search();
    EXPECT_TRUE(outcome.entries.empty());
    EXPECT_EQ(outcome.total, 0);
    EXPECT_EQ(service.CountOf(kSearch), 1u);
    service.ExpectOnlyReport("SearchOnStock", "Search", c.error);
  }
}

// Without identity or with an aborted token there is no request; a cancel while the service holds
// the answer ends the search.
TEST_F(StockSourceTest, WithoutIdentityOrOnceCancelledTheSearchGivesNothing) {
  service_.HoldGet(kSearch);
  service_.Start();
  Outcome outcome;
  outcome.total = 77;
  source_->SetUserDataCallback(nullptr);
  source_->Search({}, outcome.entries, 0, 100, outcome.total, nullptr);
  EXPECT_EQ(outcome.total, 77);  // no callback: nothing touched

  SetIdentity("client", "credential", u"host-token");
  auto cancel = std::make_shared<CheckCancel>();
  cancel->Abort();
  source_->Search({}, outcome.entries, 0, 100, outcome.total, cancel);
  EXPECT_EQ(outcome.total, 77);  // aborted: nothing touched either

  SetIdentity("client", "", u"");  // no credential, no token
  outcome = Search();
  EXPECT_EQ(outcome.total, 0);
  EXPECT_TRUE(outcome.entries.empty());
  EXPECT_TRUE(service_.Requests().empty());

  SetIdentity("client", "credential", u"host-token");
  cancel = std::make_shared<CheckCancel>();
  std::thread host([&] {
    service_.WaitUntilHeld(1);
    cancel->Abort();
  });
  outcome.total = 77;
  source_->Search({}, outcome.entries, 0, 100, outcome.total, cancel);
  // The search returned while the service still held its answer: it did not wait for it.
  service_.Release();
  host.join();
  EXPECT_EQ(outcome.total, 77);
  EXPECT_TRUE(outcome.entries.empty());
}


TEST_F(StockSourceTest, TheFilterDescribesTheSourceAndAnEmptyTypeIsIgnored) {
  EXPECT_EQ(source_->GetFilterType(), kStockFilterAll);
  source_->SetFilterType(kStockFilterFree);
  source_->SetFilterType(u"");
  EXPECT_EQ(source_->GetFilterType(), u"false");

  IGraphicSource::GraphicFilterID filter;
  filter.items.push_back({u"stale", "x", true});
  source_->GetFilter(filter);
  EXPECT_EQ(filter.name, u"Stock");
  EXPECT_EQ(filter.sourceID, "graphicsource.Stock");
  EXPECT_TRUE(filter.items.empty());
}


class StockThumbnailTest : public StockSourceTest {
 protected:
  void SetUp() override {
    // Id 404 is missing, description 999 is unreadable.
    service_.Get("/desc/(\\d+)", [this](const httplib::Request& req, httplib::Response& res) {
      res.status = req.matches[1] == "404" ? 404 : 200;
      res.set_content(req.matches[1] == "999" ? "{ not a description" : Description("capsule-1"), "application/json");
    });
    service_.Get("/thumb/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
      res.status = req.matches[1] == "404" ? 404 : 200;
      res.set_content("PNG bytes " + req.matches[1].str(), "image/png");
    });
    service_.Start();
  }

  std::shared_ptr<StockCapsuleEntry> Entry(const std::string& id, const std::string& desc, const std::string& thumb) {
    auto entry = std::make_shared<StockCapsuleEntry>();
    entry->path = zorvcore::StdToUTF16String(id);
    entry->name = u"Hit name";
    entry->tags = {u"hit", u"tags"};
    // "http:" on purpose: the server speaks TLS only, so only an "https:" fetch can succeed.
    const std::string plain = "http://127.0.0.1:" + std::to_string(service_.port());
    entry->descriptionPath = zorvcore::StdToUTF16String(plain + "/desc/" + desc);
    entry->thumbnailPath = zorvcore::StdToUTF16String(service_.Url("/thumb/" + thumb));
    return entry;
  }
  std::u16string Thumbnail(const std::shared_ptr<StockCapsuleEntry>& entry, CheckCancelPtr cancel = nullptr) {
    return source_->GetThumbnailPath(entry, cancel);
  }
  fs::path Path(const std::u16string& path) { return zorvcore::FileHelperUtils::UTF16ToStdPath(path); }
};

TEST_F(StockThumbnailTest, TheFirstRequestCachesDescriptionAndThumbnailAndLaterOnesReuseThem) {
  const auto entry = Entry("1", "1", "1");
  const std::u16string thumb = Thumbnail(entry);
  EXPECT_EQ(Path(thumb), service_.AssetFolder("1") / "thumb.png");
  EXPECT_EQ(ReadFile(Path(thumb)), "PNG bytes 1");
  EXPECT_TRUE(service_.RequestsTo("/thumb/1").at(0).Header("Authorization").empty());  // an anonymous GET
  EXPECT_TRUE(service_.RequestsTo("/thumb/1").at(0).Header("X-API-KEY").empty());
  EXPECT_TRUE(entry->descriptionLoaded);  // what a description gives an entry is seen with a cached one above

  // The cached description carries the hit's name and tags.
  const auto cached = serialization::CapsuleFromJson(ReadFile(service_.AssetFolder("1") / "definition.json"));
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(cached->GetTags(), (std::vector<std::string>{"hit", "tags"}));
  const UIString names = cached->GetCapsuleNameLocalized();
  ASSERT_NE(names.Find(u"en_US"), nullptr);
  EXPECT_EQ(*names.Find(u"en_US"), u"Hit name");
  EXPECT_EQ(names.GetLocaleMap().size(), 1u);

  EXPECT_EQ(Thumbnail(Entry("1", "1", "1")), thumb);
  EXPECT_EQ(service_.CountOf("/desc/1"), 1u);
  EXPECT_EQ(service_.CountOf("/thumb/1"), 1u);

  // A cached thumbnail is not fetched, but the description is still looked up.
  WriteFile(service_.AssetFolder("2") / "thumb.png", "cached");
  EXPECT_EQ(Path(Thumbnail(Entry("2", "2", "2"))), service_.AssetFolder("2") / "thumb.png");
  EXPECT_EQ(service_.CountOf("/thumb/2"), 0u);
  EXPECT_EQ(service_.CountOf("/desc/2"), 1u);
}

// An unreadable description leaves an empty marker and is not fetched again; a failed download
// leaves no file and an empty path, and is tried again later; an aborted token fetches nothing.
TEST_F(StockThumbnailTest, FailuresLeaveNoFilesButAMarkerForAnUnreadableDescription) {
  const auto unreadable = Entry("3", "999", "3");
  EXPECT_FALSE(Thumbnail(unreadable).empty());
  EXPECT_TRUE(fs::exists(service_.AssetFolder("3") / "definition.json"));
  EXPECT_EQ(fs::file_size(service_.AssetFolder("3") / "definition.json"), 0u);
  EXPECT_FALSE(unreadable->descriptionLoaded);
  Thumbnail(Entry("3", "999", "3"));
  EXPECT_EQ(service_.CountOf("/desc/999"), 1u);

  const auto missing = Entry("4", "404", "404");
  EXPECT_TRUE(Thumbnail(missing).empty());
  EXPECT_FALSE(fs::exists(service_.AssetFolder("4") / "thumb.png"));
  EXPECT_FALSE(fs::exists(service_.AssetFolder("4") / "definition.json"));
  Thumbnail(missing);
  EXPECT_EQ(service_.CountOf("/desc/404"), 2u);
  EXPECT_TRUE(service_.Reports().empty());

  const size_t before = service_.Requests().size();
  auto cancel = std::make_shared<CheckCancel>();
  cancel->Abort();
  EXPECT_TRUE(Thumbnail(Entry("5", "5", "5"), cancel).empty());
  EXPECT_EQ(service_.Requests().size(), before);
}

}  // namespace
}  // namespace zorvcapsule
