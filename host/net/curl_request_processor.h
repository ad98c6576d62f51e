// CurlRequestProcessor: the RequestProcessor that carries requests out over HTTP and HTTPS with
// libcurl, all of them on one background thread of its own (its network thread).
//
// Every callback runs on the network thread, so a callback that blocks holds up every other
// transfer of the processor: hand long work elsewhere. The limits of configuration.h apply to every
// request; TLS verification is always on.
//
// Destroying the processor ends its unfinished requests: each gets its callback with
// RequestError::kShutdown, and the destructor returns once all of them have been called. (Should
// the last reference be dropped on the network thread itself, from a callback, the thread finishes
// this shutdown on its own after the destructor returns.)
//
// Thread safety: as RequestProcessor; any thread may use it, and it may be destroyed on any thread.

#ifndef ZORVCAPSULE_HOST_NET_CURL_REQUEST_PROCESSOR_H_
#define ZORVCAPSULE_HOST_NET_CURL_REQUEST_PROCESSOR_H_

#include <memory>
#include <thread>

#include "host/net/request_processor.h"

namespace zorvnet {

class TransferLoop;

class CurlRequestProcessor final : public RequestProcessor {
 public:
  // Null when libcurl cannot be set up or the thread cannot be started.
  static std::shared_ptr<CurlRequestProcessor> Create();
  ~CurlRequestProcessor() override;

  bool StartRequest(const zorvcore::Guid& requestId, Request request,
                    RequestCallback callback) override;
  void TryToCancelRequest(const zorvcore::Guid& requestId) override;

 private:
  explicit CurlRequestProcessor(std::shared_ptr<TransferLoop> loop);

  const std::shared_ptr<TransferLoop> loop_;
  std::thread thread_;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_CURL_REQUEST_PROCESSOR_H_
