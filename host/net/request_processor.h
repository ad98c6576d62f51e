// RequestProcessor: carries out HTTP requests asynchronously.
//
// The caller names each request with a fresh Guid (Guid::CreateUnique), starts it and returns at
// once; the processor later calls the request's callback with the Response. The contract every
// processor keeps:
// - A request that StartRequest accepted (returned true) gets its callback called exactly once:
//   when it completes, when it fails, after TryToCancelRequest, and when the processor shuts down
//   with the request unfinished. A request StartRequest refused (returned false) never gets it.
// - The callback is called on a thread of the processor's own, never on the caller's thread inside
//   StartRequest, and never while the processor holds a lock; it may start or cancel requests. An
//   exception thrown by the callback is caught and reported (debug::ReportDiagnostic), never
//   passed on.
// - An empty callback is allowed: the request is carried out and its response dropped.
//
// Thread safety: every member may be called from any thread, including from inside a callback.

#ifndef ZORVCAPSULE_HOST_NET_REQUEST_PROCESSOR_H_
#define ZORVCAPSULE_HOST_NET_REQUEST_PROCESSOR_H_

#include <functional>
#include <memory>

#include "host/core/guid.h"
#include "host/core/immutable_string.h"
#include "host/net/configuration.h"
#include "host/net/header_map.h"
#include "host/net/request.h"
#include "host/net/response.h"

namespace zorvnet {

using RequestCallback =
    std::function<void(const zorvcore::Guid& requestId, std::shared_ptr<Response> response)>;

class RequestProcessor {
 public:
  RequestProcessor() = default;
  RequestProcessor(const RequestProcessor&) = delete;
  RequestProcessor& operator=(const RequestProcessor&) = delete;
  virtual ~RequestProcessor() = default;

  // Starts `request`. Returns false, without calling `callback`, when the request is malformed (see
  // Request), its id is already in use by an unfinished request, or the processor has shut down.
  virtual bool StartRequest(const zorvcore::Guid& requestId, Request request,
                            RequestCallback callback) = 0;

  // Asks for the request to end early. Its callback still comes, exactly once: with a Response
  // whose error is kCancelled, or with the request's own outcome if it ended first. An unknown or
  // finished id is ignored.
  virtual void TryToCancelRequest(const zorvcore::Guid& requestId) = 0;

  // Starts a GET of `url` with `headers` and `configuration`.
  bool GET(const zorvcore::Guid& requestId, RequestCallback callback,
           const zorvcore::ImmutableString& url, const HeaderMap& headers,
           const Configuration& configuration);
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_REQUEST_PROCESSOR_H_
