#include "host/watch/inotify_watches.h"

#include <errno.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace zorvwatch {
namespace {

namespace fs = std::filesystem;

// A watched folder's own files and subfolders.
constexpr uint32_t kContentMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB |
                                  IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF;
// A folder on the way to a missing root: only folders coming and going matter there.
constexpr uint32_t kWayMask = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;

std::string LimitProblem(int error) {
  if (error == ENOMEM) return "the system has no memory left for more inotify watches";
  return "the per-user limit of inotify watches is reached (raise /proc/sys/fs/inotify/max_user_watches)";
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

}  // namespace

struct InotifyWatches::Pass {
  std::unordered_map<int, std::vector<fs::path>> paths;
  std::map<fs::path, uint32_t> masks;  // what this pass asked for each folder
  size_t watched = 0;
  ReconcileResult result;
};

InotifyWatches::InotifyWatches(size_t limitForTesting) : limitForTesting_(limitForTesting) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) openProblem_ = std::string("inotify is unavailable: ") + std::strerror(errno);
}

InotifyWatches::~InotifyWatches() {
  if (fd_ >= 0) ::close(fd_);
}

bool InotifyWatches::Watch(const fs::path& folder, uint32_t mask, Pass& pass) {
  uint32_t& asked = pass.masks[folder];
  if ((asked & mask) == mask) return true;
  asked |= mask;
  int error = 0;
  int wd = -1;
  if (fd_ < 0) {
    error = -1;
  } else if (limitForTesting_ > 0 && pass.watched >= limitForTesting_) {
    error = ENOSPC;
  } else {
    // Masks are added to, never replaced, so a watch already in place never misses an event.
    wd = inotify_add_watch(fd_, folder.c_str(), mask | IN_MASK_ADD | IN_ONLYDIR);
    if (wd < 0) error = errno;
  }
  if (wd >= 0) {
    ++pass.watched;
    std::vector<fs::path>& paths = pass.paths[wd];
    if (std::find(paths.begin(), paths.end(), folder) == paths.end()) paths.push_back(folder);
    return true;
  }
  if (error == -1 || error == ENOSPC || error == ENOMEM) {
    if (pass.result.unwatched.empty()) pass.result.problem = error == -1 ? openProblem_ : LimitProblem(error);
    pass.result.unwatched.insert(folder);
  }
  return false;
}

void InotifyWatches::WatchTree(const WatchedRoot& root, Pass& pass) {
  std::vector<fs::path> folders{root.path};
  while (!folders.empty()) {
    const fs::path folder = std::move(folders.back());
    folders.pop_back();
    Watch(folder, kContentMask, pass);
    if (!root.withSubfolders) continue;
    // Listed after the watch is in place; links to folders are not entered, so no walk can loop.
    std::error_code error;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator(); it.increment(error)) {
      std::error_code statusError;
      if (it->symlink_status(statusError).type() == fs::file_type::directory) folders.push_back(it->path());
    }
  }
}

void InotifyWatches::WatchTowards(const WatchedRoot& root, Pass& pass) {
  std::vector<fs::path> missing;
  fs::path folder = root.path;
  while (!IsFolder(folder)) {
    missing.push_back(folder);
    if (!folder.has_relative_path()) return;
    folder = folder.parent_path();
  }
  Watch(folder, kWayMask, pass);
  // A folder on the way may have appeared before the watch above it was in place.
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!IsFolder(*it)) return;
    if (*it == root.path) {
      WatchTree(root, pass);
      return;
    }
    Watch(*it, kWayMask, pass);
  }
}

ReconcileResult InotifyWatches::Reconcile(const std::vector<WatchedRoot>& roots) {
  Pass pass;
  for (const WatchedRoot& root : roots) {
    if (IsFolder(root.path)) {
      WatchTree(root, pass);
    } else {
      WatchTowards(root, pass);
    }
  }
  for (const auto& [wd, paths] : paths_) {
    if (pass.paths.count(wd) == 0) inotify_rm_watch(fd_, wd);
  }
  paths_ = std::move(pass.paths);
  return std::move(pass.result);
}

std::vector<fs::path> InotifyWatches::PathsOf(int wd) const {
  const auto found = paths_.find(wd);
  return found == paths_.end() ? std::vector<fs::path>() : found->second;
}

bool InotifyWatches::Forget(int wd) { return paths_.erase(wd) > 0; }

}  // namespace zorvwatch
