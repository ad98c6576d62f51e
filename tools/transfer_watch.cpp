#include "tools/transfer_watch.h"

#include <mutex>
#include <string_view>

#include "host/net/transfer_observer.h"

namespace capsuletool {

struct TransferWatch::Record {
  std::mutex mutex;
  zorvcore::Status last = zorvcore::Status::NotFound("no reply arrived");
  int failures = 0;
  zorvcore::Status lastFailure;
};

namespace {

zorvcore::Status OutcomeOf(const zorvnet::Response& response) {
  if (response.IsSuccess()) return zorvcore::Status::OK();
  if (response.Error() == zorvnet::RequestError::kNone) {
    return zorvcore::Status::Unavailable("HTTP " + std::to_string(response.StatusCode()));
  }
  return zorvcore::Status::Unavailable(zorvnet::RequestErrorName(response.Error()));
}

}  // namespace

TransferWatch::TransferWatch(std::string path) : record_(std::make_shared<Record>()) {
  zorvnet::SetTransferObserver([record = record_, path = std::move(path)](const std::string& url,
                                                                           const zorvnet::Response& response) {
    if (!std::string_view(url).substr(0, url.find('?')).ends_with(path)) return;
    zorvcore::Status outcome = OutcomeOf(response);
    std::lock_guard<std::mutex> lock(record->mutex);
    if (!outcome.ok()) {
      ++record->failures;
      record->lastFailure = outcome;
    }
    record->last = std::move(outcome);
  });
}

TransferWatch::~TransferWatch() { zorvnet::SetTransferObserver(nullptr); }

zorvcore::Status TransferWatch::LastOutcome() const {
  std::lock_guard<std::mutex> lock(record_->mutex);
  return record_->last;
}

int TransferWatch::FailureCount() const {
  std::lock_guard<std::mutex> lock(record_->mutex);
  return record_->failures;
}

zorvcore::Status TransferWatch::LastFailure() const {
  std::lock_guard<std::mutex> lock(record_->mutex);
  return record_->lastFailure;
}

}  // namespace capsuletool
