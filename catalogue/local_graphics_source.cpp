#include "catalogue/local_graphics_source.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "catalogue/package_description.h"
#include "catalogue/search_index.h"
#include "catalogue/source_ids.h"
#include "host/core/dir.h"
#include "host/core/executor.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/locale.h"
#include "host/core/localizer.h"
#include "host/core/recursive_file_iterator.h"
#include "host/core/unicode.h"
#include "package/cache_file_name.h"
#include "package/capsule_zip.h"
#include "package/temp_directories.h"

namespace zorvcapsule {
namespace {

constexpr std::u16string_view kPackageExtension = u".tplx";
constexpr const char16_t* kTemplatesFolderName = u"$$$/GraphicSource/local/TemplatesFolder=Local Templates Folder";
constexpr std::u16string_view kQuazelAuthorApp = u"qzfx";

// Packages per pool task while listing: small enough to spread a few hundred packages over the pool,
// large enough that handing out work costs little beside opening a zip.
constexpr size_t kPackagesPerTask = 4;

bool IsPackage(const zorvcore::File& file) { return file.GetExtension(true) == kPackageExtension; }

// One package found by the walk, with the library ID its entry will carry.
struct FoundPackage {
  std::u16string path;
  std::string libraryID;
};

// What building one package's entry gave: the entry, a skip because the request was aborted, or the
// error that ended the listing there.
struct BuiltEntry {
  CapsuleEntryPtr entry;
  std::exception_ptr error;
};

int32_t DurationMsOf(const hostbridge::MediaTime& duration) {
  const int64_t value = duration.numerator();
  const int64_t scale = duration.denominator();
  if (scale <= 0) return 0;
  // 128-bit product: value * 1000 must not wrap for long durations at fine scales.
  const __int128 ms = static_cast<__int128>(value) * 1000 / scale;
  return static_cast<int32_t>(static_cast<int64_t>(ms));
}

void FillFromCapsule(CapsuleEntry& entry, const Capsule& capsule) {
  const std::u16string name = capsule.GetDisplayName();
  if (!name.empty()) entry.name = name;
  const hostbridge::SourceInfo sourceInfo = capsule.GetSourceInfo();
  entry.durationMs = DurationMsOf(sourceInfo.duration);
  entry.frameWidth = sourceInfo.frame_rect.size.x;
  entry.frameHeight = sourceInfo.frame_rect.size.y;
  entry.description = capsule.GetCapsuleDesc();
  entry.authorApp = capsule.GetAuthorApp();
  entry.capsuleID = capsule.GetCapsuleID();
  if (entry.authorApp == kQuazelAuthorApp) entry.requiresQuazel = !capsule.CanUseQZLib(nullptr);
  entry.state = 2;
  entry.usedFonts = zorvcore::StdToUTF16Strings(capsule.GetUsedFonts());
  entry.tags = zorvcore::StdToUTF16Strings(capsule.GetTags());
}

// `cacheFolder` is the thumbnail cache, GetTempLocalDirectory() as it was when the listing began.
CapsuleEntryPtr BuildEntry(const FoundPackage& found, const std::u16string& cacheFolder) {
  auto entry = std::make_shared<CapsuleEntry>();
  entry->ids.push_back(kLocalSourceID);
  if (!found.libraryID.empty()) entry->ids.push_back(found.libraryID);
  entry->path = found.path;
  const zorvcore::File file(found.path);
  // Read here rather than by the walk, so that the size queries are spread over the pool too.
  entry->fileSize = static_cast<uint64_t>(file.Size());
  entry->name = file.GetTitle();

  const CapsuleZip package(found.path, std::string());
  const std::string description = ReadDescriptionUTF8(package);
  if (description.empty()) return entry;
  // The entry needs no controls: they are only checked, so that a broken one still rejects the package.
  const std::shared_ptr<Capsule> capsule = serialization::CapsuleWithoutControlsFromJson(description);
  if (!capsule) return entry;
  FillFromCapsule(*entry, *capsule);

  const zorvcore::DateTime modified = file.Modified();
  entry->modifiedTime = modified.ToPtime();
  const std::u16string videoCache = MakeCacheFileName(kVideoThumbCacheTag, kLocalSourceID, entry->path, modified,
                                                      kVideoThumbCacheExtension, cacheFolder);
  if (package.CacheTPLXThumbnailVideo(videoCache)) entry->videoPreviewPath = videoCache;
  return entry;
}

// Hands the built entries to the listing's observer in walk order while the pool still builds the
// later ones: whichever thread finds the next entries in order built takes the turn and passes
// them on, one thread at a time. An entry that failed or was skipped stops the hand-over there, as
// it stops the appending.
class InOrderHandOver {
 public:
  InOrderHandOver(const std::vector<BuiltEntry>& built, const LocalGraphicsSource::EntryObserver& listed)
      : built_(built), listed_(listed), done_(built.size()) {}

  // Entry i is built (REQUIRES: built_[i].entry is set); passes on what is now in order.
  void Built(size_t i) {
    if (!listed_) return;
    done_[i].store(true, std::memory_order_release);
    TakeTurn();
  }

  // Once every task has ended: passes on the rest, on this thread.
  void Finish() {
    if (!listed_) return;
    std::lock_guard<std::mutex> lock(turn_);
    PassOn();
  }

 private:
  void TakeTurn() {
    for (;;) {
      std::unique_lock<std::mutex> lock(turn_, std::try_to_lock);
      if (!lock) return;  // the thread taking its turn now will see this entry, or Finish will
      PassOn();
      const size_t next = next_;
      lock.unlock();
      // Built while the turn was held, by a thread that found it taken?
      if (next == done_.size() || !done_[next].load(std::memory_order_acquire)) return;
    }
  }

  // REQUIRES: turn_ is held.
  void PassOn() {
    while (next_ < done_.size() && done_[next_].load(std::memory_order_acquire)) listed_(built_[next_++].entry);
  }

  const std::vector<BuiltEntry>& built_;
  const LocalGraphicsSource::EntryObserver& listed_;
  std::vector<std::atomic<bool>> done_;
  std::mutex turn_;
  size_t next_ = 0;  // guarded by turn_
};

// Builds the entries of `found` on the worker pool and appends them to `results` in walk order. A
// package skipped because the token was aborted ends the appending there: everything after an
// abort counts as skipped, as a sequential walk would have it. A package whose entry could not be
// built ends the listing at its place, and its error is rethrown once the entries before it are in.
// `listed`, when set, sees every entry that is appended, in order, before the appending.
void AppendEntries(const std::vector<FoundPackage>& found, std::vector<CapsuleEntryPtr>& results,
                   const CheckCancelPtr& token, const LocalGraphicsSource::EntryObserver& listed) {
  if (token && token->GetAbort()) return;
  std::vector<BuiltEntry> built(found.size());
  InOrderHandOver handOver(built, listed);
  const std::u16string cacheFolder = GetTempLocalDirectory();
  const size_t tasks = (found.size() + kPackagesPerTask - 1) / kPackagesPerTask;
  zorvcore::ExecuteCPUBoundTaskOnAllProcessors(
      [&](size_t task) {
        const size_t end = std::min(found.size(), (task + 1) * kPackagesPerTask);
        for (size_t i = task * kPackagesPerTask; i < end; ++i) {
          if (token && token->GetAbort()) return;
          try {
            built[i].entry = BuildEntry(found[i], cacheFolder);
          } catch (...) {
            built[i].error = std::current_exception();
            return;
          }
          handOver.Built(i);
        }
      },
      tasks);
  handOver.Finish();
  for (const auto& one : built) {
    if (one.error) std::rethrow_exception(one.error);
    if (!one.entry) return;
    results.push_back(one.entry);
  }
}

}  // namespace

LocalGraphicsSource::LocalGraphicsSource(const std::u16string& templatesFolder, const FolderList& folders)
    : templatesFolder(templatesFolder), folders(folders) {}

LocalGraphicsSource::~LocalGraphicsSource() = default;

void LocalGraphicsSource::Initialize() { InitTempDirectory(true); }

void LocalGraphicsSource::Terminate() {}

std::string LocalGraphicsSource::GetSourceID() { return kLocalSourceID; }

LocalGraphicsSource::FolderList LocalGraphicsSource::GetFolders() const {
  std::lock_guard<std::mutex> lock(foldersMutex);
  return folders;
}

void LocalGraphicsSource::SetFolders(const FolderList& newFolders) {
  std::lock_guard<std::mutex> lock(foldersMutex);
  folders = newFolders;
}

void LocalGraphicsSource::SearchDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys) {
  QueryRapidFindDB(words, keys);
}

void LocalGraphicsSource::Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results,
                                 int, int, int& total, const CheckCancelPtr& token) {
  if (words.empty()) {
    List(results, total, token, nullptr);
    return;
  }
  total = static_cast<int>(results.size());
}

void LocalGraphicsSource::List(std::vector<CapsuleEntryPtr>& results, int& total, const CheckCancelPtr& token,
                               const EntryObserver& listed) {
  std::vector<FoundPackage> found;
  for (const zorvcore::File& file : zorvcore::RecursiveFileIterator(zorvcore::Dir(templatesFolder))) {
    if (IsPackage(file)) found.push_back({file.FullPath(), kLocalDefaultID});
  }
  for (const auto& [displayName, folderPath] : GetFolders()) {
    const zorvcore::Dir folder(folderPath);
    if (folderPath.empty() || !folder.Exists()) continue;
    const std::string libraryID = zorvcore::UTF16toStdString(folderPath);
    for (const zorvcore::File& file : folder.Files()) {
      if (IsPackage(file)) found.push_back({file.FullPath(), libraryID});
    }
  }
  AppendEntries(found, results, token, listed);
  total = static_cast<int>(results.size());
}

void LocalGraphicsSource::GetFilter(GraphicFilterID& filter) {
  const std::u16string name = zorvcore::Localizer::Localize(kTemplatesFolderName);
  filter.name = name;
  filter.sourceID = kLocalSourceID;
  filter.items.clear();
  for (const auto& [displayName, folderPath] : GetFolders()) {
    if (folderPath.empty()) continue;
    filter.items.push_back({displayName, zorvcore::UTF16toStdString(folderPath), zorvcore::Dir(folderPath).Exists()});
  }
  std::sort(filter.items.begin(), filter.items.end(), GraphicFilterItemLess);
  filter.items.insert(filter.items.begin(), GraphicFilterItem{name, kLocalDefaultID, true});
}

void LocalGraphicsSource::GetDirectories(std::set<std::u16string>& found) {
  found.insert(zorvcore::FileUtils::RemoveTrailingSlash(templatesFolder));
  for (const zorvcore::File& file : zorvcore::RecursiveFileIterator(zorvcore::Dir(templatesFolder))) {
    if (IsPackage(file)) found.insert(file.Parent().FullPath());
  }
  for (const auto& [displayName, folderPath] : GetFolders()) {
    if (folderPath.empty()) continue;
    const zorvcore::Dir folder(folderPath);
    if (folder.Exists()) found.insert(folder.FullPath());
  }
}

std::u16string LocalGraphicsSource::GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token) {
  if (!entry || (token && token->GetAbort())) return {};
  const zorvcore::File file(entry->path);
  const std::u16string cache = MakeCacheFileName(kStillThumbCacheTag, kLocalSourceID, entry->path, file.Modified(),
                                                 kStillThumbCacheExtension, GetTempLocalDirectory());
  const CapsuleZip package(entry->path, std::string());
  if (!package.CacheTPLXThumbnailPNG(cache)) return {};
  if (token && token->GetAbort()) return {};
  return cache;
}

}  // namespace zorvcapsule
