#include "package/temp_directories.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <optional>

#include "host/core/abandoned_temp_files.h"
#include "host/core/app_config.h"
#include "host/core/debug.h"
#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/private_folder.h"
#include "host/core/recursive_file_iterator.h"
#include "host/core/unicode.h"
#include "package/package_names.h"
#include "package/temp_directories_internal.h"

namespace zorvcapsule {

const std::u16string kTempLocalFolderName = u"TslBrowser";
const std::u16string kTempStockFolderName = u"TslStock";

namespace {

using zorvcore::FileUtils;

constexpr std::chrono::hours kAbandonedTemporaryFileAge{1};
constexpr const char* kDiagnosticSource = "zorvcapsule::InitTempDirectory";

std::atomic<bool> localTreeChecked{false};
std::atomic<bool> stockTreeChecked{false};

// The roots chosen by the first InitTempDirectory of each tree; unset before it.
struct ChosenRoots {
  std::mutex mutex;
  std::optional<std::u16string> local;
  std::optional<std::u16string> stock;
};

ChosenRoots& Roots() {
  static ChosenRoots roots;
  return roots;
}

std::optional<std::u16string>& ChosenRoot(ChosenRoots& roots, bool local) { return local ? roots.local : roots.stock; }

std::u16string TempRootWithSlash() {
  return FileUtils::AddTrailingSlash(zorvcore::Dir::TempDir().FullPath());
}

std::u16string DefaultTreeRoot(bool local) {
  return TempRootWithSlash() + (local ? kTempLocalFolderName : kTempStockFolderName);
}

// The tree's root: the chosen one once the tree was initialized, the default name before.
std::u16string TreeRoot(bool local) {
  ChosenRoots& roots = Roots();
  std::lock_guard<std::mutex> lock(roots.mutex);
  const std::optional<std::u16string>& chosen = ChosenRoot(roots, local);
  return chosen ? *chosen : DefaultTreeRoot(local);
}

void ReportRefusedRoot(const std::u16string& path, const std::string& problem) {
  zorvcore::debug::ReportDiagnostic(kDiagnosticSource, "not using the cache folder \"" +
                                                           zorvcore::UTF16ToUTF8(path) + "\": it " + problem);
}

// Another user of the machine may have taken the tree's usual name in the shared temporary folder
// first. Then the tree moves to the same name with the user ID appended, and if that is taken too,
// to a fresh folder of a random name (the cache then lasts only as long as this process uses it).
std::u16string ChooseTreeRoot(bool local) {
  const std::u16string preferred = DefaultTreeRoot(local);
  zorvcore::Status status = zorvcore::MakePrivateFolder(preferred);
  if (status.ok()) return preferred;
  ReportRefusedRoot(preferred, status.message());
  const std::u16string personal = preferred + u"-" + zorvcore::CurrentUserIDText();
  status = zorvcore::MakePrivateFolder(personal);
  if (status.ok()) return personal;
  ReportRefusedRoot(personal, status.message());
  const std::u16string fresh = zorvcore::MakeUniquePrivateFolder(personal + u"-");
  return fresh.empty() ? personal : fresh;
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
  zorvcore::RemoveAbandonedTemporaryFiles(root, kAbandonedTemporaryFileAge);
  if (!TreeExceedsLimit(root)) return;
  root.Delete();
  zorvcore::MakePrivateFolder(rootPath);
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
  const std::u16string root = ChooseTreeRoot(local);
  {
    ChosenRoots& roots = Roots();
    std::lock_guard<std::mutex> lock(roots.mutex);
    ChosenRoot(roots, local) = root;
  }
  CheckTree(root);
}

std::u16string GetTempLocalDirectory() { return zorvcore::Dir(TreeRoot(true)).FullPath(); }

std::u16string GetTempStockDirectory(const std::u16string& assetID) {
  const std::u16string path = FileUtils::AddTrailingSlash(TreeRoot(false)) +
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
  ChosenRoots& roots = Roots();
  std::lock_guard<std::mutex> lock(roots.mutex);
  roots.local.reset();
  roots.stock.reset();
}

}  // namespace internal
}  // namespace zorvcapsule

