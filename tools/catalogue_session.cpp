#include "tools/catalogue_session.h"

#include <chrono>
#include <memory>

#include "catalogue/check_cancel.h"
#include "catalogue/graphic_source_manager.h"
#include "catalogue/qv_libraries_source.h"
#include "host/core/debug_database.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"

namespace capsuletool {
namespace {

using zorvcapsule::GraphicSourceManager;

constexpr std::chrono::milliseconds kPumpInterval(100);
// After a manager task has died (reported by the executor), how many empty pumps in a row mean no
// further delivery is coming.
constexpr int kIdlePumpsAfterFailure = 20;

// What the callbacks fill in, shared with them so that a delivery still queued when the session
// ends finds it alive.
struct Deliveries {
  CatalogueResult result;
  bool entriesArrived = false;
  bool matchesArrived = false;
  bool similarArrived = false;

  bool AllArrived(const CatalogueRequest& request) const {
    return entriesArrived && (request.searchWords.empty() || matchesArrived) && (!request.similar || similarArrived);
  }
};

void InstallCallbacks(GraphicSourceManager& manager, const std::shared_ptr<Deliveries>& deliveries) {
  manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [deliveries](GraphicSourceManager::EntryVector& entries, int32_t, int32_t total) {
        deliveries->result.entries = entries;
        deliveries->result.total = total;
        deliveries->entriesArrived = true;
      }));
  manager.SetDatabaseRequestCallback(
      std::make_shared<GraphicSourceManager::WordSetCallback>([deliveries](GraphicSourceManager::WordSet keys) {
        deliveries->result.matches = std::move(keys);
        deliveries->matchesArrived = true;
      }));
  manager.SetDatabaseTagRequestCallback(
      std::make_shared<GraphicSourceManager::WordSetCallback>([deliveries](GraphicSourceManager::WordSet tags) {
        deliveries->result.similarTags = std::move(tags);
        deliveries->similarArrived = true;
      }));
}

// Drains the main-thread queue until every delivery is in. Returns false when a manager task died
// and the queue then stayed empty: the missing delivery is never coming.
bool PumpUntilDelivered(const CatalogueRequest& request, const Deliveries& deliveries,
                        const DiagnosticsCollector& diagnostics, TerminalProgress& progress) {
  const auto start = std::chrono::steady_clock::now();
  int idlePumps = 0;
  while (!deliveries.AllArrived(request)) {
    const size_t ran = zorvcore::WaitAndRunMainThreadTasks(kPumpInterval);
    idlePumps = ran > 0 ? 0 : idlePumps + 1;
    if (idlePumps >= kIdlePumpsAfterFailure && diagnostics.TaskDied()) return false;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    progress.Show(std::string(deliveries.entriesArrived ? "searching the index" : "reading templates") + "... " +
                  std::to_string(seconds) + " s");
  }
  return true;
}

void FetchThumbnails(GraphicSourceManager& manager, CatalogueResult& result, TerminalProgress& progress) {
  const auto token = std::make_shared<zorvcapsule::CheckCancel>();
  result.thumbnailPaths.reserve(result.entries.size());
  for (const auto& entry : result.entries) {
    result.thumbnailPaths.push_back(manager.GetThumbnailPath(entry, token));
    progress.ShowCount("thumbnails", result.thumbnailPaths.size(), result.entries.size());
  }
}

}  // namespace

CatalogueResult RunCatalogueSession(const CatalogueRequest& request, const DiagnosticsCollector& diagnostics,
                                    TerminalProgress& progress) {
  auto deliveries = std::make_shared<Deliveries>();
  {
    GraphicSourceManager manager(request.indexPath);
    manager.AddGraphicSource(std::make_shared<zorvcapsule::LocalGraphicsSource>(request.templatesFolder, request.folders));
    if (request.librariesRoot) {
      zorvcore::DebugDatabase::SetEntry("Libraries.Root", zorvcore::UTF16ToUTF8(*request.librariesRoot));
      manager.AddGraphicSource(std::make_shared<zorvcapsule::QvLibrariesSource>());
    }
    InstallCallbacks(manager, deliveries);
    manager.RequestDefaultGraphicSet();
    if (!request.searchWords.empty()) manager.RequestGraphics(request.searchWords);
    if (request.similar) manager.RequestSimilarTags(request.similarWord);
    deliveries->result.complete = PumpUntilDelivered(request, *deliveries, diagnostics, progress);
    if (request.thumbnails) FetchThumbnails(manager, deliveries->result, progress);
    manager.GetFilterList(deliveries->result.filters);
    manager.GetLocalDirectories(deliveries->result.directories);
    manager.Shutdown();
  }
  // Anything the manager queued before it stopped is dropped here, not left for a later caller.
  zorvcore::RunMainThreadTasks();
  progress.Clear();
  return deliveries->result;
}

}  // namespace capsuletool
