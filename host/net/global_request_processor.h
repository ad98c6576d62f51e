// The process-wide request processor, and GET and TryToCancelRequest on it.
//
// http::GetGlobalRequestProcessor makes one CurlRequestProcessor on first use and hands the same one
// to every caller until the process exits; at exit its unfinished requests end with
// RequestError::kShutdown and the exit waits for its network thread, even if a component still
// holds the processor then (later requests are refused). Components that want to end their own requests as a group wrap it with
// http::CreateProxyProcessor (proxy_request_processor.h).
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_HOST_NET_GLOBAL_REQUEST_PROCESSOR_H_
#define ZORVCAPSULE_HOST_NET_GLOBAL_REQUEST_PROCESSOR_H_

#include <memory>

#include "host/core/guid.h"
#include "host/core/immutable_string.h"
#include "host/net/configuration.h"
#include "host/net/header_map.h"
#include "host/net/request_processor.h"

namespace zorvnet {

namespace http {

// Null only when libcurl could not be set up.
std::shared_ptr<RequestProcessor> GetGlobalRequestProcessor();

}  // namespace http

// RequestProcessor::GET on the global processor; false when there is none.
bool GET(const zorvcore::Guid& requestId, RequestCallback callback,
         const zorvcore::ImmutableString& url, const HeaderMap& headers,
         const Configuration& configuration);

// RequestProcessor::TryToCancelRequest on the global processor.
void TryToCancelRequest(const zorvcore::Guid& requestId);

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_GLOBAL_REQUEST_PROCESSOR_H_
