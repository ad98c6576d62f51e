// The reading side of a search index: one connection that matches words against the stored
// values and lists similar values. Each request reads the latest committed state of the file.
//
// Thread safety: none. RapidFindDB serializes every call under its read mutex.

#ifndef ZORVCAPSULE_HOST_METADATADB_INDEX_READER_H_
#define ZORVCAPSULE_HOST_METADATADB_INDEX_READER_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/metadatadb/db_error.h"
#include "host/metadatadb/db_match_term.h"
#include "host/metadatadb/db_menu_item.h"
#include "host/metadatadb/fts_query_builder.h"
#include "host/metadatadb/sqlite_connection.h"

namespace zorvmetadatadb {

class IndexReader {
 public:
  IndexReader() = default;

  IndexReader(const IndexReader&) = delete;
  IndexReader& operator=(const IndexReader&) = delete;

  SQLiteConnection& connection() { return connection_; }

  // Readies the freshly opened connection for reading. REQUIRES: connection().IsOpen().
  DBError Attach();
  // Releases what Attach set up. Call before the connection closes.
  void Detach();

  // Each request reads one snapshot of the file: a commit while it runs cannot mix two states.

  // Replaces `keys` with the keys matching the terms, in the order the keys were first inserted.
  DBError Match(const std::vector<DBMatchTerm>& terms, int op, std::vector<std::u16string>& keys);

  // Replaces `items` with at most maxCount values of the columns holding a word that begins with
  // (or, when wholeWords, equals) each word of `word`: most keys first, then by value.
  DBError SimilarValues(std::u16string_view word, int maxCount,
                        const std::vector<std::u16string>& columns, bool wholeWords,
                        std::vector<DBMenuItem>& items);

 private:
  // One term made ready for SQL: its full-text expression and its column restriction (empty when
  // every column counts).
  struct PreparedTerm {
    std::string expression;
    std::vector<int64_t> columns;
  };
  DBError LoadColumns(std::map<std::string, int64_t>* columns);
  // The ids of the keys with a row matching the term, ascending.
  DBError TermKeyIds(const PreparedTerm& term, std::vector<int64_t>* ids);
  // Appends the keys with these ids (ascending) to `keys`, in id order.
  DBError FetchKeys(const std::vector<int64_t>& ids, std::vector<std::u16string>& keys);
  DBError SelectSimilar(const std::string& sql, const std::string& expression, int maxCount,
                        std::vector<DBMenuItem>& items);

  SQLiteConnection connection_;
  FtsQueryBuilder queries_;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_INDEX_READER_H_
