#include "host/appsupport/http_download_manager.h"

#include <utility>

#include "host/appsupport/download_scheduler.h"
#include "host/net/global_request_processor.h"
#include "host/net/proxy_request_processor.h"

namespace zorvappsupport::http {

HTTPDownloadManager::HTTPDownloadManager(unsigned maxConcurrentDownloads,
                                         unsigned writeBufferBytes)
    : scheduler_(std::make_shared<DownloadScheduler>(
          maxConcurrentDownloads, writeBufferBytes,
          zorvnet::http::CreateProxyProcessor(zorvnet::http::GetGlobalRequestProcessor()))) {}

HTTPDownloadManager::~HTTPDownloadManager() {
  scheduler_->Flush();
  scheduler_->ForgetOwner();
}

void HTTPDownloadManager::OverrideRequestProcessor(
    std::shared_ptr<zorvnet::RequestProcessor> processor) {
  scheduler_->SetProcessor(std::move(processor));
}

std::shared_ptr<HTTPDownloadStream> HTTPDownloadManager::NewDownload(
    const zorvcore::ImmutableString& url, const zorvcore::File& file,
    const zorvnet::HeaderMap& headers, bool replaceExisting) {
  std::shared_ptr<HTTPDownloadStream> stream(
      new HTTPDownloadStream(url, file, headers, replaceExisting, this));
  scheduler_->Add(stream);
  return stream;
}

void HTTPDownloadManager::FlushAllDownloads() { scheduler_->Flush(); }

size_t HTTPDownloadManager::QueuedDownloadCount() const { return scheduler_->QueuedCount(); }

size_t HTTPDownloadManager::ActiveDownloadCount() const { return scheduler_->ActiveCount(); }

}  // namespace zorvappsupport::http
