#include "stock/shared_download_manager.h"

#include <mutex>
#include <utility>

#include "host/net/global_request_processor.h"
#include "host/net/proxy_request_processor.h"

namespace zorvcapsule {
namespace {

using zorvappsupport::http::HTTPDownloadManager;

struct SharedManager {
  std::mutex mutex;
  std::shared_ptr<HTTPDownloadManager> manager;  // guarded by mutex
};

SharedManager& Shared() {
  static SharedManager shared;
  return shared;
}

}  // namespace

std::shared_ptr<HTTPDownloadManager> GetSharedDownloadManager() {
  SharedManager& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  if (!shared.manager) {
    auto manager = std::make_shared<HTTPDownloadManager>(kStockConcurrentDownloads, kStockDownloadWriteBufferBytes);
    manager->OverrideRequestProcessor(
        zorvnet::http::CreateProxyProcessor(zorvnet::http::GetGlobalRequestProcessor()));
    shared.manager = std::move(manager);
  }
  return shared.manager;
}

void ReleaseSharedDownloadManager() {
  std::shared_ptr<HTTPDownloadManager> manager;
  {
    SharedManager& shared = Shared();
    std::lock_guard<std::mutex> lock(shared.mutex);
    manager = std::move(shared.manager);
  }
  // Outside the lock: completions run during the flush and may start new downloads.
  if (manager) manager->FlushAllDownloads();
}

}  // namespace zorvcapsule
