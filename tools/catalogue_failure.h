// Finding the package that cut a catalogue short.
//
// The local source ends its listing at a package whose description makes the reader throw (a member
// of the wrong JSON type), and the manager reports only that the source failed. To tell the user
// which file is at fault, FindFailingPackage walks the source's folders in the source's own order
// and reads the descriptions of the packages the catalogue lacks until one throws.
//
// Thread safety: may be called from any thread; it only reads the folders and packages.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_FAILURE_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_FAILURE_H_

#include <optional>
#include <set>
#include <string>

#include "host/core/status.h"
#include "tools/catalogue_session.h"

namespace capsuletool {

struct FailingPackage {
  std::u16string path;
  zorvcore::Status status;  // why the reader refused it (Corruption), one-line message
};

// The first package of the listing, not among `listed`, whose description the reader throws on.
std::optional<FailingPackage> FindFailingPackage(const CatalogueRequest& request,
                                                 const std::set<std::u16string>& listed);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_FAILURE_H_
