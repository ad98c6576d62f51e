// `capsule catalogue [DIR] --watch [--json]`: the catalogue of DIR (and of the --folder folders),
// kept up to date while the command runs. A host's set-up: a GraphicSourceManager in index mode with
// a LocalGraphicsSource, and a LocalFolderWatch beside it that asks for a rebuild whenever packages
// change on disk.
//
// The table form prints the catalogue first, as `capsule catalogue` does, then after each rebuild
// that changed anything one line per difference ("+ Name (folder)", "- Name", "~ Name") and the new
// count ("25 templates"). With --json standard output carries JSON objects only, one a line: first
// {"event":"listed","count":N}, then for each rebuild its differences and another "listed" (see
// tools/catalogue_changes.h). Standard output is flushed after each line. What the library reports
// meanwhile (a package that broke a listing, folders that cannot be watched) goes to standard error
// as it comes.
//
// It runs until SIGINT or SIGTERM, then shuts the catalogue down and exits with status 0 (1 when
// standard output could not be written). --search, --similar and --thumbnails do not go with it
// (status 2).
//
// Thread safety: run from the program's main thread, which drains the main-thread queue; it installs
// handlers for SIGINT and SIGTERM while it runs.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_WATCH_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_WATCH_H_

#include <ostream>

#include "tools/catalogue_command.h"
#include "tools/catalogue_session.h"

namespace capsuletool {

// `request` is the catalogue RunCatalogueCommand prepared from `options`. Returns the exit status.
int RunCatalogueWatch(const CatalogueOptions& options, const CatalogueRequest& request, std::ostream& out,
                      std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_WATCH_H_
