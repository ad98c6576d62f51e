#include "host/net/global_request_processor.h"

#include <utility>

#include "host/net/curl_request_processor.h"

namespace zorvnet {

namespace http {

std::shared_ptr<RequestProcessor> GetGlobalRequestProcessor() {
  static const std::shared_ptr<RequestProcessor> processor = CurlRequestProcessor::Create();
  return processor;
}

}  // namespace http

bool GET(const zorvcore::Guid& requestId, RequestCallback callback,
         const zorvcore::ImmutableString& url, const HeaderMap& headers,
         const Configuration& configuration) {
  const std::shared_ptr<RequestProcessor> processor = http::GetGlobalRequestProcessor();
  return processor && processor->GET(requestId, std::move(callback), url, headers, configuration);
}

void TryToCancelRequest(const zorvcore::Guid& requestId) {
  if (const std::shared_ptr<RequestProcessor> processor = http::GetGlobalRequestProcessor()) {
    processor->TryToCancelRequest(requestId);
  }
}

}  // namespace zorvnet
