#include "stock/stock_preview_download_manager.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/immutable_string.h"
#include "host/core/main_thread.h"
#include "host/core/recursive_mutex.h"
#include "host/core/unicode.h"
#include "package/temp_directories.h"
#include "stock/shared_download_manager.h"

namespace zorvcapsule {
namespace {

constexpr const char* kDownloadPreviewLock = "zorvcapsule::StockPreviewDownloadManager::DownloadPreview";
constexpr const char* kFinishedLock = "zorvcapsule::StockPreviewDownloadManager::OnStockPreviewDownloadFinished";

zorvcore::RecursiveMutex& PreviewMutex() {
  static zorvcore::RecursiveMutex mutex;
  return mutex;
}

// Notified whenever a pending address is forgotten.
std::condition_variable_any& PendingChanged() {
  static std::condition_variable_any changed;
  return changed;
}

std::atomic<std::shared_ptr<StockPreviewDownloadManager>>& Instance() {
  static std::atomic<std::shared_ptr<StockPreviewDownloadManager>> instance;
  return instance;
}

}  // namespace

void DownloadVideoFromURL(const std::u16string& url, const std::u16string& targetPath,
                          const DownloadVideoCallbackPtr& callback) {
  if (url.empty() || targetPath.empty()) return;
  const auto stream = GetSharedDownloadManager()->NewDownload(
      zorvcore::ImmutableString::CreateDynamic(zorvcore::UTF16ToUTF8(url)), zorvcore::File(targetPath),
      zorvnet::HeaderMap(), true);
  stream->ConnectCompleted([callback, url](zorvappsupport::http::HTTPDownloadManager*,
                                           std::shared_ptr<zorvappsupport::http::HTTPDownloadStream> finished) {
    if (callback && *callback) (*callback)(finished && finished->Succeeded(), url);
  });
}

StockPreviewDownloadManager::StockPreviewDownloadManager() = default;

StockPreviewDownloadManager::~StockPreviewDownloadManager() = default;

bool StockPreviewDownloadManager::Initialize() {
  std::shared_ptr<StockPreviewDownloadManager> expected;
  std::shared_ptr<StockPreviewDownloadManager> made(new StockPreviewDownloadManager());
  Instance().compare_exchange_strong(expected, made);
  return true;
}

std::shared_ptr<StockPreviewDownloadManager> StockPreviewDownloadManager::GetInstance() { return Instance().load(); }

void StockPreviewDownloadManager::Terminate() {
  Instance().store(nullptr);
  ReleaseSharedDownloadManager();
}

size_t StockPreviewDownloadManager::PendingCount() const {
  zorvcore::RecursiveMutexLock lock(PreviewMutex());
  return pendingDownloads.size();
}

bool StockPreviewDownloadManager::WaitForPendingDownloads(int milliseconds) const {
  std::unique_lock<zorvcore::RecursiveMutex> lock(PreviewMutex());
  const auto idle = [this] { return pendingDownloads.empty(); };
  if (milliseconds < 0) {
    PendingChanged().wait(lock, idle);
    return true;
  }
  return PendingChanged().wait_for(lock, std::chrono::milliseconds(milliseconds), idle);
}

void StockPreviewDownloadManager::DownloadPreview(const CapsuleEntryPtr& entry) {
  if (!entry || !entry->videoPreviewPath.empty()) return;
  const std::u16string local = GetTempStockAssetVideoThumbPath(entry->path);
  if (zorvcore::FileUtils::FileExists(local)) {
    entry->videoPreviewPath = local;
    return;
  }
  const std::u16string url = entry->GetVideoPreviewPath();
  const std::weak_ptr<StockPreviewDownloadManager> self = weak_from_this();
  if (url.empty() || self.expired()) return;

  zorvcore::RecursiveMutexLock lock(PreviewMutex(), kDownloadPreviewLock);
  const bool alreadyPending = pendingDownloads.count(url) > 0;
  pendingDownloads[url] = entry;
  if (alreadyPending) return;
  // The completion reaches this manager only while it lives (see the header).
  auto finished = [self](bool success, const std::u16string& finishedUrl) {
    if (const auto alive = self.lock()) alive->OnStockPreviewDownloadFinished(success, finishedUrl);
  };
  try {
    DownloadVideoFromURL(url, local, std::make_shared<DownloadVideoCallback>(std::move(finished)));
  } catch (...) {
    pendingDownloads.erase(url);  // no transfer, so no completion will come to clear it
    PendingChanged().notify_all();
  }
}

void StockPreviewDownloadManager::OnStockPreviewDownloadFinished(bool success, const std::u16string& url) {
  if (success) {
    // The entry may already be in the host's hands, and the host reads it on its main thread without
    // a lock: the path is written there, and the address stays pending until it is.
    const std::weak_ptr<StockPreviewDownloadManager> self = weak_from_this();
    zorvcore::AsyncCallFromMainThread([self, url] {
      if (const auto alive = self.lock()) alive->ForgetPendingDownload(url, true);
    });
    return;
  }
  ForgetPendingDownload(url, false);
}

void StockPreviewDownloadManager::ForgetPendingDownload(const std::u16string& url, bool fetched) {
  zorvcore::RecursiveMutexLock lock(PreviewMutex(), kFinishedLock);
  const auto pending = pendingDownloads.find(url);
  if (pending == pendingDownloads.end()) return;
  const CapsuleEntryPtr entry = pending->second;
  const std::u16string local = GetTempStockAssetVideoThumbPath(entry->path);
  if (fetched && zorvcore::FileUtils::FileExists(local)) entry->videoPreviewPath = local;
  pendingDownloads.erase(pending);
  PendingChanged().notify_all();
}

}  // namespace zorvcapsule
