// GraphicSourceManager: the host's single entry point to the template catalogue.
//
// The host adds sources, installs result callbacks and issues requests; requests return at once, a
// serial worker queue does the work, and results come back on the host's main thread through
// zorvcore::AsyncCallFromMainThread (the host drains that queue). Two modes, fixed by the constructor:
//
//  - index mode (non-empty index path): the default set gathers every source's templates, writes their
//    words into the search index, sorts them and delivers them through the local callbacks; word searches
//    and similar tags are answered from the index through the database callbacks;
//  - paged mode (empty path): the default set and word searches ask the sources page by page (100 per
//    page, at most 1000 results) and deliver each page through the stock callbacks.
//
// A delivery is dropped when its request's token has been aborted by the time it runs on the main
// thread. A newer paged request aborts the older one; in index mode older requests still deliver.
//
// Choices made for the host's sake:
//  - An exception that escapes a source (the bad-cast error of a description member of the wrong type,
//    a file-system error) never ends the process and never loses a whole catalogue: the task catches it,
//    reports its text through zorvcore::debug::ReportDiagnostic (source "GraphicSourceManager"), and goes
//    on with the entries gathered before the error as if the source had stopped there; the total then
//    counts those entries.
//  - Callback slots and the sort function are guarded by a lock of their own, so replacing one never
//    overlaps a task that reads it and never makes the main thread wait for a running search. A task
//    reads the sort function once before sorting and a callback once when it queues its delivery.
//  - The local source's folder list is replaced through LocalGraphicsSource::SetFolders, which a listing
//    in progress does not observe.
//
// Thread safety: construction, AddGraphicSource, the setters, the requests, LocalDirectoryChanged and
// Shutdown are called from the host's main thread. GetThumbnailPath may be called from any thread; it
// takes the manager's mutex and waits while a search or index task runs. GetFilterList,
// GetLocalDirectories and FindGraphicSource run on the caller's thread without the mutex.
// No request may be issued after Shutdown.

#ifndef ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_MANAGER_H_
#define ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_MANAGER_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/graphic_source.h"
#include "host/core/executor.h"
#include "host/core/recursive_mutex.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT GraphicSourceManager {
 public:
  using EntryMap = std::map<int32_t, CapsuleEntryPtr>;
  using EntryVector = std::vector<CapsuleEntryPtr>;
  using WordSet = std::set<std::u16string>;

  using EntryMapCallback = std::function<void(EntryMap&, int32_t, int32_t)>;
  using EntryVectorCallback = std::function<void(EntryVector&, int32_t, int32_t)>;
  using WordSetCallback = std::function<void(WordSet)>;
  using SortFunction = std::function<bool(const CapsuleEntryPtr&, const CapsuleEntryPtr&)>;

  using EntryMapCallbackPtr = std::shared_ptr<EntryMapCallback>;
  using EntryVectorCallbackPtr = std::shared_ptr<EntryVectorCallback>;
  using WordSetCallbackPtr = std::shared_ptr<WordSetCallback>;
  using SortFunctionPtr = std::shared_ptr<SortFunction>;

  // Entries asked for per page, and the largest total a paged search walks through.
  static constexpr int32_t kPageSize = 100;
  static constexpr int32_t kMaxPagedResults = 1000;

  // A non-empty `indexPath` selects index mode and opens the module-wide search index there.
  explicit GraphicSourceManager(const std::u16string& indexPath = std::u16string());
  GraphicSourceManager(const GraphicSourceManager&) = delete;
  GraphicSourceManager& operator=(const GraphicSourceManager&) = delete;
  virtual ~GraphicSourceManager();

  // Appends the source (no duplicate check) and initializes it on this thread.
  void AddGraphicSource(const IGraphicSourcePtr& source);
  // The first source with that ID, or empty.
  IGraphicSourcePtr FindGraphicSource(const std::string& id);
  // Appends every source's filter, in source order; `filters` is not cleared.
  void GetFilterList(std::vector<IGraphicSource::GraphicFilterID>& filters);
  void SetSearchFilterType(const std::u16string& type);
  // Clears `folders`, then, in index mode, lets every source add the folders to watch.
  void GetLocalDirectories(std::set<std::u16string>& folders);
  // The still thumbnail of `entry` from the first source named in its ids; empty when none is.
  std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token);

  // Each map/vector pair holds at most one form: setting one clears the other.
  void SetLocalRequestCallback(const EntryMapCallbackPtr& callback);
  void SetLocalRequestVectorCallback(const EntryVectorCallbackPtr& callback);
  void SetStockRequestCallback(const EntryMapCallbackPtr& callback);
  void SetStockRequestVectorCallback(const EntryVectorCallbackPtr& callback);
  // Index mode only; ignored in paged mode.
  void SetDatabaseRequestCallback(const WordSetCallbackPtr& callback);
  void SetDatabaseTagRequestCallback(const WordSetCallbackPtr& callback);
  // An empty pointer turns sorting off: the default set then arrives in source order.
  void SetCapsuleSortFxn(const SortFunctionPtr& sortFunction);

  void RequestDefaultGraphicSet();
  void RequestGraphics(const std::vector<std::u16string>& words);
  void RequestSimilarTags(const std::u16string& word);
  void CancelSimilarTagRequests();
  // Index mode only. When `changed`, the local source's folders become `folders`; then the index is
  // rebuilt.
  void LocalDirectoryChanged(bool changed,
                             const std::vector<std::pair<std::u16string, std::u16string>>& folders);

  // Aborts every request, stops the worker queue, terminates the sources and closes the index. A
  // second call does nothing.
  void Shutdown();

 private:
  struct Callbacks {
    EntryMapCallbackPtr localMap, stockMap;
    EntryVectorCallbackPtr localVector, stockVector;
    WordSetCallbackPtr database, databaseTag;
    SortFunctionPtr sortFunction;
  };

  bool IndexMode() const { return !indexPath.empty(); }
  void Queue(std::function<void()> task);
  Callbacks SnapshotCallbacks() const;

  void SearchSourcesPaged(const std::vector<std::u16string>& words, int32_t start, int32_t count,
                          const CheckCancelPtr& token);
  void RebuildIndex(const CheckCancelPtr& token);
  void SearchIndex(const std::vector<std::u16string>& words, const CheckCancelPtr& token);
  void FindSimilarTags(const std::u16string& word, const CheckCancelPtr& token);

  class EntryIndexer;

  // Calls every source's Search into `results`; an exception ends the collection (see above). With
  // an indexer, the entries' words go into the index in result order as they are collected.
  void CollectFromSources(const std::vector<std::u16string>& words, EntryVector& results, int32_t start,
                          int32_t count, int32_t& total, const CheckCancelPtr& token,
                          EntryIndexer* indexer = nullptr);

  zorvcore::RecursiveMutex mutex;
  std::vector<IGraphicSourcePtr> sources;
  zorvcore::ExecutorPtr executor;
  std::u16string indexPath;

  mutable std::mutex callbacksMutex;
  Callbacks callbacks;

  CheckCancelPtr pagedToken, defaultSetToken, directoryToken, searchToken, similarTagsToken;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_MANAGER_H_
