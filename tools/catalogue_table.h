// The text form of `capsule catalogue`: a table of the templates a person can read (name,
// duration, frame size, package size, tags, folder), then the word search's matches and the
// similar tags when they were asked for.
//
// The folder column shows where a template lives: its folder below the templates folder ("." for
// the templates folder itself), or the display name of the added folder it came from.
//
// Thread safety: writes to the given stream; use from one thread.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_TABLE_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_TABLE_H_

#include <ostream>
#include <string>

#include "tools/catalogue_session.h"

namespace capsuletool {

// The folder column's text for `entry`.
std::string FolderLabel(const zorvcapsule::CapsuleEntry& entry, const CatalogueRequest& request);

void WriteCatalogueTable(std::ostream& out, const CatalogueRequest& request, const CatalogueResult& result);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_TABLE_H_
