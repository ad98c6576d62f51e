#include "stock/stock_access_token.h"

#include <exception>
#include <memory>
#include <utility>

#include "host/appsupport/ident_connection.h"
#include "host/core/gate.h"
#include "host/core/immutable_string.h"
#include "host/core/unicode.h"
#include "stock/stock_request.h"
#include "stock/stock_response.h"
#include "stock/stock_service.h"
#include "stock/stock_token_cache.h"

namespace zorvcapsule {
namespace {

using zorvcore::ImmutableString;

// Reads the identity service's reply into `record`: the profile on success, the error otherwise.
// Never throws; see the header for what a failed read leaves.
void ReadIdentityReply(int32_t status, const char* reply, AccessTokenData& record) {
  try {
    if (status == zorvappsupport::kIdentStatusOK) {
      ParseStockResponse(reply, *record.profile);
    } else {
      ParseStockResponse(reply, *record.error);
    }
  } catch (const std::exception& error) {
    if (record.error->error.empty()) record.error->error = ImmutableString::CreateDynamic(error.what());
  } catch (...) {
    if (record.error->error.empty()) record.error->error = ImmutableString::CreateStatic("unreadable reply");
  }
  record.error->status = status;
}

// Road 4: asks the identity service and waits. The record and the gate are shared with the callback,
// which may come after the wait gave up.
AccessTokenDataPtr FetchFromIdentityService(const std::string& clientId, const std::string& userCredential,
                                            const ClientStockConnection& connection) {
  auto record = std::make_shared<AccessTokenData>();
  auto answered = std::make_shared<zorvcore::Gate>();
  const bool stage = UseStockStage();
  zorvappsupport::IdentConnection identity(clientId);
  const bool started = identity.AsyncFetchAccessToken(
      !stage, userCredential, StockTokenParamA(connection, stage).str(),
      StockTokenParamB(connection, stage).str(), std::string(kStockIdentityScopes),
      [record, answered](zorvappsupport::IDENT_STATUS status, const char* reply) {
        ReadIdentityReply(status, reply ? reply : "", *record);
        answered->Open();
      });
  if (!started || !answered->PassThrough(kStockTokenFetchLimitMs)) return nullptr;
  return record->IsUsable() ? record : nullptr;
}

}  // namespace

bool FetchStockAccessToken(const std::string& clientId, const std::string& userCredential,
                           const ClientStockConnectionPtr& connection, AccessTokenDataPtr& token,
                           const std::u16string& accessToken, bool force) {
  if (!accessToken.empty()) {
    token = AccessTokenData::FromToken(ImmutableString::CreateDynamic(zorvcore::UTF16ToUTF8(accessToken)));
    SetCachedAccessToken(token);
    return true;
  }
  if (!force) {
    if (AccessTokenDataPtr cached = GetCachedAccessToken()) {
      token = std::move(cached);
      return true;
    }
  }
  if (userCredential.empty() || !connection) return false;
  AccessTokenDataPtr fetched = FetchFromIdentityService(clientId, userCredential, *connection);
  if (!fetched) return false;
  SetCachedAccessToken(fetched);
  token = std::move(fetched);
  return true;
}

}  // namespace zorvcapsule
