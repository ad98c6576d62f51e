#include "host/net/curl_request_processor.h"

#include <string>
#include <system_error>
#include <utility>

#include "host/net/curl_transfer.h"
#include "host/net/transfer_loop.h"

namespace zorvnet {

std::shared_ptr<CurlRequestProcessor> CurlRequestProcessor::Create() {
  std::shared_ptr<TransferLoop> loop = TransferLoop::Create();
  if (!loop) return nullptr;
  std::shared_ptr<CurlRequestProcessor> processor(new CurlRequestProcessor(loop));
  try {
    // The thread keeps the loop alive on its own, in case the processor goes first (see Stop below).
    processor->thread_ = std::thread([loop] { loop->Run(); });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return processor;
}

CurlRequestProcessor::CurlRequestProcessor(std::shared_ptr<TransferLoop> loop)
    : loop_(std::move(loop)) {}

CurlRequestProcessor::~CurlRequestProcessor() {
  loop_->Stop();
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

void CurlRequestProcessor::Shutdown() {
  loop_->Stop();
  std::lock_guard<std::mutex> lock(threadMutex_);
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool CurlRequestProcessor::StartRequest(const zorvcore::Guid& requestId, Request request,
                                        RequestCallback callback) {
  // A refused request is the caller's mistake; the caller is told by the false, nothing is logged.
  std::unique_ptr<CurlTransfer> transfer;
  if (!CurlTransfer::Create(requestId, std::move(request), std::move(callback), &transfer).ok()) {
    return false;
  }
  return loop_->Submit(std::move(transfer));
}

void CurlRequestProcessor::TryToCancelRequest(const zorvcore::Guid& requestId) {
  loop_->Cancel(requestId);
}

}  // namespace zorvnet
