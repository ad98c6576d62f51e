#include "tools/stock_serve_access.h"

#include "tools/stock_serve_reply.h"

namespace capsuletool {

bool AdmitAccountRequest(ServedStock& stock, bool stage, const httplib::Request& req, httplib::Response& res) {
  if (stock.policy.DrawFailure()) {
    res.set_header("Retry-After", "1");
    SetErrorReply(res, 503, "service_unavailable", "failing on purpose (--fail-rate)");
    return false;
  }
  if (req.get_header_value("Authorization") != "Bearer " + stock.account.accessToken) {
    res.set_header("WWW-Authenticate", "Bearer");
    SetErrorReply(res, 401, "invalid_token", "the request needs the bearer token of the identity endpoint");
    return false;
  }
  if (req.get_header_value("X-API-KEY") != stock.account.ApiKey(stage)) {
    SetErrorReply(res, 403, "invalid_api_key",
                  std::string("the request needs the connection record's ") +
                      (stage ? "apiKeyStage" : "apiKeyProduction"));
    return false;
  }
  return true;
}

}  // namespace capsuletool
