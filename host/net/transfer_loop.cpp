#include "host/net/transfer_loop.h"

#include <exception>
#include <utility>

#include "host/core/debug.h"
#include "host/net/curl_global.h"
#include "host/net/transfer_observer.h"

namespace zorvnet {
namespace {

// How long the thread sleeps in libcurl when nothing happens; every wish wakes it sooner, so this
// only bounds the wait should a wake-up ever be lost.
constexpr int kIdlePollMs = 1000;

void CallBack(RequestCallback& callback, const zorvcore::Guid& id,
              std::shared_ptr<Response> response) {
  if (!callback) return;
  try {
    callback(id, std::move(response));
  } catch (const std::exception& e) {
    zorvcore::debug::ReportDiagnostic(
        "zorvnet::RequestProcessor", std::string("request callback threw: ") + e.what());
  } catch (...) {
    zorvcore::debug::ReportDiagnostic("zorvnet::RequestProcessor",
                                      "request callback threw an unknown exception");
  }
}

}  // namespace

std::shared_ptr<TransferLoop> TransferLoop::Create() {
  if (!EnsureCurlInitialized()) return nullptr;
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) return nullptr;
  return std::shared_ptr<TransferLoop>(new TransferLoop(multi));
}

TransferLoop::TransferLoop(CURLM* multi) : multi_(multi) {}

TransferLoop::~TransferLoop() {
  for (auto& [easy, transfer] : active_) curl_multi_remove_handle(multi_, easy);
  active_.clear();
  curl_multi_cleanup(multi_);
}

bool TransferLoop::Submit(std::unique_ptr<CurlTransfer> transfer) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || !unfinished_.insert(transfer->id()).second) return false;
    incoming_.push_back(std::move(transfer));
  }
  Wake();
  return true;
}

void TransferLoop::Cancel(const zorvcore::Guid& id) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!unfinished_.contains(id)) return;
    cancels_.push_back(id);
  }
  Wake();
}

void TransferLoop::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  Wake();
}

void TransferLoop::Wake() { curl_multi_wakeup(multi_); }

void TransferLoop::Run() {
  for (;;) {
    std::vector<std::unique_ptr<CurlTransfer>> incoming;
    std::vector<zorvcore::Guid> cancels;
    bool stopping = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      incoming.swap(incoming_);
      cancels.swap(cancels_);
      stopping = stopping_;
    }
    for (auto& transfer : incoming) Activate(std::move(transfer));
    for (const auto& id : cancels) Abort(id, RequestError::kCancelled, "the request was cancelled");
    if (stopping) break;

    int running = 0;
    curl_multi_perform(multi_, &running);
    CollectFinished();
    curl_multi_poll(multi_, nullptr, 0, kIdlePollMs, nullptr);
  }
  // Submit refuses once stopping_ is set, so nothing can arrive after the last swap above.
  while (!active_.empty()) {
    Abort(active_.begin()->second->id(), RequestError::kShutdown,
          "the request processor shut down");
  }
}

void TransferLoop::Activate(std::unique_ptr<CurlTransfer> transfer) {
  CURL* easy = transfer->handle();
  if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
    Deliver(std::move(transfer), Response::Failed(RequestError::kTransferFailed,
                                                  "libcurl refused the transfer"));
    return;
  }
  active_.emplace(easy, std::move(transfer));
}

void TransferLoop::Abort(const zorvcore::Guid& id, RequestError error, const char* detail) {
  for (auto& [easy, transfer] : active_) {
    if (transfer->id() == id) {
      Deliver(Detach(easy), Response::Failed(error, detail));
      return;
    }
  }
}

void TransferLoop::CollectFinished() {
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
    if (message->msg != CURLMSG_DONE) continue;
    // The message is gone once its handle is removed, so take what it says first.
    CURL* easy = message->easy_handle;
    const CURLcode result = message->data.result;
    std::unique_ptr<CurlTransfer> transfer = Detach(easy);
    if (!transfer) continue;
    std::shared_ptr<Response> response = transfer->Finish(result);
    Deliver(std::move(transfer), std::move(response));
  }
}

std::unique_ptr<CurlTransfer> TransferLoop::Detach(CURL* easy) {
  const auto found = active_.find(easy);
  if (found == active_.end()) return nullptr;
  std::unique_ptr<CurlTransfer> transfer = std::move(found->second);
  active_.erase(found);
  curl_multi_remove_handle(multi_, easy);
  return transfer;
}

void TransferLoop::Deliver(std::unique_ptr<CurlTransfer> transfer,
                           std::shared_ptr<Response> response) {
  const zorvcore::Guid id = transfer->id();
  RequestCallback callback = transfer->TakeCallback();
  NotifyTransferObserver(transfer->url().str(), *response);
  transfer.reset();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    unfinished_.erase(id);
  }
  CallBack(callback, id, std::move(response));
}

}  // namespace zorvnet
