#include "host/core/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "host/core/dir.h"
#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"
#include "host/core/unicode.h"

namespace zorvcore {
namespace {

// The position of the extension's dot in a last component, or npos. A leading dot starts a
// hidden name, not an extension, and "." and ".." have none.
size_t ExtensionDot(std::u16string_view name) {
  if (name == u"." || name == u"..") return std::u16string_view::npos;
  const size_t dot = name.rfind(u'.');
  return dot == 0 ? std::u16string_view::npos : dot;
}

// The native form of a path is its UTF-8 text: stat it as that, without a std::filesystem::path,
// whose construction costs more than the call (folder listings ask for every file).
bool StatOf(const std::u16string& path, struct stat& info) { return ::stat(UTF16ToUTF8(path).c_str(), &info) == 0; }

}  // namespace

File::File(std::u16string path, int) : path_(std::move(path)) {}

bool File::Exists() const { return FileUtils::FileExists(path_); }

int64_t File::Size() const {
  struct stat info;
  if (!StatOf(path_, info) || !S_ISREG(info.st_mode)) return 0;
  return static_cast<int64_t>(info.st_size);
}

DateTime File::Modified() const {
  struct stat info;
  if (!StatOf(path_, info)) return DateTime{};
  // Whole microseconds, rounded down, of the modification time's nanoseconds.
  return DateTime::FromMicroseconds(static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000 + info.st_mtim.tv_nsec / 1000);
}

std::u16string File::GetExtension(bool withDot) const {
  const std::u16string_view name = FileUtils::GetLastComponent(path_);
  const size_t dot = ExtensionDot(name);
  if (dot == std::u16string_view::npos) return std::u16string();
  return std::u16string(name.substr(withDot ? dot : dot + 1));
}

std::u16string File::GetTitle() const {
  const std::u16string_view name = FileUtils::GetLastComponent(path_);
  return std::u16string(name.substr(0, ExtensionDot(name)));
}

Dir File::Parent() const { return Dir(FileUtils::GetParentPath(path_)); }

bool File::Create() const {
  const std::string native = FileHelperUtils::UTF16ToStdPath(path_).native();
  const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return ::close(fd) == 0;
}

}  // namespace zorvcore
