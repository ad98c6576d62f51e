// InotifyWatches: the inotify instance of a FolderWatcher and the folders it watches.
//
// Reconcile makes the watches match a set of roots: every existing root is watched, with all its
// subfolders when asked for; a missing root is waited for by watching the nearest folder above it
// that exists, and each folder on the way down as it appears. Each folder is watched before it is
// listed, so a subfolder created in between is either listed or reported by the new watch, never
// missed. Watches no root needs any more are removed; a watch whose folder was renamed is kept and
// known by its new path. A watch descriptor can stand for several paths (a root reached through a
// link as well as inside another root).
//
// Folders that cannot be watched because the system's limit of watches is reached (or inotify is
// unavailable) are returned so that they can be rescanned instead; folders that vanish or cannot be
// read while being watched are skipped, as the event of their parent says what became of them.
//
// Thread safety: none; one thread owns an instance.

#ifndef ZORVCAPSULE_HOST_WATCH_INOTIFY_WATCHES_H_
#define ZORVCAPSULE_HOST_WATCH_INOTIFY_WATCHES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/watch/watched_root.h"

namespace zorvwatch {

struct ReconcileResult {
  std::set<std::filesystem::path> unwatched;  // folders that could not be watched
  std::string problem;                        // why, for the first of them; empty when all are watched
};

class InotifyWatches {
 public:
  // `limitForTesting` > 0 fails every watch after that many, as the system's limit does.
  explicit InotifyWatches(size_t limitForTesting = 0);
  InotifyWatches(const InotifyWatches&) = delete;
  InotifyWatches& operator=(const InotifyWatches&) = delete;
  ~InotifyWatches();

  // The descriptor to read events from; -1 when inotify could not be started.
  int Descriptor() const { return fd_; }

  ReconcileResult Reconcile(const std::vector<WatchedRoot>& roots);

  // The watched paths of a descriptor; empty for one that is not (or no longer) known.
  std::vector<std::filesystem::path> PathsOf(int wd) const;
  // The system has dropped the watch. Returns false when it was not known (already removed here).
  bool Forget(int wd);

  size_t WatchCount() const { return paths_.size(); }

 private:
  struct Pass;
  void WatchTree(const WatchedRoot& root, Pass& pass);
  void WatchTowards(const WatchedRoot& root, Pass& pass);
  bool Watch(const std::filesystem::path& folder, uint32_t mask, Pass& pass);

  int fd_ = -1;
  std::string openProblem_;
  size_t limitForTesting_;
  std::unordered_map<int, std::vector<std::filesystem::path>> paths_;
};

}  // namespace zorvwatch

#endif  // ZORVCAPSULE_HOST_WATCH_INOTIFY_WATCHES_H_
