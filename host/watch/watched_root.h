// WatchedRoot: one folder the host asked FolderWatcher to watch, in the form the watcher compares
// paths in, and the path tests that decide which watched folder an event concerns.
//
// Paths are absolute and lexically normal, without a trailing separator ("/" stays "/"); they are
// compared as byte strings, a component at a time, so "/a/bc" is not below "/a/b".
//
// Thread safety: values and pure functions; use from any thread.

#ifndef ZORVCAPSULE_HOST_WATCH_WATCHED_ROOT_H_
#define ZORVCAPSULE_HOST_WATCH_WATCHED_ROOT_H_

#include <filesystem>
#include <string>
#include <vector>

#include "host/watch/folder_watcher.h"

namespace zorvwatch {

struct WatchedRoot {
  std::filesystem::path path;  // normal form, see above
  std::u16string given;        // the path as the host gave it, which reports carry back
  bool withSubfolders = false;
};

// The host's folders in normal form; folders with an empty path are left out.
std::vector<WatchedRoot> MakeWatchedRoots(const std::vector<WatchedFolder>& folders);

// Absolute, lexically normal, no trailing separator.
std::filesystem::path NormalFolderPath(const std::filesystem::path& path);

// True when `path` is `ancestor` or lies below it.
bool IsAtOrBelow(const std::filesystem::path& path, const std::filesystem::path& ancestor);

// True when the files of folder `dir` belong to the root: the root itself, or any folder below it
// when it is watched with its subfolders.
bool CoversFilesOf(const WatchedRoot& root, const std::filesystem::path& dir);

}  // namespace zorvwatch

#endif  // ZORVCAPSULE_HOST_WATCH_WATCHED_ROOT_H_
