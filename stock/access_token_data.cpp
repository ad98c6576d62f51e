#include "stock/access_token_data.h"

#include <utility>

#include "stock/stock_response.h"

namespace zorvcapsule {

using zorvcore::ImmutableString;
using zorvcore::serialization::JSONObject;

void ServiceAccountObject::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "ident", ident);
  ReadStockText(object, "serviceCode", serviceCode);
  ReadStockText(object, "serviceStatus", serviceStatus);
  ReadStockText(object, "serviceLevel", serviceLevel);
  ReadStockText(object, "ownerGuid", ownerGuid);
  ReadStockText(object, "delegateGuid", delegateGuid);
}

void ErrorData::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "error", error);
  ReadStockText(object, "redirect_uri", redirect_uri);
  ReadStockText(object, "jump", jump);
}

void ProfileData::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "access_token", access_token);
  ReadStockText(object, "refresh_token", refresh_token);
  ReadStockText(object, "email", email);
  ReadStockText(object, "userId", userId);
  ReadStockRecords(object, "serviceAccounts", serviceAccounts);
}

std::shared_ptr<AccessTokenData> AccessTokenData::FromToken(ImmutableString accessToken) {
  auto record = std::make_shared<AccessTokenData>();
  record->profile->access_token = std::move(accessToken);
  return record;
}

}  // namespace zorvcapsule
