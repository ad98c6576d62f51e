// DownloadScheduler: the working state of an HTTPDownloadManager, shared with the request callbacks
// of its transfers so that a late callback never reaches freed memory.
//
// It keeps the downloads waiting for a turn (queued) and those whose transfer runs (active), starts
// at most the manager's limit at once, first come first served, and completes each download exactly
// once. A transfer's body goes through its DownloadFileWriter; the download succeeds only with a
// 2xx answer whose whole announced body was written and renamed over the target. Internal to the
// download manager.
//
// Thread safety: every member may be called from any thread. Completion runs on the thread that
// ends the download, without the scheduler's mutex held.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_SCHEDULER_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_SCHEDULER_H_

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/appsupport/http_download_stream.h"
#include "host/core/guid.h"
#include "host/core/status.h"
#include "host/net/request_processor.h"
#include "host/net/response.h"

namespace zorvappsupport::http {

class DownloadScheduler : public std::enable_shared_from_this<DownloadScheduler> {
 public:
  DownloadScheduler(size_t maxConcurrent, size_t bufferBytes,
                    std::shared_ptr<zorvnet::RequestProcessor> processor);
  DownloadScheduler(const DownloadScheduler&) = delete;
  DownloadScheduler& operator=(const DownloadScheduler&) = delete;

  // The processor for transfers started from now on.
  void SetProcessor(std::shared_ptr<zorvnet::RequestProcessor> processor);

  // Takes a new download: completes it at once when there is nothing to transfer, otherwise
  // queues it and starts what the limit allows.
  void Add(const std::shared_ptr<HTTPDownloadStream>& stream);

  // Ends every unfinished download (see HTTPDownloadManager::FlushAllDownloads) and waits until all
  // have completed, unless called from inside a completion, where waiting could never end.
  void Flush();

  // Detaches the manager from every stream still alive, so late slots receive null.
  void ForgetOwner();

  size_t QueuedCount() const;
  size_t ActiveCount() const;

 private:
  void StartWhatFits();
  zorvcore::Status Launch(const std::shared_ptr<HTTPDownloadStream>& stream);
  zorvnet::Request MakeRequest(const std::shared_ptr<HTTPDownloadStream>& stream);
  void OnTransferEnded(const std::shared_ptr<HTTPDownloadStream>& stream,
                       const std::shared_ptr<zorvnet::Response>& response);
  zorvcore::Status Land(HTTPDownloadStream& stream, const zorvnet::Response& response);
  // Completes the stream with the outcome; a failure's message is the reason it is given.
  void Finish(const std::shared_ptr<HTTPDownloadStream>& stream, const zorvcore::Status& outcome);

  const size_t maxConcurrent_;
  const size_t bufferBytes_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::shared_ptr<zorvnet::RequestProcessor> processor_;                    // guarded by mutex_
  std::deque<std::shared_ptr<HTTPDownloadStream>> queued_;                 // guarded by mutex_
  std::map<zorvcore::Guid, std::shared_ptr<HTTPDownloadStream>> active_;  // guarded by mutex_
  std::vector<std::weak_ptr<HTTPDownloadStream>> issued_;                  // guarded by mutex_
  size_t unfinished_ = 0;  // queued, active or completing; guarded by mutex_
  int flushing_ = 0;       // while > 0 nothing new starts; guarded by mutex_
};

}  // namespace zorvappsupport::http

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_SCHEDULER_H_
