#include "tools/stock_serve_identity.h"

#include "host/core/json_value.h"
#include "tools/stock_serve_reply.h"

namespace capsuletool {

namespace json = zorvcore::serialization;

namespace {

constexpr int64_t kTokenLifetimeSeconds = 24 * 3600;

}  // namespace

void HandleTokenRequest(const ServedAccount& account, const httplib::Request& req, httplib::Response& res) {
  if (req.get_param_value("grant_type") != "user_credential") {
    SetErrorReply(res, 400, "unsupported_grant_type", "the grant type must be user_credential");
    return;
  }
  if (req.get_param_value("client_id") != account.clientId) {
    SetErrorReply(res, 401, "invalid_client", "unknown client ID");
    return;
  }
  if (req.get_param_value("user_credential") != account.credential) {
    SetErrorReply(res, 401, "invalid_credentials", "the credential is not the one this service printed");
    return;
  }
  json::JSONObject token;
  json::AddToObject(token, "access_token", json::MakeJSONString(account.accessToken));
  json::AddToObject(token, "token_type", json::MakeJSONString("bearer"));
  json::AddToObject(token, "expires_in", json::MakeJSONInt64(kTokenLifetimeSeconds));
  json::AddToObject(token, "userId", json::MakeJSONString(account.clientId + "-user"));
  SetJSONReply(res, json::MakeJSONObject(std::move(token)));
}

}  // namespace capsuletool
