#include "host/net/request_processor.h"

#include <utility>

namespace zorvnet {

bool RequestProcessor::GET(const zorvcore::Guid& requestId, RequestCallback callback,
                           const zorvcore::ImmutableString& url, const HeaderMap& headers,
                           const Configuration& configuration) {
  Request request;
  request.url = url;
  request.headers = headers;
  request.configuration = configuration;
  return StartRequest(requestId, std::move(request), std::move(callback));
}

}  // namespace zorvnet
