// TransferObserver: the host's own view of every request the network layer finishes, whoever made
// it. The library reports no request failure of its own (a failed stock search reads as an empty
// page), so a host that must tell "nothing found" from "the service did not answer" (the
// command-line host's exit status) watches the transfers themselves.
//
// One observer per process; it sees each finished request once, after its response is made and
// before the requester's callback runs, with the URL the request was made for. It is not told of
// requests refused before they started.
//
// Thread safety: SetTransferObserver may be called from any thread. The observer runs on the
// network thread, so it must be quick and must not block; it may run on another thread while
// SetTransferObserver replaces it, so what it captures must outlive its removal, or be shared.

#ifndef ZORVCAPSULE_HOST_NET_TRANSFER_OBSERVER_H_
#define ZORVCAPSULE_HOST_NET_TRANSFER_OBSERVER_H_

#include <functional>
#include <memory>
#include <string>

#include "host/net/response.h"

namespace zorvnet {

using TransferObserver = std::function<void(const std::string& url, const Response& response)>;

// Installs `observer` (empty: none) in place of the current one.
void SetTransferObserver(TransferObserver observer);

// Hands a finished request to the observer, if any; an exception it throws is reported and dropped.
void NotifyTransferObserver(const std::string& url, const Response& response);

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_TRANSFER_OBSERVER_H_
