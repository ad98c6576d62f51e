// IGraphicSource: what the source manager asks of a template source.
//
// A source (local folders, cloud libraries, the stock service) lists its templates as CapsuleEntry
// records, answers word searches through the search index, describes itself for the host's filter
// menu, names the folders to watch and produces thumbnails. Sources are held by shared pointers.
//
// Thread safety: the manager calls Initialize on the thread that adds the source and Terminate at its
// shutdown; Search and SearchDB run on the manager's worker and GetThumbnailPath on the thread that asks
// the manager for a thumbnail (any thread), all three under the manager's mutex, so one at a time;
// GetFilter and GetDirectories run on the host's thread. A source that keeps mutable state guards it
// itself.

#ifndef ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_H_
#define ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_H_

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/capsule_entry.h"
#include "catalogue/check_cancel.h"

namespace zorvcapsule {

// One selectable library or folder of a source.
struct ZORVCAPSULE_EXPORT GraphicFilterItem {
  std::u16string name;     // display name
  std::string id;          // equals GetLibraryID() of the entries that come from it
  bool available = false;  // usable now (a local folder: it exists)
};

// Orders items by name without regard to case: each code unit below 256 is lowered with the
// single-byte tolower, others compare as they are; a prefix comes first.
ZORVCAPSULE_EXPORT bool GraphicFilterItemLess(const GraphicFilterItem& a, const GraphicFilterItem& b);

class ZORVCAPSULE_EXPORT IGraphicSource {
 public:
  // A source and its selectable items, for the host's filter menu.
  struct GraphicFilterID {
    std::u16string name;   // display name of the source
    std::string sourceID;  // the source's ID
    std::vector<GraphicFilterItem> items;
  };

  IGraphicSource() = default;
  IGraphicSource(const IGraphicSource&) = delete;
  IGraphicSource& operator=(const IGraphicSource&) = delete;
  virtual ~IGraphicSource();

  virtual void Initialize() {}
  virtual void Terminate() {}

  // Adds to `keys` the keys (entry paths) of the index rows that match `words`.
  virtual void SearchDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys);

  // Appends the entries found for `words` to `results` (which may hold other sources' entries) and
  // sets `total` to the number of results the caller may page through. `start` and `count` select a
  // paged source's window; others ignore them. An empty `token` is never cancelled; an aborted one
  // makes the source skip the remaining work, keeping what it appended.
  virtual void Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results,
                      int start, int count, int& total, const CheckCancelPtr& token) = 0;

  virtual std::string GetSourceID() = 0;

  virtual void GetFilter(GraphicFilterID& filter) = 0;

  // Adds the folders whose changes should trigger a new search.
  virtual void GetDirectories(std::set<std::u16string>& folders);

  // A local image file for the entry's still thumbnail, extracted or downloaded when needed; empty
  // when there is none or the token was aborted.
  virtual std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token) = 0;

  // A filter word for sources that filter their results.
  virtual void SetFilterType(const std::u16string& filterType);
};

using IGraphicSourcePtr = std::shared_ptr<IGraphicSource>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_GRAPHIC_SOURCE_H_
