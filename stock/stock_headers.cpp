#include "stock/stock_headers.h"

#include <string>

#include "stock/stock_service.h"

namespace zorvcapsule {

using zorvcore::ImmutableString;

const ImmutableString kStockApiKeyHeader = ImmutableString::CreateStatic("X-API-KEY");
const ImmutableString kStockProductHeader = ImmutableString::CreateStatic("X-PRODUCT");
const ImmutableString kStockProductLocationHeader = ImmutableString::CreateStatic("X-PRODUCT-LOCATION");
const ImmutableString kStockAuthorizationHeader = ImmutableString::CreateStatic("Authorization");
const ImmutableString kMemberProfileProductLocation = ImmutableString::CreateStatic("libraries/2.9");

zorvnet::HeaderMap BuildStockHeaders(const ClientStockConnection& connection, const AccessTokenData& token,
                                     bool stage, StockRequestKind kind) {
  zorvnet::HeaderMap headers;
  headers.emplace(kStockApiKeyHeader, StockApiKey(connection, stage));
  headers.emplace(kStockProductHeader, connection.product);
  const std::string bearer =
      "Bearer " + (token.profile ? token.profile->access_token.str() : std::string());
  headers.emplace(kStockAuthorizationHeader, ImmutableString::CreateDynamic(bearer));
  if (kind == StockRequestKind::kSearch) {
    headers.emplace(kStockProductLocationHeader, connection.productLocation);
  } else if (kind == StockRequestKind::kMemberProfile) {
    headers.emplace(kStockProductLocationHeader, kMemberProfileProductLocation);
  }
  return headers;
}

}  // namespace zorvcapsule
