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
#include <mutex>
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

  // Ends the unfinished requests as destruction does and waits for the network thread to end, even
  // while other components still hold the processor; StartRequest refuses from then on. An owner
  // that must know the thread is gone by a certain point (before the process's exit handlers tear
  // down the TLS library, whose per-thread state the thread would otherwise leave behind) calls it.
  // Called on the network thread itself, it only stops the processor.
  // REQUIRES: the caller holds a reference to the processor for the duration of the call.
  void Shutdown();

 private:
  explicit CurlRequestProcessor(std::shared_ptr<TransferLoop> loop);

  const std::shared_ptr<TransferLoop> loop_;
  std::mutex threadMutex_;  // orders Shutdown callers; the destructor cannot overlap them
  std::thread thread_;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_CURL_REQUEST_PROCESSOR_H_
