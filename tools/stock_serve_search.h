// The file search of `capsule stock serve` (GET "<tree>/Rest/Media/1/Search/Files"), answered
// from the served catalogue.
//
// Query parameters, as the library sends them (others are accepted and ignored):
//   search_parameters[words]               words separated by spaces; found as the catalogue's word
//                                          search finds them; without words, every template
//   search_parameters[offset], [limit]     the page: 0..2^31-1 and 0..1000 (default 0 and 100)
//   search_parameters[filters][premium]    "all" (the default), "true" or "false"; every served
//                                          template is free (premium level 0)
//   search_parameters[filters][tplx_source][]  "tsgraphic" and/or "qzgraphic": the templates of the
//                                          editing or the compositing application only
//   locale                                 picks the localized thumbnails
//   result_columns[]                       the columns to answer; all 17 when none is named
// The answer is {"nb_results": N, "files": [...]}, the files in asset-ID order; a parameter out of
// range is refused with 400.
//
// Thread safety: call from any request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_SEARCH_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_SEARCH_H_

#include <httplib.h>

#include "tools/stock_serve_state.h"

namespace capsuletool {

void HandleFileSearch(ServedStock& stock, const httplib::Request& req, httplib::Response& res);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_SEARCH_H_
