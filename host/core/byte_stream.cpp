#include "host/core/byte_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "host/core/file_helper_utils.h"
#include "host/core/guid.h"

namespace zorvcore {
namespace {

// Leaves room under the usual 255-byte name limit for the dot, the random part and the suffix.
constexpr size_t kMaxNameBytesInTempName = 100;
constexpr int kTempNameAttempts = 8;

bool IsUTF8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// ".<target name>.<random>.tmp" in the target's folder.
std::string TempPathFor(const std::filesystem::path& target) {
  std::string name = target.filename().native();
  if (name.size() > kMaxNameBytesInTempName) {
    size_t cut = kMaxNameBytesInTempName;
    while (cut > 0 && IsUTF8Continuation(name[cut])) --cut;
    name.resize(cut);
  }
  const std::filesystem::path folder = target.parent_path();
  const std::string tempName = "." + name + "." + Guid::CreateUnique().AsUTF8String() + ".tmp";
  return (folder / tempName).native();
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

// ---- InputByteStream ----

std::unique_ptr<InputByteStream> InputByteStream::Open(const File& file) {
  const std::string path = FileHelperUtils::UTF16ToStdPath(file.FullPath()).native();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<InputByteStream>(new InputByteStream(fd, info.st_size));
}

InputByteStream::InputByteStream(int fd, int64_t length) : fd_(fd), length_(length) {}

InputByteStream::~InputByteStream() { ::close(fd_); }

bool InputByteStream::ReadBlock(void* buffer, size_t size, size_t& bytesRead) {
  bytesRead = 0;
  char* out = static_cast<char*>(buffer);
  while (bytesRead < size) {
    const ssize_t got = ::read(fd_, out + bytesRead, size - bytesRead);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    bytesRead += static_cast<size_t>(got);
  }
  return true;
}

// ---- OutputByteStream ----

std::unique_ptr<OutputByteStream> OutputByteStream::Create(const File& target) {
  const std::filesystem::path targetPath = FileHelperUtils::UTF16ToStdPath(target.FullPath());
  if (!targetPath.has_filename()) return nullptr;
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    std::string tempPath = TempPathFor(targetPath);
    // 0666 lets the umask decide the final permissions, as for any newly created file.
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      return std::unique_ptr<OutputByteStream>(
          new OutputByteStream(fd, std::move(tempPath), targetPath.native()));
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

OutputByteStream::OutputByteStream(int fd, std::string tempPath, std::string targetPath)
    : fd_(fd), tempPath_(std::move(tempPath)), targetPath_(std::move(targetPath)) {}

OutputByteStream::~OutputByteStream() {
  if (!committed_) Discard();
}

void OutputByteStream::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(tempPath_.c_str());
}

bool OutputByteStream::WriteBlock(const void* data, size_t size) {
  if (failed_ || committed_) return false;
  if (!WriteAll(fd_, static_cast<const char*>(data), size)) {
    failed_ = true;
    return false;
  }
  length_ += static_cast<int64_t>(size);
  return true;
}

bool OutputByteStream::Commit(Durability durability) {
  if (committed_) return false;
  committed_ = true;
  // fsync before the rename: otherwise a crash could leave the new name on data never written.
  bool ok = !failed_ && (durability == Durability::kCache || ::fsync(fd_) == 0);
  ok = (::close(fd_) == 0) && ok;
  fd_ = -1;
  ok = ok && std::rename(tempPath_.c_str(), targetPath_.c_str()) == 0;
  if (!ok) ::unlink(tempPath_.c_str());
  return ok;
}

}  // namespace zorvcore
