// FetchResponseForURL: an anonymous GET, waited for up to kStockRequestLimitMs.
//
// The stock source fetches descriptions and thumbnails with it, and the host may use it for any
// address the service handed out. No header is sent, so no token ever reaches a third-party address.
//
// Thread safety: may be called from any thread; it blocks its caller (see stock_request.h).

#ifndef ZORVCAPSULE_STOCK_FETCH_RESPONSE_FOR_URL_H_
#define ZORVCAPSULE_STOCK_FETCH_RESPONSE_FOR_URL_H_

#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "host/net/response.h"

namespace zorvcapsule {

// The response as delivered (a failed, timed-out or cancelled one included: test it for a status in
// 200..299), or an empty pointer for an empty URL or a request that could not be started (not an
// absolute http(s) URL, say).
ZORVCAPSULE_EXPORT std::shared_ptr<zorvnet::Response> FetchResponseForURL(const std::string& url);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_FETCH_RESPONSE_FOR_URL_H_
