#include "host/storage/zip_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <system_error>

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file a package path names, links followed; the path itself when nothing is there yet.
std::string ResolvedPackagePath(const std::string& packagePath) {
  std::error_code error;
  const fs::path resolved = fs::canonical(packagePath, error);
  return error ? packagePath : resolved.native();
}

void SyncPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// libzip does not flush its temporary file before the rename; flushing afterwards at least bounds
// the time in which a power cut could lose the new package's data.
void SyncPackageAndFolder(const std::string& packagePath) {
  SyncPath(packagePath, O_RDONLY);
  std::string folder = fs::path(packagePath).parent_path().native();
  SyncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
}

bool AddFile(zip_t* archive, const std::string& memberName, const std::string& sourcePath,
             bool replace) {
  if (!replace && zip_name_locate(archive, memberName.c_str(), 0) >= 0) return false;
  zip_source_t* source = zip_source_file(archive, sourcePath.c_str(), 0, 0);
  if (source == nullptr) return false;
  const zip_flags_t flags = ZIP_FL_ENC_UTF_8 | (replace ? ZIP_FL_OVERWRITE : 0);
  if (zip_file_add(archive, memberName.c_str(), source, flags) < 0) {
    zip_source_free(source);
    return false;
  }
  return true;
}

}  // namespace

bool StoreFileInPackage(const std::string& packagePath, const std::string& memberName,
                        const std::string& sourcePath, bool replace) {
  if (!IsRegularFile(sourcePath)) return false;
  const std::string target = ResolvedPackagePath(packagePath);
  struct stat info;
  if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
  int error = 0;
  zip_t* archive = zip_open(target.c_str(), ZIP_CREATE, &error);
  if (archive == nullptr) return false;
  if (!AddFile(archive, memberName, sourcePath, replace) || zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  SyncPackageAndFolder(target);
  return true;
}

}  // namespace zorvstorage
