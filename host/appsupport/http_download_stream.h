// HTTPDownloadStream: one download of an HTTPDownloadManager, as its caller sees it.
//
// The manager hands one out for every NewDownload. The download then runs in the background and
// completes exactly once, successfully or not; at completion the stream's completion signal is
// emitted with the manager and the stream, on the thread that completed it (the request processor's
// network thread for a transfer, the caller's own thread for a download that ends without one).
//
// Connect to the signal with ConnectCompleted, which closes the gap between NewDownload returning
// and the slot being connected: a slot connected after the download has already completed is
// called at once, on the connecting thread. Either way every connected slot runs exactly once. The
// manager pointer a slot receives is null when the manager no longer exists. An exception thrown
// by a slot is caught and reported (debug::ReportDiagnostic); slots after it in that emission do
// not run.
//
// Thread safety: every member may be called from any thread; the queries reflect the download's
// progress as it happens.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_STREAM_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_STREAM_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include <boost/signals2/signal.hpp>

#include "host/core/file.h"
#include "host/core/guid.h"
#include "host/core/immutable_string.h"
#include "host/net/header_map.h"
#include "host/net/request_processor.h"

namespace zorvappsupport::http {

class DownloadFileWriter;
class DownloadScheduler;
class HTTPDownloadManager;

class HTTPDownloadStream : public std::enable_shared_from_this<HTTPDownloadStream> {
 public:
  using CompletedSignal =
      boost::signals2::signal<void(HTTPDownloadManager*, std::shared_ptr<HTTPDownloadStream>)>;
  using CompletedSlot = CompletedSignal::slot_type;

  HTTPDownloadStream(const HTTPDownloadStream&) = delete;
  HTTPDownloadStream& operator=(const HTTPDownloadStream&) = delete;
  ~HTTPDownloadStream();

  // Connects `slot` to the completion signal, or calls it now if the download has completed.
  boost::signals2::connection ConnectCompleted(const CompletedSlot& slot);

  bool IsComplete() const { return complete_.load(); }
  // True once the download completed with the whole body in place at the target.
  bool Succeeded() const { return succeeded_.load(); }
  // Why the download failed, in words; empty while it runs and after success.
  std::string FailureReason() const;

  const zorvcore::ImmutableString& URL() const { return url_; }
  const zorvcore::File& Target() const { return target_; }
  // Body bytes received so far, and the length the server announced (-1 until known or if none).
  int64_t BytesReceived() const { return received_.load(); }
  int64_t ExpectedBytes() const { return expected_.load(); }

 private:
  friend class DownloadScheduler;
  friend class HTTPDownloadManager;

  HTTPDownloadStream(zorvcore::ImmutableString url, zorvcore::File target,
                     zorvnet::HeaderMap headers, bool replaceExisting, HTTPDownloadManager* owner);

  // Records the outcome and emits the signal. Called once, by the scheduler.
  void Complete(bool succeeded, std::string reason);
  void ForgetOwner();
  HTTPDownloadManager* Owner() const;

  const zorvcore::ImmutableString url_;
  const zorvcore::File target_;
  const zorvnet::HeaderMap headers_;
  const bool replaceExisting_;
  const zorvcore::Guid requestId_ = zorvcore::Guid::CreateUnique();

  // The scheduler's bookkeeping: the processor the transfer runs on, set when it starts; the flag
  // a flush raises so a transfer that is just being started is cancelled right after.
  std::shared_ptr<zorvnet::RequestProcessor> processor_;
  std::atomic<bool> cancelRequested_{false};
  // Used only on the thread that drives the transfer.
  std::unique_ptr<DownloadFileWriter> writer_;

  std::atomic<bool> complete_{false};
  std::atomic<bool> succeeded_{false};
  std::atomic<int64_t> received_{0};
  std::atomic<int64_t> expected_{-1};
  mutable std::mutex mutex_;
  std::string failureReason_;    // guarded by mutex_
  HTTPDownloadManager* owner_;   // guarded by mutex_
  CompletedSignal completed_;
};

}  // namespace zorvappsupport::http

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_STREAM_H_
