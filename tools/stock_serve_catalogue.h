// ServedCatalogue: the templates `capsule stock serve` offers: the packages of one folder, listed
// as the catalogue lists them, each with an asset ID counted from 1 in the listing's walk order.
//
// It is built the way a host builds its catalogue: a GraphicSourceManager in index mode with a
// LocalGraphicsSource for the folder, asked for the default set with sorting off (so the entries
// arrive in walk order), which also fills the search index with every template's tags, name and
// folder words. The manager, and with it the index, stays open while the catalogue lives, and a
// word search asks the folder's source exactly as the manager's own word search does, so the
// service finds what `capsule catalogue FOLDER --search WORD` finds.
//
// Thread safety: Build and destruction on the program's main thread (Build drains the main-thread
// queue). Size, Find and Match may be called from any thread once built; word searches take turns.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_CATALOGUE_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_CATALOGUE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "tools/diagnostics_collector.h"
#include "tools/terminal_progress.h"

namespace capsuletool {

class ServedCatalogue {
 public:
  // Lists `folder` (a full path) with the index kept in the file `indexPath`. The listing may stop
  // early (a package the library cannot read, a manager task that died): what it reported is in
  // `diagnostics`, and Complete() is false when the listing never arrived at all.
  // REQUIRES: `diagnostics` outlives the call.
  ServedCatalogue(const std::u16string& folder, const std::u16string& indexPath,
                  const DiagnosticsCollector& diagnostics, TerminalProgress& progress);
  ServedCatalogue(const ServedCatalogue&) = delete;
  ServedCatalogue& operator=(const ServedCatalogue&) = delete;
  // Shuts the manager down, which closes the index.
  ~ServedCatalogue();

  bool Complete() const { return complete_; }
  int32_t Size() const { return static_cast<int32_t>(entries_.size()); }
  // The template with asset ID `id`, or null when there is none.
  zorvcapsule::CapsuleEntryPtr Find(int64_t id) const;
  // The asset IDs of the templates the catalogue's word search finds for `words`, ascending; every
  // asset ID when `words` is empty.
  std::vector<int32_t> Match(const std::vector<std::u16string>& words) const;

 private:
  zorvcapsule::GraphicSourceManager manager_;
  std::shared_ptr<zorvcapsule::LocalGraphicsSource> source_;
  std::vector<zorvcapsule::CapsuleEntryPtr> entries_;  // asset ID - 1 -> entry
  std::map<std::u16string, int32_t> idByPath_;
  bool complete_ = false;
  mutable std::mutex searchMutex_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_CATALOGUE_H_
