// FolderWatcher: tells the host that something changed under folders it watches, so that a catalogue
// can follow the disk without the user asking for it.
//
// The host gives a set of folders, each watched either alone (its own files) or with all its
// subfolders, folders created later included. When files come, go or change there, the watcher calls
// the host's callback on the host's main thread (through zorvcore::AsyncCallFromMainThread) with the
// watched folders under which something changed. Reports say "look again", not what changed: the
// receiver rescans what it keeps.
//
// The contract, which any platform's implementation keeps:
//  - Complete files only. A file is reported once it has been closed after writing, renamed or moved
//    into place, deleted, moved away, or had its times or permissions changed while nobody was writing
//    it; a file still being written is not reported until it is closed. Folders appearing, vanishing or
//    being renamed inside a watched tree are reported too. With Options::fileSuffixes set, only files
//    whose names end with one of them count (folders always do).
//  - Bursts are coalesced: a report goes out once nothing reportable has happened for
//    Options::quietPeriod, and never later than Options::maxDelay after the first change it holds, so
//    a copy of many files gives a few reports, not one per file. At most one report waits on the main
//    thread at a time; later changes are merged into it.
//  - A watched folder that does not exist, or that is deleted, is waited for: when it appears again it
//    is reported and watched from then on. Its deletion is reported too.
//  - When the system loses events (its queue overflowed), every watched folder is reported with
//    `rescan` set.
//  - When the system cannot watch a folder (the per-user limit of watches is reached), the watcher
//    says so once through zorvcore::debug::ReportDiagnostic (source "zorvwatch::FolderWatcher") and
//    rescans the folders it could not watch every Options::rescanInterval, reporting a folder whose
//    listing (names, kinds, sizes, modification times) changed and then held still for one interval.
//    It keeps trying to watch them at each rescan. Nothing is polled while every folder is watched.
//
// This implementation uses Linux inotify and one thread of its own.
//
// Thread safety: construct, call SetFolders, SimulateQueueOverflow and destroy on the host's main
// thread (the thread that drains the main-thread queue). The callback runs on that thread, never after
// the watcher is destroyed and never during SetFolders. Folders() may be called from any thread.

#ifndef ZORVCAPSULE_HOST_WATCH_FOLDER_WATCHER_H_
#define ZORVCAPSULE_HOST_WATCH_FOLDER_WATCHER_H_

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorvwatch {

struct WatchedFolder {
  std::u16string path;     // absolute; a trailing separator is ignored
  bool withSubfolders = false;

  bool operator==(const WatchedFolder&) const = default;
};

struct FolderChange {
  // The watched folders (their paths as given to SetFolders) under which something changed, sorted.
  std::vector<std::u16string> folders;
  // Events were lost: anything under `folders` (then every watched folder) may have changed.
  bool rescan = false;
};

class FolderWatcher {
 public:
  using Callback = std::function<void(const FolderChange&)>;

  struct Options {
    std::chrono::milliseconds quietPeriod{250};
    std::chrono::milliseconds maxDelay{1000};
    std::chrono::milliseconds rescanInterval{5000};
    // File-name endings that count (such as u".tplx", compared exactly); empty: every file counts.
    std::vector<std::u16string> fileSuffixes;
    // Tests only: behave as if the system's limit were reached after this many watched folders
    // (0: no such limit).
    size_t watchLimitForTesting = 0;
  };

  explicit FolderWatcher(Callback callback);
  FolderWatcher(Callback callback, Options options);
  FolderWatcher(const FolderWatcher&) = delete;
  FolderWatcher& operator=(const FolderWatcher&) = delete;
  // Stops the watcher's thread; reports still waiting on the main thread are dropped.
  ~FolderWatcher();

  // Replaces the set of watched folders. Returns once the watches are in place: whatever happens in
  // the folders after the call is reported. Changing the set reports nothing by itself.
  void SetFolders(const std::vector<WatchedFolder>& folders);
  std::vector<WatchedFolder> Folders() const;

  // Tests only: acts as if the system had lost events, which leads to a report with `rescan` set.
  void SimulateQueueOverflow();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zorvwatch

#endif  // ZORVCAPSULE_HOST_WATCH_FOLDER_WATCHER_H_
