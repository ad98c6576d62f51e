#include "host/appsupport/http_download_stream.h"

#include <exception>
#include <utility>

#include "host/appsupport/download_file_writer.h"
#include "host/core/debug.h"

namespace zorvappsupport::http {
namespace {

constexpr const char* kReportSource = "zorvappsupport::http::HTTPDownloadStream";

template <typename Emit>
void GuardSlots(const Emit& emit) {
  try {
    emit();
  } catch (const std::exception& e) {
    zorvcore::debug::ReportDiagnostic(kReportSource,
                                      std::string("download completion slot threw: ") + e.what());
  } catch (...) {
    zorvcore::debug::ReportDiagnostic(kReportSource,
                                      "download completion slot threw an unknown exception");
  }
}

}  // namespace

HTTPDownloadStream::HTTPDownloadStream(zorvcore::ImmutableString url, zorvcore::File target,
                                       zorvnet::HeaderMap headers, bool replaceExisting,
                                       HTTPDownloadManager* owner)
    : url_(std::move(url)),
      target_(std::move(target)),
      headers_(std::move(headers)),
      replaceExisting_(replaceExisting),
      owner_(owner) {}

HTTPDownloadStream::~HTTPDownloadStream() = default;

boost::signals2::connection HTTPDownloadStream::ConnectCompleted(const CompletedSlot& slot) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Complete() raises the flag under this mutex before it emits, so a slot connected while the
    // flag is down is sure to be reached by the emission.
    if (!complete_.load()) return completed_.connect(slot);
  }
  // The slot_type wraps the caller's function; calling it directly runs that function once.
  HTTPDownloadManager* owner = Owner();
  auto self = shared_from_this();
  GuardSlots([&] { slot(owner, self); });
  return boost::signals2::connection();
}

std::string HTTPDownloadStream::FailureReason() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failureReason_;
}

void HTTPDownloadStream::Complete(bool succeeded, std::string reason) {
  HTTPDownloadManager* owner = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (complete_.load()) return;
    failureReason_ = succeeded ? std::string() : std::move(reason);
    succeeded_.store(succeeded);
    complete_.store(true);
    owner = owner_;
  }
  auto self = shared_from_this();
  GuardSlots([&] { completed_(owner, self); });
  // Every slot has run once; none may run again.
  completed_.disconnect_all_slots();
}

void HTTPDownloadStream::ForgetOwner() {
  std::lock_guard<std::mutex> lock(mutex_);
  owner_ = nullptr;
}

HTTPDownloadManager* HTTPDownloadStream::Owner() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return owner_;
}

}  // namespace zorvappsupport::http
