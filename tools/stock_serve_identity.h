// The identity token endpoint of `capsule stock serve` (POST "<tree>/ident/token").
//
// It takes the form the library's identity client sends (host/appsupport/ident_connection.h) and
// trades the account's credential, given with its client ID and the grant type "user_credential",
// for the account's access token: {"access_token", "token_type", "expires_in", "userId"}. Anything
// else is refused as the identity service refuses it: 400 for another grant type, 401 with
// {"error": "invalid_client"} or {"error": "invalid_credentials"}. It never fails on purpose.
//
// Thread safety: call from any request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_IDENTITY_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_IDENTITY_H_

#include <httplib.h>

#include "tools/stock_serve_account.h"

namespace capsuletool {

void HandleTokenRequest(const ServedAccount& account, const httplib::Request& req, httplib::Response& res);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_IDENTITY_H_
