// ProxyRequestProcessor: a RequestProcessor that hands its requests to another one and keeps
// account of those still unfinished, so that its owner can end them all at once.
//
// A component that shares a processor with others (the process-wide one, say) makes a proxy of its
// own: CancelAll then ends only the component's requests, never its neighbours'. Callbacks come as
// the target processor delivers them, on its thread, exactly once per accepted request. Destroying
// the proxy cancels its unfinished requests; their callbacks still come, later, from the target.
//
// Thread safety: as RequestProcessor; any thread may use it, and it may be destroyed on any thread
// (also from inside one of its requests' callbacks).

#ifndef ZORVCAPSULE_HOST_NET_PROXY_REQUEST_PROCESSOR_H_
#define ZORVCAPSULE_HOST_NET_PROXY_REQUEST_PROCESSOR_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <set>

#include "host/net/request_processor.h"

namespace zorvnet {

class ProxyRequestProcessor final : public RequestProcessor {
 public:
  // REQUIRES: target is not null.
  explicit ProxyRequestProcessor(std::shared_ptr<RequestProcessor> target);
  ~ProxyRequestProcessor() override;

  bool StartRequest(const zorvcore::Guid& requestId, Request request,
                    RequestCallback callback) override;
  void TryToCancelRequest(const zorvcore::Guid& requestId) override;

  // Asks the target to end every unfinished request made through this proxy.
  void CancelAll();
  // The number of requests made through this proxy whose callbacks have not yet returned.
  size_t UnfinishedCount() const;

  const std::shared_ptr<RequestProcessor>& Target() const { return target_; }

 private:
  // The ids of unfinished requests; shared with the wrapped callbacks, which may outlive the proxy.
  struct Ledger {
    mutable std::mutex mutex;
    std::set<zorvcore::Guid> unfinished;
  };

  const std::shared_ptr<RequestProcessor> target_;
  const std::shared_ptr<Ledger> ledger_;
};

namespace http {

// A proxy over `processor`; null when processor is null.
std::shared_ptr<ProxyRequestProcessor> CreateProxyProcessor(
    std::shared_ptr<RequestProcessor> processor);

}  // namespace http
}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_PROXY_REQUEST_PROCESSOR_H_
