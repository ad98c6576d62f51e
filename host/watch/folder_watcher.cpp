#include "host/watch/folder_watcher.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "host/core/debug.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"
#include "host/watch/change_coalescer.h"
#include "host/watch/inotify_watches.h"
#include "host/watch/listing_fingerprint.h"
#include "host/watch/watched_root.h"

namespace zorvwatch {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kDiagnosticSource = "zorvwatch::FolderWatcher";
// Files seen being written and not yet closed; a bound keeps a writer that never closes from
// growing the set without end.
constexpr size_t kMaxFilesBeingWritten = 4096;

// What the watcher's thread hands to the main thread. At most one task waits there at a time:
// later reports are merged into the waiting one.
struct Delivery {
  std::mutex mutex;
  FolderWatcher::Callback callback;  // cleared when the watcher goes
  std::optional<FolderChange> waiting;
};

void RunDelivery(const std::shared_ptr<Delivery>& delivery) {
  FolderWatcher::Callback callback;
  std::optional<FolderChange> change;
  {
    std::lock_guard<std::mutex> lock(delivery->mutex);
    change.swap(delivery->waiting);
    callback = delivery->callback;
  }
  if (callback && change) callback(*change);
}

void Deliver(const std::shared_ptr<Delivery>& delivery, const FolderChange& change) {
  {
    std::lock_guard<std::mutex> lock(delivery->mutex);
    if (delivery->waiting) {
      MergeFolderChange(*delivery->waiting, change);
      return;
    }
    delivery->waiting = change;
  }
  zorvcore::AsyncCallFromMainThread([delivery] { RunDelivery(delivery); }, 0);
}

// A file created in place is reported when it is closed; a link made to an existing file never is
// written, so it is reported at once.
bool IsLinkToExistingFile(const fs::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return false;
  return !S_ISREG(status.st_mode) || status.st_nlink > 1;
}

// Setting a file's modification time alone (not its access time too) is reported as a modification,
// like a write. A write sets the modification and status-change times to the same moment; a time
// set by hand leaves them apart, and the file is complete as it is.
bool OnlyTimeWasSet(const fs::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return false;
  return status.st_mtim.tv_sec != status.st_ctim.tv_sec || status.st_mtim.tv_nsec != status.st_ctim.tv_nsec;
}

}  // namespace

class FolderWatcher::Impl {
 public:
  Impl(Callback callback, Options options)
      : options_(std::move(options)),
        delivery_(std::make_shared<Delivery>()),
        watches_(options_.watchLimitForTesting),
        coalescer_(options_.quietPeriod, options_.maxDelay) {
    delivery_->callback = std::move(callback);
    for (const std::u16string& suffix : options_.fileSuffixes) suffixes_.push_back(zorvcore::UTF16ToUTF8(suffix));
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource, "cannot make the watcher's wake-up descriptor; nothing is watched");
      return;
    }
    running_ = true;
    thread_ = std::thread([this] { Run(); });
  }

  ~Impl() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    Wake();
    if (thread_.joinable()) thread_.join();
    if (wakeFd_ >= 0) ::close(wakeFd_);
    std::lock_guard<std::mutex> lock(delivery_->mutex);
    delivery_->callback = nullptr;
    delivery_->waiting.reset();
  }

  void SetFolders(const std::vector<WatchedFolder>& folders) {
    std::unique_lock<std::mutex> lock(mutex_);
    // The same set again needs no walk of the trees: the watches already follow them.
    if (requested_ > 0 && folders == folders_) return;
    folders_ = folders;
    const uint64_t generation = ++requested_;
    lock.unlock();
    Wake();
    lock.lock();
    appliedChanged_.wait(lock, [&] { return applied_ >= generation || !running_; });
  }

  std::vector<WatchedFolder> Folders() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return folders_;
  }

  void SimulateQueueOverflow() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      overflowRequested_ = true;
    }
    Wake();
  }

 private:
  // Everything one round of the loop gathered.
  struct Round {
    std::set<std::u16string> changed;  // roots, as given
    bool overflow = false;
    bool structural = false;  // folders came or went: the watches must follow
  };

  // The state of a folder that is rescanned instead of watched.
  struct Rescanned {
    uint64_t seen = 0;      // at the last rescan
    uint64_t reported = 0;  // when it last counted as changed (or was first rescanned)
  };

  void Wake() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof(one));
  }

  void Run() {
    try {
      Loop();
    } catch (const std::exception& e) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource, std::string("the watcher stopped: ") + e.what());
    } catch (...) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource, "the watcher stopped after an unknown error");
    }
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
    appliedChanged_.notify_all();
  }

  void Loop() {
    while (true) {
      pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {watches_.Descriptor(), POLLIN, 0}};
      const nfds_t count = watches_.Descriptor() >= 0 ? 2 : 1;
      const int ready = ::poll(fds, count, TimeoutMs());
      if (ready < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
      Round round;
      if (ready > 0 && (fds[0].revents & POLLIN)) {
        uint64_t ignored = 0;
        [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &ignored, sizeof(ignored));
        if (TakeCommands(round)) return;
      }
      if (ready > 0 && count > 1 && (fds[1].revents & POLLIN)) ReadEvents(round);
      Finish(round);
      RescanIfDue();
      if (auto change = coalescer_.TakeIfDue(Clock::now())) Deliver(delivery_, *change);
    }
  }

  int TimeoutMs() const {
    std::optional<Clock::time_point> deadline = coalescer_.Deadline();
    if (!rescanned_.empty() && (!deadline || nextRescan_ < *deadline)) deadline = nextRescan_;
    if (!deadline) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(wait, 0, 60 * 60 * 1000));
  }

  // Applies the main thread's requests; returns true when the watcher is to stop.
  bool TakeCommands(Round& round) {
    std::vector<WatchedFolder> folders;
    uint64_t generation = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return true;
      round.overflow = round.overflow || overflowRequested_;
      overflowRequested_ = false;
      if (requested_ == applied_) return false;
      folders = folders_;
      generation = requested_;
    }
    roots_ = MakeWatchedRoots(folders);
    Reconcile(nullptr);
    std::lock_guard<std::mutex> lock(mutex_);
    applied_ = generation;
    appliedChanged_.notify_all();
    return false;
  }

  void ReadEvents(Round& round) {
    alignas(inotify_event) char buffer[64 * 1024];
    while (true) {
      const ssize_t length = ::read(watches_.Descriptor(), buffer, sizeof(buffer));
      if (length <= 0) return;
      for (ssize_t offset = 0; offset < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        Handle(*event, round);
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

  void Handle(const inotify_event& event, Round& round) {
    if (event.mask & IN_Q_OVERFLOW) {
      round.overflow = true;
      return;
    }
    if (event.mask & IN_IGNORED) {
      // The system dropped the watch (its folder is gone); one removed here needs nothing more.
      if (watches_.Forget(event.wd)) round.structural = true;
      return;
    }
    const std::string name = event.len > 0 ? std::string(event.name) : std::string();
    for (const fs::path& folder : watches_.PathsOf(event.wd)) HandleIn(folder, name, event.mask, round);
  }

  void HandleIn(const fs::path& folder, const std::string& name, uint32_t mask, Round& round) {
    if (mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
      // Roots at or below a folder that went are gone with it.
      round.structural = true;
      for (const WatchedRoot& root : roots_) {
        if (IsAtOrBelow(root.path, folder)) round.changed.insert(root.given);
      }
      return;
    }
    const fs::path path = folder / name;
    if (mask & IN_ISDIR) {
      HandleFolderEntry(folder, path, round);
    } else {
      HandleFileEntry(folder, path, name, mask, round);
    }
  }

  // A subfolder came or went: it changes the roots whose subfolders it belongs to, and a root it is
  // (or lies on the way to) appears or vanishes with it.
  void HandleFolderEntry(const fs::path& folder, const fs::path& path, Round& round) {
    for (const WatchedRoot& root : roots_) {
      if ((root.withSubfolders && IsAtOrBelow(folder, root.path)) || IsAtOrBelow(root.path, path)) {
        round.changed.insert(root.given);
        round.structural = true;
      }
    }
  }

  void HandleFileEntry(const fs::path& folder, const fs::path& path, const std::string& name, uint32_t mask,
                       Round& round) {
    if (!NameCounts(name, suffixes_)) return;
    if ((mask & IN_MODIFY) && (beingWritten_.count(path) > 0 || !OnlyTimeWasSet(path))) {
      if (beingWritten_.size() >= kMaxFilesBeingWritten) beingWritten_.clear();
      beingWritten_.insert(path);
      return;
    }
    if ((mask & IN_CREATE) && !IsLinkToExistingFile(path)) return;
    if ((mask & IN_ATTRIB) && beingWritten_.count(path) > 0) return;
    if (mask & (IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) beingWritten_.erase(path);
    for (const WatchedRoot& root : roots_) {
      if (CoversFilesOf(root, folder)) round.changed.insert(root.given);
    }
  }

  void Finish(Round& round) {
    if (round.overflow) {
      for (const WatchedRoot& root : roots_) round.changed.insert(root.given);
      round.structural = true;
    }
    if (round.structural) Reconcile(&round.changed);
    coalescer_.Add(round.changed, round.overflow, Clock::now());
  }

  // Makes the watches follow the roots and the disk; roots that appeared or vanished since the last
  // time, and rescanned folders that changed, are added to `changed` when it is given.
  void Reconcile(std::set<std::u16string>* changed) {
    const ReconcileResult result = watches_.Reconcile(roots_);
    std::map<std::u16string, bool> present;
    for (const WatchedRoot& root : roots_) {
      std::error_code error;
      present[root.given] = fs::is_directory(root.path, error);
      const auto before = rootPresent_.find(root.given);
      if (changed && before != rootPresent_.end() && before->second != present[root.given]) changed->insert(root.given);
    }
    rootPresent_ = std::move(present);
    UpdateRescanned(result, changed);
  }

  void UpdateRescanned(const ReconcileResult& result, std::set<std::u16string>* changed) {
    for (auto it = rescanned_.begin(); it != rescanned_.end();) {
      if (result.unwatched.count(it->first) > 0) {
        ++it;
        continue;
      }
      // Watched again (or gone): what changed while it was only rescanned still counts.
      if (changed && ListingFingerprint(it->first, suffixes_) != it->second.reported) MarkFilesOf(it->first, *changed);
      it = rescanned_.erase(it);
    }
    for (const fs::path& folder : result.unwatched) {
      if (rescanned_.count(folder) > 0) continue;
      const uint64_t fingerprint = ListingFingerprint(folder, suffixes_);
      rescanned_[folder] = {fingerprint, fingerprint};
    }
    if (result.unwatched.empty()) {
      limitReported_ = false;
      return;
    }
    if (!limitReported_) {
      limitReported_ = true;
      zorvcore::debug::ReportDiagnostic(
          kDiagnosticSource, "cannot watch " + std::to_string(result.unwatched.size()) + " folder(s), such as " +
                                 result.unwatched.begin()->string() + ": " + result.problem +
                                 "; they are rescanned every " + std::to_string(options_.rescanInterval.count()) +
                                 " ms instead");
      nextRescan_ = Clock::now() + options_.rescanInterval;
    }
  }

  // Marks the roots that a change in `folder`'s listing concerns: its files, its subfolders, or a
  // root on its way.
  void MarkFilesOf(const fs::path& folder, std::set<std::u16string>& changed) const {
    for (const WatchedRoot& root : roots_) {
      if (CoversFilesOf(root, folder) || IsAtOrBelow(root.path, folder)) changed.insert(root.given);
    }
  }

  // Stands in for events where folders cannot be watched: a folder counts as changed once its
  // listing differs from the last reported one and has held still for one interval, so a file is
  // not reported half-written.
  void RescanIfDue() {
    if (rescanned_.empty() || Clock::now() < nextRescan_) return;
    std::set<std::u16string> changed;
    Reconcile(&changed);
    for (auto& [folder, state] : rescanned_) {
      const uint64_t fingerprint = ListingFingerprint(folder, suffixes_);
      if (fingerprint == state.seen && fingerprint != state.reported) {
        state.reported = fingerprint;
        MarkFilesOf(folder, changed);
      }
      state.seen = fingerprint;
    }
    coalescer_.Add(changed, false, Clock::now());
    nextRescan_ = Clock::now() + options_.rescanInterval;
  }

  const Options options_;
  const std::shared_ptr<Delivery> delivery_;
  std::vector<std::string> suffixes_;  // UTF-8
  int wakeFd_ = -1;

  // Shared with the main thread.
  mutable std::mutex mutex_;
  std::condition_variable appliedChanged_;
  std::vector<WatchedFolder> folders_;
  uint64_t requested_ = 0;
  uint64_t applied_ = 0;
  bool running_ = false;
  bool stop_ = false;
  bool overflowRequested_ = false;

  // The watcher thread's own.
  InotifyWatches watches_;
  ChangeCoalescer coalescer_;
  std::vector<WatchedRoot> roots_;
  std::map<std::u16string, bool> rootPresent_;
  std::set<fs::path> beingWritten_;
  std::map<fs::path, Rescanned> rescanned_;
  Clock::time_point nextRescan_;
  bool limitReported_ = false;

  std::thread thread_;  // last: starts once everything above is in place
};

FolderWatcher::FolderWatcher(Callback callback) : FolderWatcher(std::move(callback), Options()) {}

FolderWatcher::FolderWatcher(Callback callback, Options options)
    : impl_(std::make_unique<Impl>(std::move(callback), std::move(options))) {}

FolderWatcher::~FolderWatcher() = default;

void FolderWatcher::SetFolders(const std::vector<WatchedFolder>& folders) { impl_->SetFolders(folders); }

std::vector<WatchedFolder> FolderWatcher::Folders() const { return impl_->Folders(); }

void FolderWatcher::SimulateQueueOverflow() { impl_->SimulateQueueOverflow(); }

}  // namespace zorvwatch
