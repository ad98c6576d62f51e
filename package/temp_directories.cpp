#include "package/temp_directories.h"

#include <atomic>
#include <exception>

#include "host/core/app_config.h"
#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/recursive_file_iterator.h"
#include "package/package_names.h"
#include "package/temp_directories_internal.h"

namespace zorvcapsule {

const std::u16string kTempLocalFolderName = u"TslBrowser";
const std::u16string kTempStockFolderName = u"TslStock";

namespace {

using zorvcore::FileUtils;

std::atomic<bool> localTreeChecked{false};
std::atomic<bool> stockTreeChecked{false};

std::u16string TempRootWithSlash() {
  return FileUtils::AddTrailingSlash(zorvcore::Dir::TempDir().FullPath());
}

// Hidden files (temporary files being written, system droppings) do not count.
bool CountsTowardsLimit(const zorvcore::File& file) {
  const std::u16string title = file.GetTitle();
  return title.empty() || title.front() != u'.';
}

bool TreeExceedsLimit(const zorvcore::Dir& root) {
  try {
    int64_t total = 0;
    for (const zorvcore::File& file : zorvcore::RecursiveFileIterator(root)) {
      if (!CountsTowardsLimit(file)) continue;
      total += file.Size();
      if (total > kTempTreeSizeLimit) return true;
    }
  } catch (const std::exception&) {
    // A walk that fails has found no excess so far; the tree stays.
  }
  return false;
}

void CheckTree(const std::u16string& rootPath) {
  const zorvcore::Dir root(rootPath);
  if (root.Exists() && TreeExceedsLimit(root)) root.Delete();
  FileUtils::EnsureDirectoryExists(rootPath);
}

// The asset ID as one folder name that stays below its parent.
std::u16string AssetFolderName(const std::u16string& assetID) {
  std::u16string name = assetID;
  for (char16_t& unit : name) {
    if (unit == u'/' || unit == u'\0') unit = u'_';
  }
  if (name.find_first_not_of(u'.') == std::u16string::npos) name.insert(0, u"_");
  return name;
}

std::u16string AssetFilePath(const std::u16string& assetID, const std::u16string& fileName) {
  return FileUtils::AddTrailingSlash(GetTempStockDirectory(assetID)) + fileName;
}

}  // namespace

void InitTempDirectory(bool local) {
  std::atomic<bool>& checked = local ? localTreeChecked : stockTreeChecked;
  if (checked.exchange(true)) return;
  CheckTree(TempRootWithSlash() + (local ? kTempLocalFolderName : kTempStockFolderName));
}

std::u16string GetTempLocalDirectory() {
  return zorvcore::Dir(TempRootWithSlash() + kTempLocalFolderName).FullPath();
}

std::u16string GetTempStockDirectory(const std::u16string& assetID) {
  const std::u16string path = TempRootWithSlash() + kTempStockFolderName + u"/" +
                              FileUtils::AddTrailingSlash(zorvcore::config::GetApplicationName()) +
                              FileUtils::AddTrailingSlash(zorvcore::config::GetClientVersion()) +
                              AssetFolderName(assetID);
  FileUtils::EnsureDirectoryExists(path);
  return path;
}

std::u16string GetTempStockAssetJSONPath(const std::u16string& assetID) {
  return AssetFilePath(assetID, kJSONFileName);
}

std::u16string GetTempStockAssetThumbPath(const std::u16string& assetID) {
  return AssetFilePath(assetID, kThumbFileName);
}

std::u16string GetTempStockAssetVideoThumbPath(const std::u16string& assetID) {
  return AssetFilePath(assetID, kVideoThumbFileName);
}

namespace internal {

void ResetTempDirectoryChecksForTesting() {
  localTreeChecked = false;
  stockTreeChecked = false;
}

}  // namespace internal
}  // namespace zorvcapsule

