// The writing side of a search index: one connection that empties the index, registers columns
// and adds rows, gathering the changes into batches (one write transaction each) so that filling an
// index with many rows costs few commits.
//
// Between batches another connection (another index object on the same file) may change the file;
// what this writer remembers about it (ids of keys, values and columns) is dropped at the start of
// the next batch when SQLite says the file changed.
//
// Thread safety: none. RapidFindDB serializes every call under its write mutex.

#ifndef ZORVCAPSULE_HOST_METADATADB_INDEX_WRITER_H_
#define ZORVCAPSULE_HOST_METADATADB_INDEX_WRITER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/metadatadb/db_error.h"
#include "host/metadatadb/sqlite_connection.h"

namespace zorvmetadatadb {

class IndexWriter {
 public:
  // A batch is committed once it holds rowsPerBatch rows. REQUIRES: rowsPerBatch > 0.
  explicit IndexWriter(int rowsPerBatch);

  IndexWriter(const IndexWriter&) = delete;
  IndexWriter& operator=(const IndexWriter&) = delete;

  SQLiteConnection& connection() { return connection_; }

  // Forgets the batch and everything remembered about the file. Call when the connection is closed
  // or replaced; an open batch is lost with the connection.
  void Forget();

  bool HasOpenBatch() const { return inBatch_; }
  // Makes the open batch visible to every connection. Nothing to do when no batch is open.
  DBError Commit();

  // Removes every row, value, key and column.
  DBError DeleteAll();
  // Registers the columns not registered yet, in the order given.
  DBError AddColumns(const std::vector<std::u16string>& names);
  // Adds the row (one value per registered column). kDBRowExists when the key already carries
  // every one of the values in its column.
  DBError InsertRow(std::u16string_view key, const std::vector<std::u16string>& values);

 private:
  // A value of one column as this writer knows it: its rf_words id, the number of keys carrying it,
  // and that number as stored, brought up to date when the batch commits.
  struct Value {
    int64_t id = 0;
    int64_t keys = 0;
    int64_t storedKeys = 0;
  };
  using ColumnValues = std::unordered_map<std::string, Value>;  // by the value's UTF-8 text
  using KnownValue = ColumnValues::value_type;

  DBError OpenBatch();
  DBError ReadDataVersion(int64_t* version);
  DBError LoadColumns();
  DBError KeyId(std::u16string_view key, int64_t* id);
  DBError FindValue(size_t column, std::string value, KnownValue** found);
  DBError CreateValue(int64_t column, const std::string& value, int64_t* id);
  DBError AddCell(KnownValue& value, int64_t keyId, bool* added);
  DBError WriteKeyCounts();
  // Runs one statement that needs no parameters. REQUIRES: sql has static storage duration.
  DBError Run(const char* sql);
  // Describes a failed step and drops the batch state if SQLite rolled the batch back.
  DBError Failed(int rc, std::string_view what);
  void DropBatchIfRolledBack();
  void EndBatch();
  void ForgetFileState();

  const int rowsPerBatch_;
  SQLiteConnection connection_;

  bool inBatch_ = false;
  int rowsInBatch_ = 0;
  int64_t dataVersion_ = -1;

  // What this writer knows about the file; valid while no other connection writes to it.
  bool columnsLoaded_ = false;
  std::vector<int64_t> columns_;       // rf_columns ids, in registration order
  std::vector<ColumnValues> values_;   // one map per entry of columns_
  size_t valueCount_ = 0;
  std::vector<KnownValue*> valuesWithNewKeys_;  // entries of values_ with keys above storedKeys
  std::u16string lastKey_;
  int64_t lastKeyId_ = 0;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_INDEX_WRITER_H_
