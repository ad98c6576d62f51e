// FetchStockAccessToken: the user's access token for a stock request.
//
// Four roads, tried in order:
//  1. The host hands in a token (`accessToken` not empty): it becomes the cached token and is used;
//     the identity service is not asked.
//  2. A cached token exists and `force` is false: it is used.
//  3. Without a user credential or a connection there is no token.
//  4. The identity service is asked (IdentConnection::AsyncFetchAccessToken) with the connection's
//     token parameters of the chosen deployment and the stock scopes, and waited for up to
//     kStockTokenFetchLimitMs. A reply with a non-empty access token becomes the cached token; any
//     other outcome leaves the cache as it was. A reply that comes after the limit writes only into
//     its own abandoned record.
//
// Search and licence information use the cached token when there is one; the connection check and
// the template download force a fresh fetch.
//
// A reply that cannot be read (not JSON, members of the wrong type) never lets an error escape into
// the identity service's thread: the profile stays empty, so there is no token, and the reading
// failure's text is kept in `error->error` unless the service's own error text was read.
//
// Thread safety: may be called from any thread, by several at once (see the token cache).

#ifndef ZORVCAPSULE_STOCK_STOCK_ACCESS_TOKEN_H_
#define ZORVCAPSULE_STOCK_STOCK_ACCESS_TOKEN_H_

#include <string>

#include "stock/access_token_data.h"
#include "stock/client_stock_connection.h"

namespace zorvcapsule {

// True with `token` set to a usable token; false, with `token` untouched, when none was had.
bool FetchStockAccessToken(const std::string& clientId, const std::string& userCredential,
                           const ClientStockConnectionPtr& connection, AccessTokenDataPtr& token,
                           const std::u16string& accessToken, bool force);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_ACCESS_TOKEN_H_
