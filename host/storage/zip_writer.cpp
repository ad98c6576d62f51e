#include "host/storage/zip_writer.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "host/core/guid.h"
#include "host/storage/zip_reader.h"

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

// A second name for the package as it is before the write, so that it can be put back: a hidden
// hard link beside it (".<name>.<random>.tmp", the writer's own temporary-file form), or a copy
// where the file system has no hard links. Empty when there is no package yet; nullopt when no
// second name could be made.
std::optional<std::string> KeepOldPackage(const std::string& target) {
  if (!IsRegularFile(target)) return std::string();
  const fs::path path(target);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string name = "." + path.filename().native() + "." +
                             zorvcore::Guid::CreateUnique().AsUTF8String() + ".tmp";
    const std::string kept = (path.parent_path() / name).native();
    if (::link(target.c_str(), kept.c_str()) == 0) return kept;
    if (errno == EEXIST) continue;
    std::error_code error;
    if (fs::copy_file(target, kept, error)) return kept;
    fs::remove(kept, error);
    return std::nullopt;
  }
  return std::nullopt;
}

// True when the package opens again with `entryCount` members, `memberName` among them.
bool ReadsBack(const std::string& target, const std::string& memberName, zip_int64_t entryCount) {
  const std::unique_ptr<ZipReader> reader = ZipReader::Open(target, std::string());
  return reader != nullptr && entryCount >= 0 &&
         reader->EntryCount() == static_cast<uint64_t>(entryCount) && reader->Find(memberName);
}

// Closes the archive, writing the new package, and checks that it reads back. libzip writes
// whatever the archive holds, and hostile member names can make it write a package it cannot
// open again (a name holding a record signature where a reader looks for one); the old package
// is then put back, so a package that read before still does.
bool CloseAndCheck(zip_t* archive, const std::string& target, const std::string& memberName) {
  const std::optional<std::string> kept = KeepOldPackage(target);
  if (!kept) {
    zip_discard(archive);
    return false;
  }
  const zip_int64_t entryCount = zip_get_num_entries(archive, 0);
  bool written = zip_close(archive) == 0;
  if (!written) zip_discard(archive);
  if (written && !ReadsBack(target, memberName, entryCount)) {
    if (kept->empty()) {
      ::unlink(target.c_str());
    } else {
      // Should this fail, the old package is still there under the kept name.
      ::rename(kept->c_str(), target.c_str());
    }
    return false;
  }
  if (!kept->empty()) ::unlink(kept->c_str());
  return written;
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
  if (!AddFile(archive, memberName, sourcePath, replace)) {
    zip_discard(archive);
    return false;
  }
  const bool written = CloseAndCheck(archive, target, memberName);
  SyncPackageAndFolder(target);
  return written;
}

}  // namespace zorvstorage
