// CheckRequest: whether a Request may be sent as it stands.
//
// A request is refused, before anything goes on the wire, when its method is not GET, POST or HEAD,
// its URL is not an absolute "http:" or "https:" URL, or a header field could forge others: a name
// that is not an HTTP token, or a value holding CR, LF or NUL.
//
// Thread safety: pure functions; any thread.

#ifndef ZORVCAPSULE_HOST_NET_REQUEST_CHECK_H_
#define ZORVCAPSULE_HOST_NET_REQUEST_CHECK_H_

#include <string>
#include <string_view>

#include "host/core/status.h"
#include "host/net/request.h"

namespace zorvnet {

// OK when the request may be sent; otherwise InvalidArgument saying why.
zorvcore::Status CheckRequest(const Request& request);

bool IsHeaderName(std::string_view name);
bool IsHeaderValue(std::string_view value);
// An absolute URL whose scheme is "http" or "https" (any case) and that names a host.
bool IsHttpURL(std::string_view url);
// An absolute "https:" URL (any case) that names a host: the only kind a credential may travel to.
bool IsSecureURL(std::string_view url);

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_REQUEST_CHECK_H_
