#include "tools/package_file_check.h"

#include <filesystem>
#include <system_error>

namespace capsuletool {

namespace fs = std::filesystem;

std::string PackageFileProblem(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return "no such file";
  if (error) return "cannot be read: " + error.message();
  if (fs::is_directory(status)) return "is a folder, not a template package";
  if (!fs::is_regular_file(status)) return "is not a regular file";
  return std::string();
}

std::string FolderProblem(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return "no such folder";
  if (error) return "cannot be read: " + error.message();
  if (!fs::is_directory(status)) return "is not a folder";
  return std::string();
}

}  // namespace capsuletool
