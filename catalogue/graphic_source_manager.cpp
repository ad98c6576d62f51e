#include "catalogue/graphic_source_manager.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <typeinfo>

#include "catalogue/local_graphics_source.h"
#include "catalogue/search_index.h"
#include "catalogue/source_ids.h"
#include "host/core/debug.h"
#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"

namespace zorvcapsule {
namespace {

constexpr const char* kDiagnosticSource = "GraphicSourceManager";

bool Aborted(const CheckCancelPtr& token) { return token && token->GetAbort(); }

CheckCancelPtr NewToken() { return std::make_shared<CheckCancel>(); }

void AbortToken(const CheckCancelPtr& token) {
  if (token) token->Abort();
}

// The deliveries run on the main thread with their own copies; the token is read at that moment, so
// aborting it also drops results already on their way.
void DeliverEntryMap(GraphicSourceManager::EntryMap entries, int32_t first, int32_t total,
                     const GraphicSourceManager::EntryMapCallbackPtr& callback, const CheckCancelPtr& token) {
  zorvcore::AsyncCallFromMainThread(
      [entries = std::move(entries), first, total, callback, token]() mutable {
        if (Aborted(token) || !callback) return;
        (*callback)(entries, first, total);
      },
      0);
}

void DeliverEntryVector(GraphicSourceManager::EntryVector entries, int32_t first, int32_t total,
                        const GraphicSourceManager::EntryVectorCallbackPtr& callback,
                        const CheckCancelPtr& token) {
  zorvcore::AsyncCallFromMainThread(
      [entries = std::move(entries), first, total, callback, token]() mutable {
        if (Aborted(token) || !callback) return;
        (*callback)(entries, first, total);
      },
      0);
}

void DeliverWordSet(GraphicSourceManager::WordSet words, const GraphicSourceManager::WordSetCallbackPtr& callback,
                    const CheckCancelPtr& token) {
  zorvcore::AsyncCallFromMainThread(
      [words = std::move(words), callback, token]() {
        if (Aborted(token) || !callback) return;
        (*callback)(words);
      },
      0);
}

GraphicSourceManager::EntryMap NumberEntries(const GraphicSourceManager::EntryVector& entries, int32_t first) {
  GraphicSourceManager::EntryMap numbered;
  for (size_t i = 0; i < entries.size(); ++i) numbered.emplace(first + static_cast<int32_t>(i), entries[i]);
  return numbered;
}

std::shared_ptr<LocalGraphicsSource> AsLocalSource(const IGraphicSourcePtr& source) {
  return std::dynamic_pointer_cast<LocalGraphicsSource>(source);
}

// The words of one local entry's folders, worked out once per folder: a listing holds many templates
// per folder, and each walk up the tree asks the disk at every step.
class FolderWords {
 public:
  explicit FolderWords(const std::u16string& templatesFolder) : templates_(templatesFolder) {}
  const std::vector<std::u16string>& Of(const std::u16string& templatePath) {
    const zorvcore::Dir folder = zorvcore::File(templatePath).Parent();
    auto found = byFolder_.find(folder.FullPath());
    if (found == byFolder_.end()) {
      found = byFolder_.emplace(folder.FullPath(), zorvcore::FolderNamesBetween(folder, templates_)).first;
    }
    return found->second;
  }

 private:
  const zorvcore::Dir templates_;
  std::map<std::u16string, std::vector<std::u16string>> byFolder_;
};

}  // namespace

// Writes the words of the listed entries into the index, entry by entry in result order, while the
// listing goes on: a template's tags, its name and, for a local template inside the templates
// folder, the names of the folders between them.
//
// Thread safety: one call at a time, each seeing the calls before it (the local source hands its
// entries over in turn; the manager's task catches up after each source).
class GraphicSourceManager::EntryIndexer {
 public:
  explicit EntryIndexer(const std::vector<IGraphicSourcePtr>& sources) {
    for (const auto& source : sources) {
      if (source->GetSourceID() != kLocalSourceID) continue;
      if (auto local = AsLocalSource(source)) folderWords_.emplace(local->GetTemplatesFolder());
      break;
    }
  }

  // The next entry in result order.
  void Index(const CapsuleEntry& entry) {
    for (const auto& tag : entry.tags) InsertRow(entry.path, tag);
    InsertRow(entry.path, entry.name);
    ++indexed_;
    const bool local = std::find(entry.ids.begin(), entry.ids.end(), kLocalSourceID) != entry.ids.end();
    if (!local || !folderWords_) return;
    for (const auto& word : folderWords_->Of(entry.path)) InsertRow(entry.path, word);
  }

  // Indexes the entries of `results` not indexed yet.
  void CatchUp(const EntryVector& results) {
    while (indexed_ < results.size()) Index(*results[indexed_]);
  }

 private:
  std::optional<FolderWords> folderWords_;
  size_t indexed_ = 0;
};

GraphicSourceManager::GraphicSourceManager(const std::u16string& indexPath)
    : executor(zorvcore::CreateSubExecutor(zorvcore::CreateCPUBoundExecutor(), -1)), indexPath(indexPath) {
  if (!indexPath.empty()) InitializeRapidFindDB(indexPath);
  callbacks.sortFunction = std::make_shared<SortFunction>(CapsuleEntryNameLess);
}

GraphicSourceManager::~GraphicSourceManager() { Shutdown(); }

void GraphicSourceManager::AddGraphicSource(const IGraphicSourcePtr& source) {
  {
    zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::AddGraphicSource");
    sources.push_back(source);
  }
  source->Initialize();
}

IGraphicSourcePtr GraphicSourceManager::FindGraphicSource(const std::string& id) {
  for (const auto& source : sources) {
    if (source->GetSourceID() == id) return source;
  }
  return nullptr;
}

void GraphicSourceManager::GetFilterList(std::vector<IGraphicSource::GraphicFilterID>& filters) {
  for (const auto& source : sources) {
    IGraphicSource::GraphicFilterID filter;
    source->GetFilter(filter);
    filters.push_back(std::move(filter));
  }
}

void GraphicSourceManager::SetSearchFilterType(const std::u16string& type) {
  for (const auto& source : sources) source->SetFilterType(type);
}

void GraphicSourceManager::GetLocalDirectories(std::set<std::u16string>& folders) {
  folders.clear();
  if (!IndexMode()) return;
  for (const auto& source : sources) source->GetDirectories(folders);
}

std::u16string GraphicSourceManager::GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token) {
  if (!entry) return {};
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::GetThumbnailPath");
  for (const auto& source : sources) {
    const std::string id = source->GetSourceID();
    if (std::find(entry->ids.begin(), entry->ids.end(), id) != entry->ids.end()) {
      return source->GetThumbnailPath(entry, token);
    }
  }
  return {};
}

void GraphicSourceManager::SetLocalRequestCallback(const EntryMapCallbackPtr& callback) {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.localMap = callback;
  callbacks.localVector.reset();
}

void GraphicSourceManager::SetLocalRequestVectorCallback(const EntryVectorCallbackPtr& callback) {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.localVector = callback;
  callbacks.localMap.reset();
}

void GraphicSourceManager::SetStockRequestCallback(const EntryMapCallbackPtr& callback) {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.stockMap = callback;
  callbacks.stockVector.reset();
}

void GraphicSourceManager::SetStockRequestVectorCallback(const EntryVectorCallbackPtr& callback) {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.stockVector = callback;
  callbacks.stockMap.reset();
}

void GraphicSourceManager::SetDatabaseRequestCallback(const WordSetCallbackPtr& callback) {
  if (!IndexMode()) return;
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.database = callback;
}

void GraphicSourceManager::SetDatabaseTagRequestCallback(const WordSetCallbackPtr& callback) {
  if (!IndexMode()) return;
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.databaseTag = callback;
}

void GraphicSourceManager::SetCapsuleSortFxn(const SortFunctionPtr& sortFunction) {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  callbacks.sortFunction = sortFunction;
}

GraphicSourceManager::Callbacks GraphicSourceManager::SnapshotCallbacks() const {
  std::lock_guard<std::mutex> lock(callbacksMutex);
  return callbacks;
}

void GraphicSourceManager::Queue(std::function<void()> task) {
  if (executor) executor->Submit(std::move(task), 0);
}

void GraphicSourceManager::RequestDefaultGraphicSet() {
  if (IndexMode()) {
    defaultSetToken = NewToken();
    Queue([this, token = defaultSetToken] { RebuildIndex(token); });
    return;
  }
  AbortToken(pagedToken);
  pagedToken = NewToken();
  Queue([this, token = pagedToken] { SearchSourcesPaged({}, 0, kPageSize, token); });
}

void GraphicSourceManager::RequestGraphics(const std::vector<std::u16string>& words) {
  if (IndexMode()) {
    searchToken = NewToken();
    Queue([this, words, token = searchToken] { SearchIndex(words, token); });
    return;
  }
  AbortToken(pagedToken);
  pagedToken = NewToken();
  Queue([this, words, token = pagedToken] { SearchSourcesPaged(words, 0, kPageSize, token); });
}

void GraphicSourceManager::RequestSimilarTags(const std::u16string& word) {
  CancelSimilarTagRequests();
  similarTagsToken = NewToken();
  Queue([this, word, token = similarTagsToken] { FindSimilarTags(word, token); });
}

void GraphicSourceManager::CancelSimilarTagRequests() {
  if (!similarTagsToken) return;
  similarTagsToken->Abort();
  similarTagsToken.reset();
}

void GraphicSourceManager::LocalDirectoryChanged(
    bool changed, const std::vector<std::pair<std::u16string, std::u16string>>& folders) {
  if (!IndexMode()) return;
  if (changed) {
    if (auto local = AsLocalSource(FindGraphicSource(kLocalSourceID))) local->SetFolders(folders);
  }
  directoryToken = NewToken();
  Queue([this, token = directoryToken] { RebuildIndex(token); });
}

void GraphicSourceManager::Shutdown() {
  {
    std::lock_guard<std::mutex> lock(callbacksMutex);
    callbacks.sortFunction.reset();
    callbacks.localMap.reset();
    callbacks.stockMap.reset();
    callbacks.database.reset();
    callbacks.databaseTag.reset();
  }
  for (const auto& token : {pagedToken, defaultSetToken, directoryToken, searchToken, similarTagsToken}) {
    AbortToken(token);
  }
  if (executor) {
    executor->Stop();
    executor.reset();
  }
  for (const auto& source : sources) source->Terminate();
  if (IndexMode()) {
    TerminateRapidFindDB();
    indexPath.clear();
  }
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::Shutdown");
  sources.clear();
}

void GraphicSourceManager::CollectFromSources(const std::vector<std::u16string>& words, EntryVector& results,
                                              int32_t start, int32_t count, int32_t& total,
                                              const CheckCancelPtr& token, EntryIndexer* indexer) {
  for (const auto& source : sources) {
    try {
      int total_of_source = total;
      // The local source (exactly that class, whose Search is List) hands its entries over as they
      // are built, so that they are indexed while the pool still builds the rest.
      IGraphicSource& one = *source;
      if (indexer != nullptr && words.empty() && typeid(one) == typeid(LocalGraphicsSource)) {
        static_cast<LocalGraphicsSource&>(one).List(
            results, total_of_source, token, [indexer](const CapsuleEntryPtr& entry) { indexer->Index(*entry); });
      } else {
        source->Search(words, results, start, count, total_of_source, token);
      }
      if (indexer != nullptr) indexer->CatchUp(results);
      total = total_of_source;
    } catch (const std::exception& e) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource,
                                        "source " + source->GetSourceID() + " failed: " + e.what());
      total = static_cast<int32_t>(results.size());
      return;
    } catch (...) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource, "source " + source->GetSourceID() + " failed");
      total = static_cast<int32_t>(results.size());
      return;
    }
  }
}

void GraphicSourceManager::SearchSourcesPaged(const std::vector<std::u16string>& words, int32_t start,
                                              int32_t count, const CheckCancelPtr& token) {
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::SearchSourcesPaged");
  if (Aborted(token)) return;
  EntryVector results;
  int32_t total = 0;
  CollectFromSources(words, results, start, count, total, token);
  if (Aborted(token)) return;
  if (total > start + count) {
    const int32_t next = std::min(std::min(total, kMaxPagedResults) - start - count, kPageSize);
    if (next > 0) {
      Queue([this, words, nextStart = start + kPageSize, next, token] {
        SearchSourcesPaged(words, nextStart, next, token);
      });
    }
  }
  const Callbacks current = SnapshotCallbacks();
  if (current.stockVector) {
    DeliverEntryVector(std::move(results), start, total, current.stockVector, token);
  } else if (current.stockMap) {
    DeliverEntryMap(NumberEntries(results, start), start, total, current.stockMap, token);
  }
}

void GraphicSourceManager::RebuildIndex(const CheckCancelPtr& token) {
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::RebuildIndex");
  ClearRapidFindDB();
  EntryVector results;
  int32_t total = 0;
  // The collection gets no token: a default set is never cut short half-way. The entries' words go
  // into the index as they are listed.
  EntryIndexer indexer(sources);
  CollectFromSources({}, results, 0, kPageSize, total, nullptr, &indexer);
  indexer.CatchUp(results);
  const Callbacks current = SnapshotCallbacks();
  if (static_cast<int32_t>(results.size()) == total && current.sortFunction) {
    std::sort(results.begin(), results.end(), *current.sortFunction);
  }
  if (Aborted(token)) return;
  if (current.localMap) {
    const auto count = static_cast<int32_t>(results.size());
    DeliverEntryMap(NumberEntries(results, 0), count, total, current.localMap, token);
  } else if (current.localVector) {
    DeliverEntryVector(std::move(results), 0, total, current.localVector, token);
  }
}

void GraphicSourceManager::SearchIndex(const std::vector<std::u16string>& words, const CheckCancelPtr& token) {
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::GraphicSourceManager::SearchIndex");
  WordSet keys;
  for (const auto& source : sources) {
    try {
      source->SearchDB(words, keys);
    } catch (const std::exception& e) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource,
                                        "word search of " + source->GetSourceID() + " failed: " + e.what());
    } catch (...) {
      zorvcore::debug::ReportDiagnostic(kDiagnosticSource, "word search of " + source->GetSourceID() + " failed");
    }
  }
  DeliverWordSet(std::move(keys), SnapshotCallbacks().database, token);
}

void GraphicSourceManager::FindSimilarTags(const std::u16string& word, const CheckCancelPtr& token) {
  WordSet tags;
  if (IndexMode()) GetTags(word, tags);
  DeliverWordSet(std::move(tags), SnapshotCallbacks().databaseTag, token);
}

}  // namespace zorvcapsule
