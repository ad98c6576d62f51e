// One SQLite connection and the statements prepared on it, kept until the connection closes.
//
// Thread safety: none. The owner serializes every call on one object (the search index guards each
// of its connections with a mutex of its own); connections are opened without SQLite's own mutex.

#ifndef ZORVCAPSULE_HOST_METADATADB_SQLITE_CONNECTION_H_
#define ZORVCAPSULE_HOST_METADATADB_SQLITE_CONNECTION_H_

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "host/metadatadb/db_error.h"

namespace zorvmetadatadb {

class SQLiteConnection {
 public:
  SQLiteConnection() = default;
  ~SQLiteConnection();

  SQLiteConnection(const SQLiteConnection&) = delete;
  SQLiteConnection& operator=(const SQLiteConnection&) = delete;

  // Opens the database file at `path` (UTF-8) for reading and writing, creating it when missing.
  // A file the system lets this process only read is refused. REQUIRES: !IsOpen().
  DBError Open(const std::string& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // Runs SQL text that returns no rows of interest. REQUIRES: IsOpen().
  DBError Exec(const char* sql);

  // Returns the statement for `sql`, prepared once and reused until Close; null with `*error` set
  // when it cannot be prepared. A new text may finalize the statements kept so far when many are
  // kept. REQUIRES: IsOpen(); no statement of this connection is in use while a text is prepared.
  sqlite3_stmt* Prepare(const std::string& sql, DBError* error);

  // The same for a text that never changes, found again by its address rather than its content:
  // cheap enough for statements run once per inserted row. Never finalized before Close.
  // REQUIRES: IsOpen(); `sql` has static storage duration.
  sqlite3_stmt* PrepareStatic(const char* sql, DBError* error);

  // Describes the failure `rc` of the call named by `what` on this connection.
  DBError Failure(int rc, std::string_view what) const;

 private:
  sqlite3_stmt* PrepareNew(const char* sql, size_t size, DBError* error);
  void FinalizeStatements(std::unordered_map<std::string, sqlite3_stmt*>& statements);

  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
  std::unordered_map<const char*, sqlite3_stmt*> staticStatements_;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_SQLITE_CONNECTION_H_
