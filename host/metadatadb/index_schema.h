// The layout of a search index file: the tables that hold it, the tokenizer that folds its words,
// and how a file is recognised as an index.
//
// An index keeps each distinct value once per column (rf_words, with the number of keys carrying
// it), each key once (rf_keys), the pairs of value and key (rf_cells), the registered column names
// (rf_columns), a full-text index over the distinct values (rf_words_fts), and a second one over
// the values carried by two keys or more (rf_shared_fts). Similar-word lists put those first, and
// most values (each template's name) belong to one key only: the small index answers most lists
// without looking at them.
//
// Thread safety: the functions run on the connection they are given and share its contract.

#ifndef ZORVCAPSULE_HOST_METADATADB_INDEX_SCHEMA_H_
#define ZORVCAPSULE_HOST_METADATADB_INDEX_SCHEMA_H_

#include "host/metadatadb/db_error.h"
#include "host/metadatadb/sqlite_connection.h"

namespace zorvmetadatadb {

// The tokenizer of the full-text index and its arguments, as the query side must repeat them:
// words split at anything but letters and digits, folded to lower case without diacritics.
inline constexpr const char* kIndexTokenizerName = "unicode61";
inline constexpr const char* kIndexTokenizerArgs[] = {"remove_diacritics", "2"};

enum class IndexFileState {
  kReady,    // the file holds an index of this layout (created now if the file was empty)
  kForeign,  // the file holds some other database, or an index of another layout
};

// Makes sure the connection's database is an index, creating the tables in an empty database, and
// proves that the file can be written. REQUIRES: the connection is open and in no transaction.
DBError PrepareIndexSchema(SQLiteConnection& connection, IndexFileState* state);

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_INDEX_SCHEMA_H_
