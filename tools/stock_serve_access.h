// The gate in front of the four stock endpoints that need the account (file search, member
// profile, content licence, download redirect) in `capsule stock serve`.
//
// In this order: a request the policy picks to fail is answered 503; one without the bearer token
// the identity endpoint issued ("Authorization: Bearer <token>") is refused with 401; one without
// the API key of its deployment ("X-API-KEY") with 403.
//
// Thread safety: call from any request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCESS_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCESS_H_

#include <httplib.h>

#include "tools/stock_serve_state.h"

namespace capsuletool {

// True when the request may be answered; otherwise `res` holds the refusal.
bool AdmitAccountRequest(ServedStock& stock, bool stage, const httplib::Request& req, httplib::Response& res);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCESS_H_
