// ChangeCoalescer: gathers the watched folders that changed into one pending report and says when
// that report is due, so that a burst of file events becomes a few reports.
//
// A pending report is due once no change has been added for `quietPeriod`, and never later than
// `maxDelay` after its first change. Taking it starts the next one afresh. Times are given by the
// caller, which keeps the class free of clocks and sleeps.
//
// Thread safety: none; one thread owns an instance.

#ifndef ZORVCAPSULE_HOST_WATCH_CHANGE_COALESCER_H_
#define ZORVCAPSULE_HOST_WATCH_CHANGE_COALESCER_H_

#include <chrono>
#include <optional>
#include <set>
#include <string>

#include "host/watch/folder_watcher.h"

namespace zorvwatch {

class ChangeCoalescer {
 public:
  using Clock = std::chrono::steady_clock;

  ChangeCoalescer(std::chrono::milliseconds quietPeriod, std::chrono::milliseconds maxDelay);

  // Adds changed folders; nothing happens when `folders` is empty and `rescan` is false.
  void Add(const std::set<std::u16string>& folders, bool rescan, Clock::time_point now);

  // When the pending report is due; empty when nothing is pending.
  std::optional<Clock::time_point> Deadline() const;

  // The pending report, when it is due at `now`.
  std::optional<FolderChange> TakeIfDue(Clock::time_point now);

 private:
  std::chrono::milliseconds quietPeriod_;
  std::chrono::milliseconds maxDelay_;
  std::set<std::u16string> folders_;
  bool rescan_ = false;
  bool pending_ = false;
  Clock::time_point first_;
  Clock::time_point last_;
};

// Merges `more` into `change`: the union of the folders, sorted, and either rescan flag.
void MergeFolderChange(FolderChange& change, const FolderChange& more);

}  // namespace zorvwatch

#endif  // ZORVCAPSULE_HOST_WATCH_CHANGE_COALESCER_H_
