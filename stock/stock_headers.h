// BuildStockHeaders: the header fields of a stock service request.
//
// Every request names the host's API key ("X-API-KEY"), its product ("X-PRODUCT") and the user's
// token ("Authorization: Bearer <token>"). Search requests add "X-PRODUCT-LOCATION" with the
// connection's product location, member-profile requests with the fixed "libraries/2.9"; licence
// and download requests carry no location.
//
// Thread safety: the header names are built once when the library loads and only read afterwards;
// BuildStockHeaders may be called from any thread.

#ifndef ZORVCAPSULE_STOCK_STOCK_HEADERS_H_
#define ZORVCAPSULE_STOCK_STOCK_HEADERS_H_

#include "host/core/immutable_string.h"
#include "host/net/header_map.h"
#include "stock/access_token_data.h"
#include "stock/client_stock_connection.h"

namespace zorvcapsule {

extern const zorvcore::ImmutableString kStockApiKeyHeader;           // "X-API-KEY"
extern const zorvcore::ImmutableString kStockProductHeader;          // "X-PRODUCT"
extern const zorvcore::ImmutableString kStockProductLocationHeader;  // "X-PRODUCT-LOCATION"
extern const zorvcore::ImmutableString kStockAuthorizationHeader;    // "Authorization"
extern const zorvcore::ImmutableString kMemberProfileProductLocation;  // "libraries/2.9"

// What a request is for; it decides the "X-PRODUCT-LOCATION" field.
enum class StockRequestKind { kSearch, kMemberProfile, kContentLicense, kDownload };

// The headers for `kind` with the deployment's API key (`stage` as read for the operation).
zorvnet::HeaderMap BuildStockHeaders(const ClientStockConnection& connection, const AccessTokenData& token,
                                     bool stage, StockRequestKind kind);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_HEADERS_H_
