#include "stock/can_connect_with_stock.h"

#include "stock/stock_access_token.h"

namespace zorvcapsule {

bool CanConnectWithStock(const std::string& clientId, const std::string& userCredential,
                         const std::shared_ptr<ClientStockConnection>& connection,
                         const std::u16string& accessToken) {
  AccessTokenDataPtr token;
  return FetchStockAccessToken(clientId, userCredential, connection, token, accessToken, true);
}

}  // namespace zorvcapsule
