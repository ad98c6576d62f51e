// TransferWatch: how the requests to one service path ended while the watch was alive, from the
// network layer's own view of finished transfers (host/net/transfer_observer.h). The library leaves
// a record untouched both when a service gives no answer and when it answers with nothing to say;
// a command that must tell the two apart asks the watch.
//
// Only one watch (one observer) may be alive in the process at a time.
//
// Thread safety: construct, query and destroy on one thread; the network thread reports to a
// record the watch shares with it, so a report racing the watch's end finds it alive.

#ifndef ZORVCAPSULE_TOOLS_TRANSFER_WATCH_H_
#define ZORVCAPSULE_TOOLS_TRANSFER_WATCH_H_

#include <memory>
#include <string>

#include "host/core/status.h"

namespace capsuletool {

class TransferWatch {
 public:
  // Watches the requests whose URL path (the query left out) ends with `path`.
  explicit TransferWatch(std::string path);
  ~TransferWatch();
  TransferWatch(const TransferWatch&) = delete;
  TransferWatch& operator=(const TransferWatch&) = delete;

  // The last watched request that finished: OK for a 2xx reply; Unavailable saying how it failed
  // ("HTTP 503", "timed out", ...) otherwise; NotFound when none finished.
  zorvcore::Status LastOutcome() const;

  // How many watched requests failed, and how the last of them did (OK when none failed).
  int FailureCount() const;
  zorvcore::Status LastFailure() const;

 private:
  struct Record;
  const std::shared_ptr<Record> record_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TRANSFER_WATCH_H_
