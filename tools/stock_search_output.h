// What `capsule stock search` prints.
//
// --json: one object, {"total": T, "pages": [{"start": S, "entries": [...]}, ...]}, pages in
// delivery order; each entry has the members of `capsule catalogue --json` and the stock members
// premiumLevel, videoPreviewURL, isLicensed, creator and descriptionLoaded, plus thumbnailPath when
// thumbnails were asked for. Written with the host's JSON writer, indented for reading.
//
// Otherwise a table a person can read: one row per template in delivery order (asset ID, name,
// premium level, licensed, creator, frame size, package size, and the thumbnail and preview paths
// when asked for), then how many of how many templates arrived.
//
// Thread safety: write to the given stream from one thread; the JSON function is pure.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SEARCH_OUTPUT_H_
#define ZORVCAPSULE_TOOLS_STOCK_SEARCH_OUTPUT_H_

#include <ostream>
#include <string>

#include "tools/stock_search_session.h"

namespace capsuletool {

std::string StockSearchJSON(const StockSearchResult& result, bool withThumbnails);

void WriteStockSearchTable(std::ostream& out, const StockSearchRequest& request, const StockSearchResult& result);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SEARCH_OUTPUT_H_
