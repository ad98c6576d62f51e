// StockSearchSession: one stock search the way a host runs it. It makes a paged-mode
// GraphicSourceManager with one StockSource (the identity values handed over through the source's
// user-data callback), sets the premium filter, asks for the words (or the default set without
// words) and pumps the main-thread queue until every page of the manager's walk has been
// delivered. Then, when asked, it fetches each delivered entry's still thumbnail through the
// manager, and has the preview manager fetch each entry's preview video, pumping the queue until
// no transfer is pending.
//
// The walk is over when a page reaches the total the service reported (at most the manager's
// 1000): the manager asks for the next page only below it. Every page is delivered, a failed one as
// an empty page with total 0, so the walk always ends; a manager task that dies instead is noticed
// through the diagnostics and ends the wait with the result marked incomplete. A page the service
// did not answer reads, to the manager's callback, like an empty result; the session tells them
// apart by watching the network layer's finished search requests (transfer_observer.h).
//
// Thread safety: Run is called from the program's main thread, the thread that drains the
// main-thread queue; the callbacks run there too.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SEARCH_SESSION_H_
#define ZORVCAPSULE_TOOLS_STOCK_SEARCH_SESSION_H_

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/capsule_entry.h"
#include "tools/diagnostics_collector.h"
#include "tools/stock_identity.h"
#include "tools/terminal_progress.h"

namespace capsuletool {

struct StockSearchRequest {
  StockIdentity identity;
  std::vector<std::u16string> words;  // empty: the default set
  std::u16string filter;              // one of the stock filter values
  bool thumbnails = false;
  bool previews = false;
};

struct StockPage {
  int32_t start = 0;
  std::vector<zorvcapsule::CapsuleEntryPtr> entries;
  std::vector<std::u16string> thumbnailPaths;  // with thumbnails: one per entry, empty when none
};

struct StockSearchResult {
  int32_t total = 0;             // as the last delivered page reported it
  std::vector<StockPage> pages;  // in delivery order
  bool complete = true;          // false when the walk ended without its last page
  // Search requests the service did not answer with a 2xx reply (each read as an empty page), and
  // how the last of them failed ("HTTP 503", "timed out", ...).
  int failedSearches = 0;
  std::string lastSearchFailure;
  bool previewsComplete = true;  // false when preview transfers were still pending at the limit
};

// True when a page delivered at `start` with `total` is the walk's last.
bool IsLastStockPage(int32_t start, int32_t total);

// REQUIRES: `diagnostics` outlives the call (the manager's threads report to it until it returns).
StockSearchResult RunStockSearchSession(const StockSearchRequest& request, const DiagnosticsCollector& diagnostics,
                                        TerminalProgress& progress);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SEARCH_SESSION_H_
