#include "tools/stock_search_command.h"

#include "host/core/unicode.h"
#include "stock/can_connect_with_stock.h"
#include "stock/stock_filters.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"
#include "tools/stock_search_output.h"
#include "tools/stock_search_session.h"
#include "tools/terminal_progress.h"

namespace capsuletool {
namespace {

std::u16string FilterValue(const std::string& filter) {
  if (filter == "true") return zorvcapsule::kStockFilterPremium;
  if (filter == "false") return zorvcapsule::kStockFilterFree;
  return zorvcapsule::kStockFilterAll;
}

// Tells the user what went wrong; returns true when anything did.
bool ReportTrouble(const StockSearchResult& result, const DiagnosticsCollector& diagnostics, std::ostream& err) {
  bool trouble = false;
  if (!result.complete) {
    PrintError(err, "stock search", "the search ended before its last page arrived");
    trouble = true;
  }
  if (result.failedSearches > 0) {
    PrintError(err, "stock search",
               "the stock service did not answer " + std::to_string(result.failedSearches) +
                   (result.failedSearches == 1 ? " search request" : " search requests") + " (" +
                   result.lastSearchFailure + "); its pages are missing from the results");
    trouble = true;
  }
  if (!result.previewsComplete) {
    PrintError(err, "stock search", "some previews were still downloading when the wait ran out");
    trouble = true;
  }
  return PrintDiagnostics(diagnostics, "stock search", err) || trouble;
}

}  // namespace

int RunStockSearchCommand(const StockSearchOptions& options, std::ostream& out, std::ostream& err) {
  StockSearchRequest request;
  if (const auto status = LoadStockIdentity(options.identity, request.identity, err)) return *status;
  // A search without a token ends quietly with no templates, which would read as "nothing found":
  // ask first, as a host does before it shows stock features. The token fetched here is cached for
  // the search.
  const StockIdentity& identity = request.identity;
  if (!zorvcapsule::CanConnectWithStock(identity.clientId, identity.credential, identity.connection,
                                        identity.token)) {
    PrintError(err, "stock search", "the identity service gave no access token for this credential");
    return kExitFailed;
  }
  for (const std::string& word : options.words) request.words.push_back(zorvcore::UTF8ToUTF16(word));
  request.filter = FilterValue(options.filter);
  request.thumbnails = options.thumbnails;
  request.previews = options.previews;

  // Declared before the session so that it outlives the manager's threads, which report to it.
  DiagnosticsCollector diagnostics;
  TerminalProgress progress;
  const StockSearchResult result = RunStockSearchSession(request, diagnostics, progress);

  if (options.json) {
    out << StockSearchJSON(result, options.thumbnails) << '\n';
  } else {
    WriteStockSearchTable(out, request, result);
  }
  out.flush();
  const bool trouble = ReportTrouble(result, diagnostics, err);
  return trouble || !out ? kExitFailed : kExitSuccess;
}

}  // namespace capsuletool
