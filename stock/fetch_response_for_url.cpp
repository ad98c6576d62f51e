#include "stock/fetch_response_for_url.h"

#include "stock/stock_request.h"

namespace zorvcapsule {

std::shared_ptr<zorvnet::Response> FetchResponseForURL(const std::string& url) {
  if (url.empty()) return nullptr;
  return RunStockRequest(zorvcore::ImmutableString::CreateDynamic(url), zorvnet::HeaderMap(),
                         StockRequestConfiguration(), kStockRequestLimitMs);
}

}  // namespace zorvcapsule
