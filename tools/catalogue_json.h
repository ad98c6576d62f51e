// The --json form of `capsule catalogue`: one JSON object
//
//   {"total": N, "entries": [...], "matches": [...], "similar": [...]}
//
// entries in delivery order, each with the entry's members (name, path, ids, sourceID, libraryID,
// capsuleID, description, authorApp, requiresQuazel, state, fileSize, frameWidth, frameHeight,
// durationMs, tags, usedFonts, videoPreviewPath, modifiedTime and, when thumbnails were asked for,
// thumbnailPath); matches the paths the word search found and similar the similar tags, each sorted
// by their UTF-8 bytes, [] when not asked for. modifiedTime is ISO 8601 in UTC
// ("2024-01-31T12:00:00Z"), or null when the source did not learn it. Written as the host's JSON
// writer writes a value, indented for reading, but streamed: the text is never held whole.
//
// Thread safety: a pure function; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_JSON_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_JSON_H_

#include <ostream>
#include <string>

#include "host/core/json_value.h"
#include "tools/catalogue_session.h"

namespace capsuletool {

// One entry's members, as in "entries" (thumbnailPath aside).
zorvcore::serialization::JSONValuePtr CatalogueEntryJSON(const zorvcapsule::CapsuleEntry& entry);

// Writes the whole object to `out`, without a newline after it.
void WriteCatalogueJSON(std::ostream& out, const CatalogueResult& result, bool withThumbnails);

// "2024-01-31T12:00:00Z"; empty for not-a-date-time.
std::string ISO8601Text(const boost::posix_time::ptime& time);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_JSON_H_
