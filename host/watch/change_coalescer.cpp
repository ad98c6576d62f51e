#include "host/watch/change_coalescer.h"

#include <algorithm>
#include <iterator>

namespace zorvwatch {

ChangeCoalescer::ChangeCoalescer(std::chrono::milliseconds quietPeriod, std::chrono::milliseconds maxDelay)
    : quietPeriod_(quietPeriod), maxDelay_(maxDelay) {}

void ChangeCoalescer::Add(const std::set<std::u16string>& folders, bool rescan, Clock::time_point now) {
  if (folders.empty() && !rescan) return;
  if (!pending_) first_ = now;
  pending_ = true;
  last_ = now;
  folders_.insert(folders.begin(), folders.end());
  rescan_ = rescan_ || rescan;
}

std::optional<ChangeCoalescer::Clock::time_point> ChangeCoalescer::Deadline() const {
  if (!pending_) return std::nullopt;
  return std::min(last_ + quietPeriod_, first_ + maxDelay_);
}

std::optional<FolderChange> ChangeCoalescer::TakeIfDue(Clock::time_point now) {
  const auto deadline = Deadline();
  if (!deadline || now < *deadline) return std::nullopt;
  FolderChange change{std::vector<std::u16string>(folders_.begin(), folders_.end()), rescan_};
  folders_.clear();
  rescan_ = false;
  pending_ = false;
  return change;
}

void MergeFolderChange(FolderChange& change, const FolderChange& more) {
  std::vector<std::u16string> merged;
  std::set_union(change.folders.begin(), change.folders.end(), more.folders.begin(), more.folders.end(),
                 std::back_inserter(merged));
  change.folders = std::move(merged);
  change.rescan = change.rescan || more.rescan;
}

}  // namespace zorvwatch
