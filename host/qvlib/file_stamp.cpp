#include "host/qvlib/file_stamp.h"

#include <sys/stat.h>
#include <time.h>

namespace zorvqvlib {
namespace {

int64_t Nanoseconds(const struct timespec& time) {
  return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

FileStamp FileStamp::Of(const std::string& path) {
  struct stat info;
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return FileStamp();
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<uint64_t>(info.st_dev);
  stamp.inode = static_cast<uint64_t>(info.st_ino);
  stamp.mode = static_cast<uint32_t>(info.st_mode);
  stamp.size = static_cast<int64_t>(info.st_size);
  stamp.modifiedNs = Nanoseconds(info.st_mtim);
  stamp.changedNs = Nanoseconds(info.st_ctim);
  return stamp;
}

int64_t FileStamp::NowNs() {
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

bool FileStamp::IsSettledAt(int64_t nowNs) const {
  return !exists || modifiedNs <= nowNs - kSettleNs;
}

}  // namespace zorvqvlib
