#include "host/core/file_utils.h"

#include <filesystem>
#include <system_error>

#include "host/core/byte_stream.h"
#include "host/core/file.h"
#include "host/core/file_helper_utils.h"

namespace zorvcore {
namespace {

constexpr char16_t kSeparator = u'/';

size_t TrailingSeparatorStart(std::u16string_view path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == kSeparator) --end;
  return end;
}

}  // namespace

bool FileUtils::FileExists(std::u16string_view path) {
  std::error_code error;
  return std::filesystem::is_regular_file(FileHelperUtils::UTF16ToStdPath(path), error);
}

bool FileUtils::DirectoryExists(std::u16string_view path) {
  std::error_code error;
  return std::filesystem::is_directory(FileHelperUtils::UTF16ToStdPath(path), error);
}

bool FileUtils::EnsureDirectoryExists(std::u16string_view path) {
  if (path.empty()) return false;
  const std::filesystem::path native = FileHelperUtils::UTF16ToStdPath(path);
  std::error_code error;
  std::filesystem::create_directories(native, error);
  // Another thread or process may have made it meanwhile; what counts is that it is there now.
  return std::filesystem::is_directory(native, error);
}

std::u16string FileUtils::AddTrailingSlash(std::u16string_view path) {
  std::u16string result(path);
  if (!result.empty() && result.back() != kSeparator) result.push_back(kSeparator);
  return result;
}

std::u16string FileUtils::RemoveTrailingSlash(std::u16string_view path) {
  std::u16string result(path);
  StripTrailingSlash(result);
  return result;
}

void FileUtils::StripTrailingSlash(std::u16string& path) {
  const size_t end = TrailingSeparatorStart(path);
  if (end == 0 && !path.empty()) {
    path.assign(1, kSeparator);
  } else {
    path.resize(end);
  }
}

std::u16string_view FileUtils::GetLastComponent(std::u16string_view path) {
  path = path.substr(0, TrailingSeparatorStart(path));
  const size_t separator = path.rfind(kSeparator);
  return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

std::u16string FileUtils::GetParentPath(std::u16string_view path) {
  const size_t end = TrailingSeparatorStart(path);
  if (end == 0) return path.empty() ? std::u16string() : std::u16string(1, kSeparator);
  const size_t separator = path.substr(0, end).rfind(kSeparator);
  if (separator == std::u16string_view::npos) return std::u16string();
  return RemoveTrailingSlash(path.substr(0, separator + 1));
}

bool FileUtils::SimpleWriteStringToFile(std::u16string_view path, std::string_view utf8Text) {
  std::unique_ptr<OutputByteStream> stream = OutputByteStream::Create(File(std::u16string(path)));
  return stream != nullptr && stream->WriteBlock(utf8Text.data(), utf8Text.size()) &&
         stream->Commit();
}

}  // namespace zorvcore
