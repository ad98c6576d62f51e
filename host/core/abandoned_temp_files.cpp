#include "host/core/abandoned_temp_files.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"
#include "host/core/recursive_file_iterator.h"

namespace zorvcore {
namespace {

constexpr std::u16string_view kTemporarySuffix = u".tmp";

int64_t NowInMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool IsByteStreamTemporaryName(const std::u16string& fileName) {
  return fileName.size() > 1 + kTemporarySuffix.size() && fileName.front() == u'.' &&
         fileName.ends_with(kTemporarySuffix);
}

size_t RemoveAbandonedTemporaryFiles(const Dir& root, std::chrono::seconds minimumAge) {
  const int64_t cutoff = NowInMicroseconds() - std::chrono::duration_cast<std::chrono::microseconds>(minimumAge).count();
  std::vector<std::u16string> abandoned;
  for (const File& file : RecursiveFileIterator(root)) {
    if (!IsByteStreamTemporaryName(std::u16string(FileUtils::GetLastComponent(file.FullPath())))) continue;
    const DateTime modified = file.Modified();
    if (modified.IsSet() && modified.microseconds < cutoff) abandoned.push_back(file.FullPath());
  }
  size_t removed = 0;
  for (const std::u16string& path : abandoned) {
    std::error_code error;
    removed += std::filesystem::remove(FileHelperUtils::UTF16ToStdPath(path), error) ? 1 : 0;
  }
  return removed;
}

}  // namespace zorvcore
