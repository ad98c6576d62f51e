// FileStamp: how a file or folder looked at one moment (identity, kind, size and change times), so
// that a later look can tell whether it changed without reading it.
//
// A folder's stamp changes when an entry is added to it, removed from it or renamed in it; a file's
// when its content or metadata changes or another file takes its name. A link is looked through:
// the stamp is its target's, and a link pointed elsewhere gives another stamp.
//
// File systems keep times coarser than they look (a clock tick of several milliseconds, whole
// seconds on some), so a change made in the same tick as an earlier one can leave the stamp as it
// was. That can only happen while the modification time is that recent: a stamp has settled once
// its modification time lies kSettleNs in the past, and what was read under a stamp that had not
// settled should be read once more after it has.
//
// Thread safety: a value; Of may be called from any thread.

#ifndef ZORVCAPSULE_HOST_QVLIB_FILE_STAMP_H_
#define ZORVCAPSULE_HOST_QVLIB_FILE_STAMP_H_

#include <cstdint>
#include <string>

namespace zorvqvlib {

struct FileStamp {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  uint32_t mode = 0;
  int64_t size = 0;
  int64_t modifiedNs = 0;
  int64_t changedNs = 0;

  // Longer than any file system's time granularity.
  static constexpr int64_t kSettleNs = 2'000'000'000;

  // The stamp of whatever `path` names now; a stamp with exists == false when nothing does.
  static FileStamp Of(const std::string& path);
  // The wall-clock time file systems stamp changes with.
  static int64_t NowNs();

  // True when no later change can leave this stamp unchanged: nothing exists, or the modification
  // time lies at least kSettleNs before nowNs.
  bool IsSettledAt(int64_t nowNs) const;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_FILE_STAMP_H_
