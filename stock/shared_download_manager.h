// The download manager shared by template downloads and preview downloads.
//
// Made on first need with room for kStockConcurrentDownloads transfers at once and
// kStockDownloadWriteBufferBytes of buffering per transfer, its requests going through a proxy over
// the process-wide request processor, so that flushing it never touches other requests. It lives
// until ReleaseSharedDownloadManager (StockPreviewDownloadManager::Terminate), which flushes it; a
// later download makes a new one.
//
// Thread safety: both functions may be called from any thread. Two first uses at the same moment get
// the same manager.
// REQUIRES: ReleaseSharedDownloadManager is not called on the request processor's network thread
// (the flush waits for completions that need it).

#ifndef ZORVCAPSULE_STOCK_SHARED_DOWNLOAD_MANAGER_H_
#define ZORVCAPSULE_STOCK_SHARED_DOWNLOAD_MANAGER_H_

#include <memory>

#include "host/appsupport/http_download_manager.h"

namespace zorvcapsule {

inline constexpr unsigned kStockConcurrentDownloads = 5;
inline constexpr unsigned kStockDownloadWriteBufferBytes = 0x500000;

// The shared manager, made when there is none.
std::shared_ptr<zorvappsupport::http::HTTPDownloadManager> GetSharedDownloadManager();

// Flushes the shared manager's downloads (each completes, unsuccessfully when unfinished) and drops
// it. Does nothing when there is none.
void ReleaseSharedDownloadManager();

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_SHARED_DOWNLOAD_MANAGER_H_
