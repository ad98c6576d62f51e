// `capsule catalogue [DIR] [--folder NAME=PATH]... [--index FILE] [--search WORD]...
// [--similar WORD] [--thumbnails] [--json] [--watch]`: the template catalogue of a folder, built as a
// host builds it (see tools/catalogue_session.h); with --watch, kept up to date as the folders change
// (see tools/catalogue_watch.h).
//
// DIR is the templates folder, listed with all its subfolders; without it, the generated sample
// templates are catalogued from a temporary folder. Each --folder adds a folder listed on its own,
// shown under NAME. The search index lives in FILE, by default in a temporary folder removed at
// the end; a FILE that exists and is no index is refused rather than overwritten. The catalogue fails (status 1), after printing what it found, when the library reports
// trouble: a package that ended the listing (named in the error), or an index that could not be
// used.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_COMMAND_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_COMMAND_H_

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/catalogue_session.h"
#include "tools/diagnostics_collector.h"

namespace capsuletool {

struct CatalogueOptions {
  std::optional<std::string> dir;    // UTF-8 paths and words
  std::vector<std::string> folders;  // "NAME=PATH"
  std::optional<std::string> index;
  std::vector<std::string> search;
  std::optional<std::string> similar;
  std::optional<std::string> libraries;  // the cloud libraries' root folder
  bool thumbnails = false;
  bool json = false;
  bool watch = false;  // keep running and print what changes (tools/catalogue_watch.h)
};

// Returns the exit status.
int RunCatalogueCommand(const CatalogueOptions& options, std::ostream& out, std::ostream& err);

// The steps every command that catalogues a folder shares (`capsule gallery` too), so that they
// all list the same sources and entries and fail the same way.

// The command's own temporary folder (generated samples, the default index), removed at the end.
class CatalogueWorkFolder {
 public:
  CatalogueWorkFolder();
  CatalogueWorkFolder(const CatalogueWorkFolder&) = delete;
  CatalogueWorkFolder& operator=(const CatalogueWorkFolder&) = delete;
  ~CatalogueWorkFolder();
  bool Made() const { return !path_.empty(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Fills `request` from the options (folders, index, words, libraries, thumbnails); on failure
// prints the error and returns the exit status.
std::optional<int> PrepareCatalogueRequest(const CatalogueOptions& options, const CatalogueWorkFolder& work,
                                           CatalogueRequest& request, std::ostream& err);

// Tells the user what the library reported during the session; returns true when anything went
// wrong (the catalogue is then incomplete).
bool ReportCatalogueTrouble(const CatalogueRequest& request, const CatalogueResult& result,
                            const DiagnosticsCollector& diagnostics, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_COMMAND_H_
