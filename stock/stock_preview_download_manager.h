// StockPreviewDownloadManager: fetches stock templates' preview videos into the stock cache.
//
// A stock search entry carries the address of a short preview video. When the host wants to play
// it, DownloadPreview fetches the video into the asset's cache folder ("thumb.mp4") in the
// background on the shared download manager; once the transfer has completed the entry's
// `videoPreviewPath` names the file (written on the main thread, see below), so the entry then supports video playback. A preview already in
// the cache is found without a transfer. Entries that are not stock entries have no preview address
// and are ignored. DownloadVideoFromURL, the transfer itself, may also be called directly.
//
// One process-wide instance lives from Initialize to Terminate.
//
// Choices:
// - A request for an address whose transfer is still pending starts no second transfer (two
//   transfers never write the same file at once); the pending request is handed to the entry that
//   asked last, which is the one the completion updates. Searches make new entry objects, so the
//   latest entry is the one on show.
// - A completion holds the manager only weakly: Terminate drops the instance first and then flushes
//   the shared download manager, which ends the transfers in flight; their completions find the
//   manager gone and are dropped, so none reaches a released manager. Files already complete stay in
//   the cache for a later request. A manager not owned by a shared pointer (a copy on the stack,
//   say) could not be reached safely by a completion, so it starts no transfers.
// - A failed transfer leaves the entry as it was and forgets the pending address, so a later request
//   tries again.
//
// Thread safety: Initialize, GetInstance, Terminate and DownloadPreview are called on the host's
// main thread; completions arrive on the download manager's thread. An entry handed to the host is
// only ever changed on the main thread, where the host reads it without a lock: a successful
// completion queues the `videoPreviewPath` write to the main-thread queue, and the address stays
// pending until that write has run. So a host waiting with WaitForPendingDownloads drains the
// main-thread queue meanwhile, and once nothing is pending every fetched entry names its file. One
// process-wide recursive mutex orders the pending map.
// REQUIRES: Terminate is not called on the request processor's network thread.

#ifndef ZORVCAPSULE_STOCK_STOCK_PREVIEW_DOWNLOAD_MANAGER_H_
#define ZORVCAPSULE_STOCK_STOCK_PREVIEW_DOWNLOAD_MANAGER_H_

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "catalogue/capsule_entry.h"

namespace zorvcapsule {

// (succeeded, the address that was fetched)
using DownloadVideoCallback = std::function<void(bool succeeded, const std::u16string& url)>;
using DownloadVideoCallbackPtr = std::shared_ptr<DownloadVideoCallback>;

// Fetches `url` into `targetPath` in the background; `callback` (may be empty) is then called once,
// on the download manager's thread (or at once on this thread when the transfer cannot start), with
// whether the whole file is at `targetPath`. A failed transfer leaves no partial file and keeps a
// file that was there. Empty inputs are ignored: no transfer, no callback.
ZORVCAPSULE_EXPORT void DownloadVideoFromURL(const std::u16string& url, const std::u16string& targetPath,
                                             const DownloadVideoCallbackPtr& callback);

class ZORVCAPSULE_EXPORT StockPreviewDownloadManager
    : public std::enable_shared_from_this<StockPreviewDownloadManager> {
 public:
  // Makes the instance when there is none; true in every case.
  static bool Initialize();
  // The instance; empty before Initialize and after Terminate.
  static std::shared_ptr<StockPreviewDownloadManager> GetInstance();
  // Drops the instance, then flushes and drops the shared download manager.
  static void Terminate();

  StockPreviewDownloadManager(const StockPreviewDownloadManager&) = default;
  StockPreviewDownloadManager(StockPreviewDownloadManager&&) = default;
  StockPreviewDownloadManager& operator=(const StockPreviewDownloadManager&) = default;
  StockPreviewDownloadManager& operator=(StockPreviewDownloadManager&&) = default;
  ~StockPreviewDownloadManager();

  // Starts fetching the entry's preview, or finds it in the cache; see above.
  void DownloadPreview(const CapsuleEntryPtr& entry);

  // The number of addresses whose transfer is pending.
  size_t PendingCount() const;
  // Waits until no transfer of this manager is pending, or `milliseconds` have passed (negative: no
  // limit); true when none is pending. A command-line host waits so for the previews it asked for,
  // in short waits between drains of the main-thread queue (see above).
  // REQUIRES: the caller does not hold a preview lock (is not inside a completion).
  bool WaitForPendingDownloads(int milliseconds) const;

 private:
  StockPreviewDownloadManager();

  // The completion of the transfer of `url`, on the download manager's thread.
  void OnStockPreviewDownloadFinished(bool success, const std::u16string& url);
  // Ends the pending transfer of `url`, naming the fetched file in its entry when `fetched`.
  // REQUIRES: `fetched` only on the host's main thread.
  void ForgetPendingDownload(const std::u16string& url, bool fetched);

  std::map<std::u16string, CapsuleEntryPtr> pendingDownloads;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_PREVIEW_DOWNLOAD_MANAGER_H_
