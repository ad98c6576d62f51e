#include "tools/catalogue_watch.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_folder_watch.h"
#include "catalogue/local_graphics_source.h"
#include "catalogue/qv_libraries_source.h"
#include "host/core/debug_database.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"
#include "tools/catalogue_changes.h"
#include "tools/catalogue_table.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"

namespace capsuletool {
namespace {

using zorvcapsule::GraphicSourceManager;

constexpr std::chrono::milliseconds kPumpInterval(100);

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void RequestStop(int) { stopRequested.store(true); }

// Installs the stop handlers for SIGINT and SIGTERM, and puts back the previous ones at the end.
class StopSignals {
 public:
  StopSignals() {
    stopRequested.store(false);
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  ~StopSignals() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  bool Stopped() const { return stopRequested.load(); }

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

void WriteLine(std::ostream& out, const std::string& line) { out << line << '\n' << std::flush; }

// Prints each default set the manager delivers: the first as the catalogue, later ones as what
// changed since the one before.
class ListingPrinter {
 public:
  ListingPrinter(const CatalogueRequest& request, bool json, std::ostream& out)
      : request_(request), json_(json), out_(out) {}

  void Print(const GraphicSourceManager::EntryVector& entries) {
    CatalogueListing listing = ListingOf(entries, request_);
    if (!previous_) {
      PrintFirst(entries);
    } else {
      const auto differences = Differences(*previous_, listing);
      for (const auto& difference : differences) WriteLine(out_, DifferenceLine(difference, json_));
      if (json_) {
        WriteLine(out_, ListedLine(entries.size()));
      } else if (!differences.empty()) {
        WriteLine(out_, std::to_string(entries.size()) + (entries.size() == 1 ? " template" : " templates"));
      }
    }
    previous_ = std::move(listing);
  }

 private:
  void PrintFirst(const GraphicSourceManager::EntryVector& entries) {
    if (json_) {
      WriteLine(out_, ListedLine(entries.size()));
      return;
    }
    CatalogueResult result;
    result.entries = entries;
    result.total = static_cast<int32_t>(entries.size());
    std::ostringstream table;
    WriteCatalogueTable(table, request_, result);
    std::istringstream lines(table.str());
    for (std::string line; std::getline(lines, line);) WriteLine(out_, line);
  }

  const CatalogueRequest& request_;
  const bool json_;
  std::ostream& out_;
  std::optional<CatalogueListing> previous_;
};

// Prints the reports that arrived since the last call; returns how many have been printed in all.
size_t PrintNewDiagnostics(const DiagnosticsCollector& diagnostics, size_t printed, std::ostream& err) {
  const auto reports = diagnostics.Reports();
  for (; printed < reports.size(); ++printed) {
    std::string message = reports[printed].message;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    PrintError(err, "catalogue", reports[printed].source + ": " + message);
  }
  return printed;
}

}  // namespace

int RunCatalogueWatch(const CatalogueOptions& options, const CatalogueRequest& request, std::ostream& out,
                      std::ostream& err) {
  if (!options.search.empty() || options.similar || options.thumbnails) {
    PrintError(err, "--watch", "lists the catalogue as it changes; it does not go with --search, --similar or "
                               "--thumbnails (see capsule catalogue --help)");
    return kExitUsage;
  }
  const StopSignals signals;
  // Declared before the manager so that it outlives the threads that report to it.
  const DiagnosticsCollector diagnostics;
  auto delivered = std::make_shared<std::deque<GraphicSourceManager::EntryVector>>();

  GraphicSourceManager manager(request.indexPath);
  auto local = std::make_shared<zorvcapsule::LocalGraphicsSource>(request.templatesFolder, request.folders);
  manager.AddGraphicSource(local);
  if (request.librariesRoot) {
    zorvcore::DebugDatabase::SetEntry("Libraries.Root", zorvcore::UTF16ToUTF8(*request.librariesRoot));
    manager.AddGraphicSource(std::make_shared<zorvcapsule::QvLibrariesSource>());
  }
  manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [delivered](GraphicSourceManager::EntryVector& entries, int32_t, int32_t) { delivered->push_back(entries); }));
  // Watching starts before the first listing, so nothing that changes meanwhile is missed.
  auto watch = std::make_unique<zorvcapsule::LocalFolderWatch>(manager, local);
  manager.RequestDefaultGraphicSet();

  ListingPrinter printer(request, options.json, out);
  size_t diagnosticsPrinted = 0;
  while (!signals.Stopped() && out) {
    zorvcore::WaitAndRunMainThreadTasks(kPumpInterval);
    for (; !delivered->empty(); delivered->pop_front()) printer.Print(delivered->front());
    diagnosticsPrinted = PrintNewDiagnostics(diagnostics, diagnosticsPrinted, err);
  }
  watch.reset();
  manager.Shutdown();
  zorvcore::RunMainThreadTasks();
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
