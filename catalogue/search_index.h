// The module-wide search index: six functions over one host RapidFindDB.
//
// Rows are (key, word): the key is a template's entry path, the word one of its tags, its name or a
// folder name. The source manager clears and fills the index when it builds the default set and answers
// word searches and similar tags from it; the local and library sources answer SearchDB through
// QueryRapidFindDB. Every function but InitializeRapidFindDB does nothing until the index is created.
//
// Failed index operations are reported to the host's diagnostic reporter as one text beginning
// "DB Assert "; a row that is already there and a corrupt database stay silent. Nothing is reported
// to the callers.
//
// Thread safety: InitializeRapidFindDB and TerminateRapidFindDB are called by the manager's constructor
// and Shutdown, not while other calls run. The other functions may be called from any thread; the
// manager runs ClearRapidFindDB, InsertRow and QueryRapidFindDB under its mutex and GetTags beside them,
// which the host index allows.

#ifndef ZORVCAPSULE_CATALOGUE_SEARCH_INDEX_H_
#define ZORVCAPSULE_CATALOGUE_SEARCH_INDEX_H_

#include <set>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

// Creates the index at `path` (replacing any index made before) and opens it. The setting
// "ZORV.graphicfindinterval" (default "50000") gives the progress-handler interval.
ZORVCAPSULE_EXPORT void InitializeRapidFindDB(const std::u16string& path);

// Closes the index; it stays created, so later calls reach the closed index and fail quietly.
ZORVCAPSULE_EXPORT void TerminateRapidFindDB();

// Empties the index, leaving an empty table in place.
ZORVCAPSULE_EXPORT void ClearRapidFindDB();

ZORVCAPSULE_EXPORT void InsertRow(const std::u16string& key, const std::u16string& word);

// Adds to `keys` the keys of the templates matching every word; `keys` is not cleared, and an empty
// word list leaves it untouched.
ZORVCAPSULE_EXPORT void QueryRapidFindDB(const std::vector<std::u16string>& words,
                                         std::set<std::u16string>& keys);

// Adds to `tags` the lower-cased stored words similar to `word`; `tags` is not cleared.
ZORVCAPSULE_EXPORT void GetTags(const std::u16string& word, std::set<std::u16string>& tags);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_SEARCH_INDEX_H_
