#include "host/appsupport/download_scheduler.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "host/appsupport/download_file_writer.h"
#include "host/net/request_check.h"

namespace zorvappsupport::http {
namespace {

using zorvcore::Status;
using zorvnet::RequestError;
using zorvnet::Response;

// Above zero while this thread runs a download's completion; a flush from there must not wait for
// the completion it is part of.
thread_local int completionDepth = 0;

class InCompletion {
 public:
  InCompletion() { ++completionDepth; }
  ~InCompletion() { --completionDepth; }
  InCompletion(const InCompletion&) = delete;
  InCompletion& operator=(const InCompletion&) = delete;
};

// The announced "Content-Length", or -1 when it is absent or not a plain decimal number.
int64_t AnnouncedLength(const Response& response) {
  const std::string_view text = response.GetHeader("Content-Length").view();
  int64_t length = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || length < 0) {
    return -1;
  }
  return length;
}

}  // namespace

DownloadScheduler::DownloadScheduler(size_t maxConcurrent, size_t bufferBytes,
                                     std::shared_ptr<zorvnet::RequestProcessor> processor)
    : maxConcurrent_(std::max<size_t>(maxConcurrent, 1)),
      bufferBytes_(bufferBytes),
      processor_(std::move(processor)) {}

void DownloadScheduler::SetProcessor(std::shared_ptr<zorvnet::RequestProcessor> processor) {
  std::lock_guard<std::mutex> lock(mutex_);
  processor_ = std::move(processor);
}

void DownloadScheduler::Add(const std::shared_ptr<HTTPDownloadStream>& stream) {
  const bool keepExisting = !stream->replaceExisting_ && stream->target_.Exists();
  const bool fetchable = zorvnet::IsHttpURL(stream->url_.view());
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++unfinished_;
    std::erase_if(issued_, [](const auto& weak) { return weak.expired(); });
    issued_.push_back(stream);
    if (!keepExisting && fetchable) queued_.push_back(stream);
  }
  if (keepExisting) return Finish(stream, Status::OK());
  if (!fetchable) {
    return Finish(stream, Status::InvalidArgument("not an http or https URL: " + stream->url_.str()));
  }
  changed_.notify_all();
  StartWhatFits();
}

void DownloadScheduler::StartWhatFits() {
  for (;;) {
    std::shared_ptr<HTTPDownloadStream> next;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (flushing_ > 0 || queued_.empty() || active_.size() >= maxConcurrent_) return;
      next = queued_.front();
      queued_.pop_front();
      next->processor_ = processor_;
      active_.emplace(next->requestId_, next);
    }
    const Status launched = Launch(next);
    if (!launched.ok()) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        active_.erase(next->requestId_);
      }
      Finish(next, launched);
    }
  }
}

Status DownloadScheduler::Launch(const std::shared_ptr<HTTPDownloadStream>& stream) {
  if (!stream->processor_) return Status::Unavailable("no request processor");
  const Status writable = DownloadFileWriter::Create(stream->target_, bufferBytes_, &stream->writer_);
  if (!writable.ok()) return writable;
  zorvnet::RequestCallback ended = [self = shared_from_this(), stream](
                                       const zorvcore::Guid&, std::shared_ptr<Response> response) {
    self->OnTransferEnded(stream, response);
  };
  if (!stream->processor_->StartRequest(stream->requestId_, MakeRequest(stream),
                                        std::move(ended))) {
    stream->writer_.reset();
    return Status::InvalidArgument("the request processor refused the download");
  }
  // A flush that came while the request was being started could not cancel it yet.
  if (stream->cancelRequested_.load()) stream->processor_->TryToCancelRequest(stream->requestId_);
  return Status::OK();
}

zorvnet::Request DownloadScheduler::MakeRequest(const std::shared_ptr<HTTPDownloadStream>& stream) {
  zorvnet::Request request;
  request.url = stream->url_;
  request.headers = stream->headers_;
  // No compression: the announced length is then the length of the file to check against.
  request.configuration = zorvnet::Configuration(false, false, true);
  // The transfer's callback holds the stream, so it outlives the sink.
  HTTPDownloadStream* raw = stream.get();
  request.bodySink = [raw](const uint8_t* data, size_t size, int64_t expected) {
    raw->expected_.store(expected);
    if (!raw->writer_->Append(data, size)) return false;
    raw->received_.store(raw->writer_->BytesReceived());
    return true;
  };
  return request;
}

void DownloadScheduler::OnTransferEnded(const std::shared_ptr<HTTPDownloadStream>& stream,
                                        const std::shared_ptr<Response>& response) {
  InCompletion completing;
  const Status landed = response ? Land(*stream, *response) : Status::Unavailable("no response");
  stream->writer_.reset();  // without a commit, this removes the temporary file
  {
    std::lock_guard<std::mutex> lock(mutex_);
    active_.erase(stream->requestId_);
  }
  StartWhatFits();
  Finish(stream, landed);
}

Status DownloadScheduler::Land(HTTPDownloadStream& stream, const Response& response) {
  if (response.Error() != RequestError::kNone) {
    return Status::Unavailable(std::string(zorvnet::RequestErrorName(response.Error())) + ": " +
                               response.ErrorDetail());
  }
  if (!response.IsSuccess()) {
    return Status::Unavailable("the server answered " + std::to_string(response.StatusCode()));
  }
  const int64_t announced = AnnouncedLength(response);
  if (announced >= 0) stream.expected_.store(announced);
  if (!stream.writer_) return Status::IOError("the download has no file to land in");
  return stream.writer_->Commit(announced);
}

void DownloadScheduler::Finish(const std::shared_ptr<HTTPDownloadStream>& stream,
                               const Status& outcome) {
  {
    InCompletion completing;
    stream->Complete(outcome.ok(), outcome.message());
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --unfinished_;
  }
  changed_.notify_all();
}

void DownloadScheduler::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  ++flushing_;
  for (;;) {
    std::deque<std::shared_ptr<HTTPDownloadStream>> queued;
    queued.swap(queued_);
    std::vector<std::shared_ptr<HTTPDownloadStream>> running;
    for (const auto& [id, stream] : active_) {
      stream->cancelRequested_.store(true);
      running.push_back(stream);
    }
    lock.unlock();
    for (const auto& stream : queued) {
      Finish(stream, Status::Unavailable("the download was flushed before it started"));
    }
    for (const auto& stream : running) {
      if (stream->processor_) stream->processor_->TryToCancelRequest(stream->requestId_);
    }
    lock.lock();
    if (unfinished_ == 0 || completionDepth > 0) break;
    changed_.wait(lock, [this] { return unfinished_ == 0 || !queued_.empty(); });
    if (unfinished_ == 0) break;
  }
  --flushing_;
}

void DownloadScheduler::ForgetOwner() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& weak : issued_) {
    if (const auto stream = weak.lock()) stream->ForgetOwner();
  }
}

size_t DownloadScheduler::QueuedCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queued_.size();
}

size_t DownloadScheduler::ActiveCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return active_.size();
}

}  // namespace zorvappsupport::http
