#include "host/core/dir.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include <boost/filesystem/operations.hpp>

#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"

namespace zorvcore {
namespace {

std::u16string NormalForm(std::u16string_view path) {
  std::u16string result;
  result.reserve(path.size());
  for (char16_t unit : path) {
    if (unit == u'/' && !result.empty() && result.back() == u'/') continue;
    result.push_back(unit);
  }
  FileUtils::StripTrailingSlash(result);
  return result;
}

// The regular files directly in `folder`, by byte order of their native names.
std::vector<File> ListFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code statusError;
    if (!it->is_regular_file(statusError)) continue;
    std::filesystem::path name = it->path().filename();
    if (FileHelperUtils::HasUTF16Form(name.native())) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return a.native() < b.native(); });
  std::vector<File> files;
  files.reserve(names.size());
  for (const auto& name : names) {
    files.emplace_back(FileHelperUtils::StdPathToUTF16(folder / name));
  }
  return files;
}

}  // namespace

Dir::Dir(std::u16string_view path, int) : path_(NormalForm(path)) {}

Dir::Dir(const Dir& parent, std::u16string_view name)
    : Dir(FileUtils::AddTrailingSlash(parent.path_) + std::u16string(name)) {}

Dir Dir::TempDir() {
  boost::system::error_code error;
  const boost::filesystem::path temp = boost::filesystem::temp_directory_path(error);
  if (error || temp.empty()) return Dir(u"/tmp");
  return Dir(FileHelperUtils::BoostPathToUTF16(temp));
}

std::u16string Dir::GetName() const {
  return std::u16string(FileUtils::GetLastComponent(path_));
}

Dir Dir::Parent() const { return Dir(FileUtils::GetParentPath(path_)); }

bool Dir::Exists() const { return FileUtils::DirectoryExists(path_); }

bool Dir::Delete() const {
  const std::filesystem::path native = FileHelperUtils::UTF16ToStdPath(path_);
  std::error_code error;
  const std::filesystem::file_status own = std::filesystem::symlink_status(native, error);
  if (own.type() == std::filesystem::file_type::not_found) return true;
  if (error) return false;
  const bool isFolder = std::filesystem::is_directory(own);
  const bool isLinkToFolder =
      std::filesystem::is_symlink(own) && std::filesystem::is_directory(native, error);
  if (!isFolder && !isLinkToFolder) return false;
  // remove_all removes a link as a link, so nothing outside the tree is touched.
  std::filesystem::remove_all(native, error);
  return !std::filesystem::exists(std::filesystem::symlink_status(native, error));
}

DirFileIterator Dir::BeginFiles() const {
  if (path_.empty()) return DirFileIterator();
  return DirFileIterator(std::make_shared<const std::vector<File>>(
      ListFiles(FileHelperUtils::UTF16ToStdPath(path_))));
}

std::vector<std::u16string> FolderNamesBetween(Dir folder, const Dir& ancestor) {
  std::vector<std::u16string> names;
  while (!(folder == ancestor)) {
    if (folder.IsTopLevelDir() || !folder.Exists()) return {};
    names.push_back(folder.GetName());
    folder = folder.Parent();
  }
  return names;
}

}  // namespace zorvcore
