// IdentConnection: the client of the host's identity service, which trades a user's credential for
// an access token at an OAuth-style token endpoint.
//
// AsyncFetchAccessToken POSTs one form ("application/x-www-form-urlencoded", see form_body.h) with
// the header "Accept: application/json". Its fields, in this order:
//
//   "grant_type"          "user_credential" (fixed)
//   "client_id"           the client identifier given to the constructor
//   "user_credential"     the user's credential
//   "connection_param_a"  the first connection text, passed through unchanged
//   "connection_param_b"  the second connection text, passed through unchanged
//   "scope"               the scopes, as given (comma-separated names)
//
// The endpoint is the URL of the host setting "Identity.ServiceURL" for the production service, or
// "Identity.StageServiceURL" for the stage service, read afresh at every fetch. There is no built-in
// default: with the setting empty the fetch is not started.
//
// The callback is called exactly once per started fetch, on the request processor's network thread,
// with an IDENT_STATUS (ident_status.h) and the reply as NUL-terminated text (never null):
// - 2xx: kIdentStatusOK and the service's JSON reply, handed on unread;
// - 4xx: kIdentStatusRejected and the service's reply (its error description);
// - any other status: kIdentStatusServerError and the service's reply;
// - no answer: kIdentStatusNetworkError, or kIdentStatusCancelled when the processor shut down or
//   the request was cancelled; the reply is then empty.
// A fetch may take at most kFetchTimeLimitMs in all, and a reply may not exceed kMaxReplyBytes.
//
// A fetch does not depend on the connection that started it: the connection may be destroyed right
// after AsyncFetchAccessToken returns, and the callback still comes.
//
// Thread safety: a connection may be used from any thread, by several at once.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_IDENT_CONNECTION_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_IDENT_CONNECTION_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/appsupport/ident_status.h"
#include "host/net/request_processor.h"

namespace zorvappsupport {

class IdentConnection {
 public:
  using FetchCallback = std::function<void(IDENT_STATUS status, const char* reply)>;

  static constexpr const char* kServiceURLSetting = "Identity.ServiceURL";
  static constexpr const char* kStageServiceURLSetting = "Identity.StageServiceURL";
  static constexpr int64_t kFetchTimeLimitMs = 60000;
  static constexpr int64_t kMaxReplyBytes = 1024 * 1024;

  // Fetches go through the process-wide request processor.
  explicit IdentConnection(std::string clientId);
  // Fetches go through `processor` (tests give their own).
  IdentConnection(std::string clientId, std::shared_ptr<zorvnet::RequestProcessor> processor);

  IdentConnection(const IdentConnection&) = delete;
  IdentConnection& operator=(const IdentConnection&) = delete;

  // Starts a fetch; see above. Returns false, and never calls `callback`, when the client identifier
  // or the credential is empty, the endpoint setting is empty or not an http(s) URL, or the request
  // processor refuses the request.
  bool AsyncFetchAccessToken(bool production, const std::string& userCredential,
                             const std::string& paramA, const std::string& paramB,
                             const std::string& scopes, FetchCallback callback);

  const std::string& ClientId() const { return clientId_; }

 private:
  zorvnet::Request MakeRequest(const std::string& url, const std::string& userCredential,
                               const std::string& paramA, const std::string& paramB,
                               const std::string& scopes) const;

  const std::string clientId_;
  const std::shared_ptr<zorvnet::RequestProcessor> processor_;
};

}  // namespace zorvappsupport

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_IDENT_CONNECTION_H_
