#include "host/qvlib/regular_file_reader.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvqvlib {
namespace {

// Closes the descriptor on every way out.
class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads until `size` bytes are in or the file ends early (it shrank since fstat).
bool ReadExactly(int fd, std::string& bytes, size_t size) {
  bytes.resize(size);
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, bytes.data() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, size_t maxBytes, FinalLink finalLink) {
  // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer.
  int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  if (finalLink == FinalLink::kRefuse) flags |= O_NOFOLLOW;
  const ScopedFd fd(::open(path.c_str(), flags));
  if (fd.get() < 0) return std::nullopt;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes) return std::nullopt;
  std::string bytes;
  if (!ReadExactly(fd.get(), bytes, static_cast<size_t>(info.st_size))) return std::nullopt;
  return bytes;
}

}  // namespace zorvqvlib
