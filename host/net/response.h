// Response: what came back for one request.
//
// A request ends in one of two ways. It completed: the server answered and the whole answer
// arrived; the response then carries the HTTP status of the final answer (after any redirects that
// were followed), its header fields, its body and the URL that gave it. Or it failed: no complete
// answer was had (the connection or TLS handshake failed, a limit was hit, the request was
// cancelled or its processor shut down); the status is then 0, the headers and body are empty, and
// Error() says why. A status other than 0 thus always means a complete answer: a body cut short is
// never passed off as one.
//
// Thread safety: a Response never changes once made; any thread may read it.

#ifndef ZORVCAPSULE_HOST_NET_RESPONSE_H_
#define ZORVCAPSULE_HOST_NET_RESPONSE_H_

#include <memory>
#include <string>
#include <string_view>

#include "host/core/immutable_string.h"
#include "host/net/header_map.h"
#include "host/storage/recycled_memory.h"

namespace zorvnet {

using zorvstorage::RecycledMemory;

enum class RequestError {
  kNone,              // completed: the status and body are the server's
  kCancelled,         // TryToCancelRequest ended it
  kShutdown,          // its processor stopped before it ended
  kConnectFailed,     // the host could not be resolved or reached
  kTlsFailed,         // the TLS handshake failed, the certificate or host name did not verify
  kTimedOut,          // the connect, low-speed or overall time limit ran out
  kTooManyRedirects,  // the redirect chain was longer than kMaxRedirects
  kBodyTooLarge,      // the body was larger than the request's in-memory cap
  kSinkRefused,       // the request's body sink refused bytes
  kTransferFailed,    // any other transport failure (connection dropped, malformed answer, ...)
};

// A short English name for the error ("cancelled", "timed out", ...).
const char* RequestErrorName(RequestError error);

class Response {
 public:
  static std::shared_ptr<Response> Completed(int status, HeaderMap headers,
                                             std::shared_ptr<const RecycledMemory> payload,
                                             zorvcore::ImmutableString effectiveUrl);
  // REQUIRES: error is not kNone.
  static std::shared_ptr<Response> Failed(RequestError error, std::string detail);

  Response(const Response&) = delete;
  Response& operator=(const Response&) = delete;

  // The HTTP status of the final answer; 0 when the request failed.
  int StatusCode() const { return status_; }
  bool IsSuccess() const { return status_ >= 200 && status_ <= 299; }
  bool IsRedirect() const { return status_ >= 300 && status_ <= 399; }

  const HeaderMap& Headers() const { return headers_; }
  // The first value of the header field `name` (any case), or empty text when there is none.
  zorvcore::ImmutableString GetHeader(std::string_view name) const;
  bool HasHeader(std::string_view name) const;

  // The body; never null (an empty block when there is no body).
  const std::shared_ptr<const RecycledMemory>& Payload() const { return payload_; }
  // The body's bytes as text. They are handed on as they came; the reader of the text decides what
  // to do with bytes that are not well-formed UTF-8.
  std::string GetPayloadAsUTF8String() const;

  // The URL of the final answer, after followed redirects; empty when the request failed.
  const zorvcore::ImmutableString& EffectiveURL() const { return effectiveUrl_; }

  RequestError Error() const { return error_; }
  // What went wrong, in words, for diagnostics; empty when the request completed.
  const std::string& ErrorDetail() const { return errorDetail_; }

 private:
  Response(int status, HeaderMap headers, std::shared_ptr<const RecycledMemory> payload,
           zorvcore::ImmutableString effectiveUrl, RequestError error, std::string errorDetail);

  const int status_;
  const HeaderMap headers_;
  const std::shared_ptr<const RecycledMemory> payload_;
  const zorvcore::ImmutableString effectiveUrl_;
  const RequestError error_;
  const std::string errorDetail_;
};

using ResponsePtr = std::shared_ptr<Response>;

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_RESPONSE_H_
