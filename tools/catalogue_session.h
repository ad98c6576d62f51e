// CatalogueSession: one catalogue run the way a host does it. It makes a GraphicSourceManager in
// index mode with a LocalGraphicsSource, installs the result callbacks, issues the requests (the
// default set, then a word search and similar tags when asked for) and pumps the main-thread queue
// until every delivery has arrived; then, when asked, it fetches every entry's still thumbnail
// through the manager, and shuts the manager down.
//
// Thread safety: Run is called from the program's main thread, the thread that drains the
// main-thread queue; the callbacks run there too.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_SESSION_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_SESSION_H_

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source.h"
#include "catalogue/local_graphics_source.h"
#include "tools/diagnostics_collector.h"
#include "tools/terminal_progress.h"

namespace capsuletool {

struct CatalogueRequest {
  std::u16string templatesFolder;
  zorvcapsule::LocalGraphicsSource::FolderList folders;  // (display name, path)
  std::u16string indexPath;
  std::vector<std::u16string> searchWords;  // empty: no word search
  bool similar = false;
  std::u16string similarWord;
  bool thumbnails = false;
  std::optional<std::u16string> librariesRoot;  // set: the cloud libraries source is added too
};

struct CatalogueResult {
  int32_t total = 0;
  std::vector<zorvcapsule::CapsuleEntryPtr> entries;  // in delivery order
  std::vector<std::u16string> thumbnailPaths;         // with thumbnails: one per entry, empty when none
  std::set<std::u16string> matches;                   // paths the word search found
  std::set<std::u16string> similarTags;
  std::vector<zorvcapsule::IGraphicSource::GraphicFilterID> filters;  // the manager's filter list
  std::set<std::u16string> directories;                                 // the folders to watch
  bool complete = true;  // false when a request's work ended without its delivery
};

// REQUIRES: `diagnostics` outlives the call (the manager's threads report to it until it returns).
CatalogueResult RunCatalogueSession(const CatalogueRequest& request, const DiagnosticsCollector& diagnostics,
                                    TerminalProgress& progress);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_SESSION_H_
