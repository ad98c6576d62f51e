#include "tools/package_file_check.h"

#include <filesystem>
#include <system_error>

namespace capsuletool {

namespace fs = std::filesystem;
using zorvcore::Status;

Status CheckPackageFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return Status::NotFound("no such file");
  if (error) return Status::IOError("cannot be read: " + error.message());
  if (fs::is_directory(status)) return Status::InvalidArgument("is a folder, not a template package");
  if (!fs::is_regular_file(status)) return Status::InvalidArgument("is not a regular file");
  return Status::OK();
}

Status CheckFolder(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return Status::NotFound("no such folder");
  if (error) return Status::IOError("cannot be read: " + error.message());
  if (!fs::is_directory(status)) return Status::InvalidArgument("is not a folder");
  return Status::OK();
}

}  // namespace capsuletool
