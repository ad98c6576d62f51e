#include "host/core/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"

namespace zorvcore {
namespace {

constexpr mode_t kPrivateMode = 0700;
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;

std::string NativePath(const std::u16string& path) { return FileHelperUtils::UTF16ToStdPath(path).native(); }

Status CheckPrivate(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) return Status::IOError(std::string("cannot be read: ") + std::strerror(errno));
  if (S_ISLNK(info.st_mode)) return Status::IOError("is a symbolic link");
  if (!S_ISDIR(info.st_mode)) return Status::IOError("is not a folder");
  if (info.st_uid != ::geteuid()) {
    return Status::IOError("belongs to user " + std::to_string(info.st_uid) + ", not to user " +
                           std::to_string(::geteuid()));
  }
  if ((info.st_mode & kWritableByOthers) != 0) return Status::IOError("can be written by other users");
  return Status::OK();
}

}  // namespace

Status MakePrivateFolder(const std::u16string& path) {
  const std::string native = NativePath(path);
  if (native.empty()) return Status::InvalidArgument("has no path");
  // mkdir never follows a link in the last component, and fails on any name already there; what is
  // there is then judged by the check, whoever made it.
  if (::mkdir(native.c_str(), kPrivateMode) != 0 && errno != EEXIST) {
    return Status::IOError(std::string("cannot be created: ") + std::strerror(errno));
  }
  return CheckPrivate(native);
}

std::u16string MakeUniquePrivateFolder(const std::u16string& prefix) {
  const std::string pattern = NativePath(prefix) + "XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  // mkdtemp makes the folder with mode 0700 under a name nobody could have taken first.
  if (::mkdtemp(buffer.data()) == nullptr) return std::u16string();
  return FileHelperUtils::StdPathToUTF16(std::filesystem::path(buffer.data()));
}

std::u16string CurrentUserIDText() { return UTF8ToUTF16(std::to_string(::geteuid())); }

}  // namespace zorvcore
