#include "tools/stock_search_session.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "catalogue/check_cancel.h"
#include "catalogue/graphic_source_manager.h"
#include "host/core/main_thread.h"
#include "stock/stock_preview_download_manager.h"
#include "stock/stock_source.h"
#include "tools/main_thread_pump.h"
#include "tools/stock_service_paths.h"
#include "tools/transfer_watch.h"

namespace capsuletool {
namespace {

using zorvcapsule::GraphicSourceManager;
using zorvcapsule::StockPreviewDownloadManager;
using zorvcapsule::StockSource;

constexpr std::chrono::milliseconds kPumpInterval(100);
// Each transfer ends by itself when it stalls; this bounds one that trickles on.
constexpr std::chrono::minutes kPreviewWaitLimit(5);

// What the stock callback fills in, shared with it so that a page still queued when the session
// ends finds it alive.
struct Deliveries {
  StockSearchResult result;
  bool walkOver = false;
};

std::shared_ptr<StockSource> MakeSource(const StockSearchRequest& request) {
  auto source = std::make_shared<StockSource>(request.identity.connection);
  source->SetUserDataCallback(std::make_shared<StockSource::UserDataCallback>(
      [identity = request.identity](std::string& clientId, std::string& credential, std::u16string& token) {
        clientId = identity.clientId;
        credential = identity.credential;
        token = identity.token;
      }));
  return source;
}

void InstallCallback(GraphicSourceManager& manager, const std::shared_ptr<Deliveries>& deliveries) {
  manager.SetStockRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [deliveries](GraphicSourceManager::EntryVector& entries, int32_t start, int32_t total) {
        StockPage page;
        page.start = start;
        page.entries = entries;
        deliveries->result.pages.push_back(std::move(page));
        deliveries->result.total = total;
        if (IsLastStockPage(start, total)) deliveries->walkOver = true;
      }));
}

size_t EntryCount(const StockSearchResult& result) {
  size_t count = 0;
  for (const StockPage& page : result.pages) count += page.entries.size();
  return count;
}

// Returns false when a manager task died and the queue then stayed empty.
bool PumpUntilWalkOver(const Deliveries& deliveries, const DiagnosticsCollector& diagnostics,
                       TerminalProgress& progress) {
  return PumpMainThreadUntil([&deliveries] { return deliveries.walkOver; }, diagnostics, [&] {
    progress.Show("searching the stock service... " + std::to_string(EntryCount(deliveries.result)) + " templates");
  });
}

void FetchThumbnails(GraphicSourceManager& manager, StockSearchResult& result, TerminalProgress& progress) {
  const auto token = std::make_shared<zorvcapsule::CheckCancel>();
  const size_t total = EntryCount(result);
  size_t done = 0;
  for (StockPage& page : result.pages) {
    page.thumbnailPaths.reserve(page.entries.size());
    for (const auto& entry : page.entries) {
      page.thumbnailPaths.push_back(manager.GetThumbnailPath(entry, token));
      progress.ShowCount("thumbnails", ++done, total);
    }
  }
}

// Asks for every entry's preview and pumps the queue until none is pending; false at the limit.
bool FetchPreviews(const StockSearchResult& result, TerminalProgress& progress) {
  StockPreviewDownloadManager::Initialize();
  const auto previews = StockPreviewDownloadManager::GetInstance();
  if (!previews) return false;
  for (const StockPage& page : result.pages) {
    for (const auto& entry : page.entries) previews->DownloadPreview(entry);
  }
  const auto deadline = std::chrono::steady_clock::now() + kPreviewWaitLimit;
  while (!previews->WaitForPendingDownloads(0)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    zorvcore::WaitAndRunMainThreadTasks(kPumpInterval);
    progress.Show("previews: " + std::to_string(previews->PendingCount()) + " downloading");
  }
  return true;
}

}  // namespace

bool IsLastStockPage(int32_t start, int32_t total) {
  return start + GraphicSourceManager::kPageSize >= std::min(total, GraphicSourceManager::kMaxPagedResults);
}

StockSearchResult RunStockSearchSession(const StockSearchRequest& request, const DiagnosticsCollector& diagnostics,
                                        TerminalProgress& progress) {
  auto deliveries = std::make_shared<Deliveries>();
  {
    const TransferWatch searches(kFileSearchPath);
    GraphicSourceManager manager;
    manager.AddGraphicSource(MakeSource(request));
    manager.SetSearchFilterType(request.filter);
    InstallCallback(manager, deliveries);
    if (request.words.empty()) {
      manager.RequestDefaultGraphicSet();
    } else {
      manager.RequestGraphics(request.words);
    }
    deliveries->result.complete = PumpUntilWalkOver(*deliveries, diagnostics, progress);
    deliveries->result.failedSearches = searches.FailureCount();
    deliveries->result.lastSearchFailure = searches.LastFailure().message();
    if (request.thumbnails) FetchThumbnails(manager, deliveries->result, progress);
    manager.Shutdown();
  }
  if (request.previews) deliveries->result.previewsComplete = FetchPreviews(deliveries->result, progress);
  // Ends any transfer still running (its completion is dropped) and releases the shared downloads.
  StockPreviewDownloadManager::Terminate();
  // Anything the manager queued before it stopped is dropped here, not left for a later caller.
  zorvcore::RunMainThreadTasks();
  progress.Clear();
  return deliveries->result;
}

}  // namespace capsuletool
