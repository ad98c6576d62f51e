#include "host/net/transfer_observer.h"

#include <exception>
#include <mutex>
#include <utility>

#include "host/core/debug.h"

namespace zorvnet {
namespace {

std::mutex observerMutex;
// Shared so that a call in flight keeps the observer it started with alive while it is replaced.
std::shared_ptr<const TransferObserver> currentObserver;

std::shared_ptr<const TransferObserver> CurrentObserver() {
  std::lock_guard<std::mutex> lock(observerMutex);
  return currentObserver;
}

}  // namespace

void SetTransferObserver(TransferObserver observer) {
  auto replacement = observer ? std::make_shared<const TransferObserver>(std::move(observer)) : nullptr;
  std::lock_guard<std::mutex> lock(observerMutex);
  currentObserver = std::move(replacement);
}

void NotifyTransferObserver(const std::string& url, const Response& response) {
  const std::shared_ptr<const TransferObserver> observer = CurrentObserver();
  if (!observer) return;
  try {
    (*observer)(url, response);
  } catch (const std::exception& e) {
    zorvcore::debug::ReportDiagnostic("zorvnet::TransferObserver", std::string("observer threw: ") + e.what());
  } catch (...) {
    zorvcore::debug::ReportDiagnostic("zorvnet::TransferObserver", "observer threw an unknown exception");
  }
}

}  // namespace zorvnet
