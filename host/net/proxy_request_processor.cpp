#include "host/net/proxy_request_processor.h"

#include <utility>
#include <vector>

namespace zorvnet {

ProxyRequestProcessor::ProxyRequestProcessor(std::shared_ptr<RequestProcessor> target)
    : target_(std::move(target)), ledger_(std::make_shared<Ledger>()) {}

ProxyRequestProcessor::~ProxyRequestProcessor() { CancelAll(); }

bool ProxyRequestProcessor::StartRequest(const zorvcore::Guid& requestId, Request request,
                                         RequestCallback callback) {
  {
    // Entered before the target sees the request, so a callback that comes at once finds it.
    std::lock_guard<std::mutex> lock(ledger_->mutex);
    if (!ledger_->unfinished.insert(requestId).second) return false;
  }
  RequestCallback wrapped = [ledger = ledger_, callback = std::move(callback)](
                                const zorvcore::Guid& id, std::shared_ptr<Response> response) {
    // Erased only after the callback returns, so UnfinishedCount() == 0 means every callback is done.
    struct Erase {
      Ledger& ledger;
      const zorvcore::Guid& id;
      ~Erase() {
        std::lock_guard<std::mutex> lock(ledger.mutex);
        ledger.unfinished.erase(id);
      }
    } erase{*ledger, id};
    if (callback) callback(id, std::move(response));
  };
  if (target_->StartRequest(requestId, std::move(request), std::move(wrapped))) return true;
  std::lock_guard<std::mutex> lock(ledger_->mutex);
  ledger_->unfinished.erase(requestId);
  return false;
}

void ProxyRequestProcessor::TryToCancelRequest(const zorvcore::Guid& requestId) {
  {
    std::lock_guard<std::mutex> lock(ledger_->mutex);
    if (!ledger_->unfinished.contains(requestId)) return;
  }
  target_->TryToCancelRequest(requestId);
}

void ProxyRequestProcessor::CancelAll() {
  std::vector<zorvcore::Guid> ids;
  {
    std::lock_guard<std::mutex> lock(ledger_->mutex);
    ids.assign(ledger_->unfinished.begin(), ledger_->unfinished.end());
  }
  for (const auto& id : ids) target_->TryToCancelRequest(id);
}

size_t ProxyRequestProcessor::UnfinishedCount() const {
  std::lock_guard<std::mutex> lock(ledger_->mutex);
  return ledger_->unfinished.size();
}

namespace http {

std::shared_ptr<ProxyRequestProcessor> CreateProxyProcessor(
    std::shared_ptr<RequestProcessor> processor) {
  if (!processor) return nullptr;
  return std::make_shared<ProxyRequestProcessor>(std::move(processor));
}

}  // namespace http
}  // namespace zorvnet
