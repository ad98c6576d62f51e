// A paged search through the source manager, as a host runs it: one stock source, the stock
// callback, the main-thread queue pumped until every page of the walk has arrived.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/executor.h"
#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"
#include "stock/stock_source.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::MakeTestConnection;
using testing::TestStockService;

struct Page {
  int start;
  int total;
  std::vector<std::u16string> paths;
};

// Answers every page of a service that holds `hits` templates, numbered from 0.
void ServeHits(TestStockService& service, int hits) {
  service.OnSearch([hits](const httplib::Request& req, httplib::Response& res) {
    const int offset = std::stoi(req.get_param_value("search_parameters[offset]"));
    const int limit = std::stoi(req.get_param_value("search_parameters[limit]"));
    std::string files;
    for (int id = offset; id < std::min(hits, offset + limit); ++id) {
      files += (files.empty() ? "" : ",") + std::string(R"({"id": )") + std::to_string(id) + "}";
    }
    res.set_content(R"({"nb_results": )" + std::to_string(hits) + R"(, "files": [)" + files + "]}",
                    "application/json");
  });
}

std::shared_ptr<StockSource> SignedInStockSource() {
  auto source = std::make_shared<StockSource>(MakeTestConnection());
  source->SetUserDataCallback(std::make_shared<StockSource::UserDataCallback>(
      [](std::string& id, std::string& credential, std::u16string& token) {
        id = "client";
        credential = "credential";
        token = u"host-token";
      }));
  return source;
}

TEST(StockPagedSearchTest, TwoHundredFiftyHitsArriveInThreePages) {
  TestStockService service;
  ServeHits(service, 250);
  service.Start();
  zorvcore::RunMainThreadTasks();

  std::vector<Page> pages;
  {
    GraphicSourceManager manager;
    manager.AddGraphicSource(SignedInStockSource());
    manager.SetStockRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [&pages](GraphicSourceManager::EntryVector& entries, int32_t start, int32_t total) {
          Page page{start, total, {}};
          for (const auto& entry : entries) page.paths.push_back(entry->path);
          pages.push_back(std::move(page));
        }));
    manager.RequestGraphics({u"title"});
    while (pages.size() < 3) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
    manager.Shutdown();
  }

  ASSERT_EQ(pages.size(), 3u);
  const std::pair<int, size_t> expected[] = {{0, 100}, {100, 100}, {200, 50}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(pages[i].start, expected[i].first);
    EXPECT_EQ(pages[i].total, 250);
    ASSERT_EQ(pages[i].paths.size(), expected[i].second);
    EXPECT_EQ(pages[i].paths.front(), zorvcore::StdToUTF16String(std::to_string(expected[i].first)));
  }
  const auto searches = service.RequestsTo("/prod/Rest/Media/1/Search/Files");
  ASSERT_EQ(searches.size(), 3u);
  EXPECT_EQ(searches[2].Param("search_parameters[offset]"), "200");
  EXPECT_EQ(searches[2].Param("search_parameters[limit]"), "50");
}

// Managers whose stock searches wait on a service that does not answer, as many as the worker pool
// has threads, must leave another manager's local listing free to run. A held search gives up after
// its time limit and then delivers an empty page; the listing must arrive before any such page.
TEST(StockPagedSearchTest, SearchesWaitingOnTheNetworkDoNotHoldUpAnotherManagersListing) {
  TestStockService service;
  service.HoldGet("/prod/Rest/Media/1/Search/Files");
  service.Start();
  zorvcore::RunMainThreadTasks();

  std::vector<std::unique_ptr<GraphicSourceManager>> stalled;
  int stockPages = 0;
  for (size_t i = 0; i < zorvcore::WorkerPoolSize(); ++i) {
    auto manager = std::make_unique<GraphicSourceManager>();
    manager->AddGraphicSource(SignedInStockSource());
    manager->SetStockRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [&stockPages](GraphicSourceManager::EntryVector&, int32_t, int32_t) { ++stockPages; }));
    manager->RequestGraphics({u"title"});
    stalled.push_back(std::move(manager));
  }
  ASSERT_TRUE(service.WaitUntilHeld(stalled.size()));

  const std::filesystem::path templates = service.Temp() / "templates";
  std::filesystem::create_directories(templates);
  GraphicSourceManager listing(zorvcore::FileHelperUtils::StdPathToUTF16(service.Temp() / "index.db"));
  listing.AddGraphicSource(std::make_shared<LocalGraphicsSource>(
      zorvcore::FileHelperUtils::StdPathToUTF16(templates), LocalGraphicsSource::FolderList{}));
  bool listed = false;
  listing.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [&listed](GraphicSourceManager::EntryVector&, int32_t, int32_t) { listed = true; }));
  listing.RequestDefaultGraphicSet();
  while (!listed) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
  EXPECT_EQ(stockPages, 0) << "the listing waited for a held search to give up";

  service.Release();
  listing.Shutdown();
  for (auto& manager : stalled) manager->Shutdown();
}

}  // namespace
}  // namespace zorvcapsule
