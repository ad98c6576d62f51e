// Request: what to ask of a server.
//
// A request names its method, URL, header fields and, for POST, its body. By default the answer's
// body is collected in memory and handed back in the Response. A request that sets bodySink instead
// has the body of a successful (2xx) answer handed to the sink as it arrives, for transfers that go
// straight to disk; the in-memory cap does not apply to such a body, and the Response's payload is
// then empty. The body of any other answer is still collected in memory.
//
// Thread safety: a plain value. The sink is called on the processor's network thread, one call at a
// time; it must not block for long, since every transfer of the processor waits for it.

#ifndef ZORVCAPSULE_HOST_NET_REQUEST_H_
#define ZORVCAPSULE_HOST_NET_REQUEST_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "host/core/immutable_string.h"
#include "host/net/configuration.h"
#include "host/net/header_map.h"

namespace zorvnet {

// Takes the next `size` bytes of a successful answer's body. `expectedTotal` is the body length the
// server announced, or -1 when it announced none. Returning false (or throwing) ends the request
// as failed with RequestError::kSinkRefused.
using BodySink = std::function<bool(const uint8_t* data, size_t size, int64_t expectedTotal)>;

struct Request {
  // "GET", "POST" or "HEAD"; other methods are refused.
  zorvcore::ImmutableString method = zorvcore::ImmutableString::CreateStatic("GET");
  // An absolute "http:" or "https:" URL.
  zorvcore::ImmutableString url;
  // Names must be HTTP tokens and values must not hold CR, LF or NUL; a request breaking this rule
  // is refused rather than sent with a forged header.
  HeaderMap headers;
  // The body sent with POST; ignored for other methods.
  std::string body;
  Configuration configuration;
  // Optional; see above.
  BodySink bodySink;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_REQUEST_H_
