#include "stock/stock_request.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "host/core/gate.h"
#include "host/core/guid.h"
#include "host/net/global_request_processor.h"
#include "host/net/request_check.h"
#include "stock/stock_headers.h"

namespace zorvcapsule {
namespace {

using Clock = std::chrono::steady_clock;

// What the waiter and the request's callback share. The callback writes the response before it opens
// the gate; the waiter reads it only after passing the gate, whose lock orders the two.
struct ResponseSlot {
  zorvcore::Gate answered;
  zorvnet::ResponsePtr response;
};

// Waits for the answer; false when the limit ran out or the token was aborted first.
bool WaitForAnswer(zorvcore::Gate& answered, int limitMs, const CheckCancelPtr& cancel) {
  if (!cancel) return answered.PassThrough(limitMs);
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!cancel->GetAbort()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return answered.IsOpen();
    const int slice = static_cast<int>(std::min<int64_t>(left.count(), kStockCancelPollMs));
    if (answered.PassThrough(slice)) return true;
  }
  return false;
}

}  // namespace

bool CarriesStockCredentials(const zorvnet::HeaderMap& headers) {
  return headers.count(kStockAuthorizationHeader) > 0 || headers.count(kStockApiKeyHeader) > 0;
}

zorvnet::Configuration StockRequestConfiguration() { return zorvnet::Configuration(false, true, true); }

zorvnet::Configuration StockRedirectRequestConfiguration() {
  return zorvnet::Configuration(false, true, false);
}

zorvnet::ResponsePtr RunStockRequest(zorvnet::RequestProcessor& processor,
                                     const zorvcore::ImmutableString& url,
                                     const zorvnet::HeaderMap& headers,
                                     const zorvnet::Configuration& configuration, int limitMs,
                                     const CheckCancelPtr& cancel) {
  if (url.empty()) return nullptr;
  if (CarriesStockCredentials(headers) && !zorvnet::IsSecureURL(url.view())) return nullptr;
  auto slot = std::make_shared<ResponseSlot>();
  auto callback = [slot](const zorvcore::Guid&, zorvnet::ResponsePtr response) {
    slot->response = std::move(response);
    slot->answered.Open();
  };
  const zorvcore::Guid requestId = zorvcore::Guid::CreateUnique();
  if (!processor.GET(requestId, std::move(callback), url, headers, configuration)) return nullptr;
  if (!WaitForAnswer(slot->answered, limitMs, cancel)) {
    processor.TryToCancelRequest(requestId);
    slot->answered.PassThrough(zorvcore::Gate::kWaitForever);
  }
  return slot->response;
}

zorvnet::ResponsePtr RunStockRequest(const zorvcore::ImmutableString& url,
                                     const zorvnet::HeaderMap& headers,
                                     const zorvnet::Configuration& configuration, int limitMs,
                                     const CheckCancelPtr& cancel) {
  const std::shared_ptr<zorvnet::RequestProcessor> processor = zorvnet::http::GetGlobalRequestProcessor();
  if (!processor) return nullptr;
  return RunStockRequest(*processor, url, headers, configuration, limitMs, cancel);
}

bool IsSuccessfulStockResponse(const zorvnet::ResponsePtr& response) {
  return response && response->IsSuccess();
}

}  // namespace zorvcapsule
