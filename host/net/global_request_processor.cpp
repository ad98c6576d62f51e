#include "host/net/global_request_processor.h"

#include <utility>

#include "host/net/curl_request_processor.h"

namespace zorvnet {

namespace http {

namespace {

// Owns the process-wide processor. At exit it waits for the network thread, whoever else still holds
// the processor: libcurl's set-up registered the TLS library's exit handler before this object was
// made, so the thread is gone before that handler runs, and never races the process's end.
class GlobalProcessor {
 public:
  GlobalProcessor() : processor_(CurlRequestProcessor::Create()) {}
  GlobalProcessor(const GlobalProcessor&) = delete;
  GlobalProcessor& operator=(const GlobalProcessor&) = delete;
  ~GlobalProcessor() {
    if (processor_) processor_->Shutdown();
  }
  const std::shared_ptr<CurlRequestProcessor>& processor() const { return processor_; }

 private:
  const std::shared_ptr<CurlRequestProcessor> processor_;
};

}  // namespace

std::shared_ptr<RequestProcessor> GetGlobalRequestProcessor() {
  static const GlobalProcessor global;
  return global.processor();
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
