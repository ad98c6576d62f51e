#include "tools/gallery_site.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace capsuletool {
namespace {

namespace fs = std::filesystem;
using zorvcore::Status;

constexpr const char* kPartialSuffix = ".partial";

// Where a file is written before it is renamed into place: hidden, beside it, so that the rename
// stays within one file system.
fs::path TemporaryFor(const fs::path& target) {
  return target.parent_path() / ("." + target.filename().native() + kPartialSuffix);
}

bool IsLeftover(const fs::directory_entry& entry) {
  const std::string name = entry.path().filename().native();
  return name.size() > 1 && name.front() == '.' && entry.path().extension() == kPartialSuffix;
}

Status Describe(const fs::path& path, const std::error_code& error) {
  return Status::IOError(path.native() + ": " + error.message());
}

bool SameText(const fs::path& file, const std::string& content) {
  std::error_code error;
  if (fs::file_size(file, error) != content.size() || error) return false;
  std::ifstream stream(file, std::ios::binary);
  const std::string existing((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  return existing == content;
}

bool SameCopy(const fs::path& target, const fs::path& source) {
  std::error_code error;
  const auto targetSize = fs::file_size(target, error);
  if (error) return false;
  const auto sourceSize = fs::file_size(source, error);
  if (error || sourceSize != targetSize) return false;
  const auto targetTime = fs::last_write_time(target, error);
  if (error) return false;
  const auto sourceTime = fs::last_write_time(source, error);
  return !error && sourceTime == targetTime;
}

}  // namespace

Status GallerySite::Prepare(const std::set<std::string>& ownNames) {
  std::error_code error;
  if (!fs::exists(folder_, error)) {
    fs::create_directories(folder_, error);
    return error ? Describe(folder_, error) : Status::OK();
  }
  if (!fs::is_directory(folder_, error)) return Status::InvalidArgument(folder_.native() + ": is not a folder");
  const bool marked = fs::is_regular_file(folder_ / kMarkerFile, error);
  std::vector<fs::path> leftovers;
  for (const auto& entry : fs::directory_iterator(folder_, error)) {
    if (IsLeftover(entry)) {
      leftovers.push_back(entry.path());
    } else if (!marked && !ownNames.count(entry.path().filename().native())) {
      return Status::InvalidArgument(folder_.native() +
                                     ": holds other files than a gallery; it is left as it is");
    }
  }
  if (error) return Describe(folder_, error);
  for (const auto& leftover : leftovers) fs::remove(leftover, error);
  return Status::OK();
}

Status GallerySite::WriteText(const std::string& relative, const std::string& content) {
  const fs::path target = folder_ / relative;
  placed_.insert(target);
  if (SameText(target, content)) {
    ++counts_.unchanged;
    return Status::OK();
  }
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  const fs::path temporary = TemporaryFor(target);
  {
    std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
    stream.close();
    if (!stream) {
      fs::remove(temporary, error);
      return Status::IOError(temporary.native() + ": cannot be written");
    }
  }
  return Replace(target, temporary);
}

Status GallerySite::CopyFile(const std::string& relative, const fs::path& source) {
  const fs::path target = folder_ / relative;
  placed_.insert(target);
  if (SameCopy(target, source)) {
    ++counts_.unchanged;
    return Status::OK();
  }
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  const fs::path temporary = TemporaryFor(target);
  fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
  // The copy carries the source's time, which is what the next run compares.
  if (!error) fs::last_write_time(temporary, fs::last_write_time(source, error), error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Describe(source, error);
  }
  return Replace(target, temporary);
}

Status GallerySite::Replace(const fs::path& target, const fs::path& temporary) {
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Describe(target, error);
  }
  ++counts_.written;
  return Status::OK();
}

void GallerySite::RemoveOthers(const std::string& subfolder) {
  std::error_code error;
  const fs::path folder = folder_ / subfolder;
  if (!fs::is_directory(folder, error)) return;
  std::vector<fs::path> strays;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (!placed_.count(entry.path())) strays.push_back(entry.path());
  }
  for (const auto& stray : strays) {
    if (fs::remove_all(stray, error) > 0) ++counts_.removed;
  }
}

}  // namespace capsuletool
