// Paged stock searches through source managers, as a host runs them, beside another manager's
// local listing. (The walk over pages is the manager's, seen with a scripted source in the
// catalogue tests; the offset and limit each page sends are seen in the stock source's tests.)
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/executor.h"
#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"
#include "stock/stock_source.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::MakeTestConnection;
using testing::TestStockService;

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
