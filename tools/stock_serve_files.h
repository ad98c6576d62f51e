// The files `capsule stock serve` hands out without credentials, below the random root of
// tools/stock_serve_addresses.h: a package's description, still thumbnail and preview video (its
// video thumbnail), read from the package when asked for, and the package itself, streamed from the
// file in the served folder byte for byte. A missing asset or member is answered 404. These
// requests never fail on purpose.
//
// Thread safety: call from any request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_FILES_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_FILES_H_

#include <httplib.h>

#include <string>

#include "tools/stock_serve_state.h"

namespace capsuletool {

// `assetId` and `member` come from the request's path; the query's "locale" picks a thumbnail.
void HandleAssetMember(const ServedStock& stock, const std::string& assetId, const std::string& member,
                       const httplib::Request& req, httplib::Response& res);
void HandlePackage(const ServedStock& stock, const std::string& assetId, httplib::Response& res);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_FILES_H_
