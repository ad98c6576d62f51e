// CanConnectWithStock: whether the stock service can be used with the user's identity.
//
// The host asks before it shows stock features. A token the host already has counts at once (and
// becomes the cached token); otherwise a fresh token is fetched from the identity service, waited
// for up to kStockTokenFetchLimitMs, and cached when one comes.
//
// Thread safety: may be called from any thread; it blocks its caller while the token is fetched.

#ifndef ZORVCAPSULE_STOCK_CAN_CONNECT_WITH_STOCK_H_
#define ZORVCAPSULE_STOCK_CAN_CONNECT_WITH_STOCK_H_

#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "stock/client_stock_connection.h"

namespace zorvcapsule {

// True when a usable access token was had. False without a token and without a credential.
ZORVCAPSULE_EXPORT bool CanConnectWithStock(const std::string& clientId, const std::string& userCredential,
                                            const std::shared_ptr<ClientStockConnection>& connection,
                                            const std::u16string& accessToken);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_CAN_CONNECT_WITH_STOCK_H_
