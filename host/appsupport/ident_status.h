// IDENT_STATUS: how an access-token fetch of the identity service ended.
//
// 0 is success: the service answered 2xx and the reply is its JSON. Every other value is a failure;
// with kIdentStatusRejected and kIdentStatusServerError the reply is still the service's answer
// (usually a JSON object with an "error" member), otherwise it is empty.
//
// Thread safety: constants.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_IDENT_STATUS_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_IDENT_STATUS_H_

#include <cstdint>

namespace zorvappsupport {

enum IDENT_STATUS : int32_t {
  kIdentStatusOK = 0,
  // No answer: the service could not be reached, TLS did not verify, a time limit ran out, the
  // reply was too large or a redirect chain too long.
  kIdentStatusNetworkError = 1,
  // The service refused the request (4xx): a wrong, expired or revoked credential, or parameters it
  // does not accept.
  kIdentStatusRejected = 2,
  // The service failed (5xx) or gave an answer that is neither success nor refusal.
  kIdentStatusServerError = 3,
  // The fetch was cancelled, or the request processor shut down, before an answer came.
  kIdentStatusCancelled = 4,
};

}  // namespace zorvappsupport

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_IDENT_STATUS_H_
