// The outcome of one operation on a metadata database: a Status that the database's own repair
// decisions read, and the error code and SQLite result code that BaseDB reports for it.
//
// Thread safety: a plain value; copies may travel between threads freely.

#ifndef ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_
#define ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_

#include <string>
#include <string_view>
#include <utility>

#include "host/core/status.h"

namespace zorvmetadatadb {

// The error codes BaseDB::GetDBErrorCode reports. The values are part of the interface: callers
// compare against them (code 2 with SQLite result code 11, SQLITE_CORRUPT, is a damaged cache the
// index rebuilds by itself, so callers stay silent about it).
enum DBErrorCode : int {
  kDBNoError = 0,
  kDBNotOpen = 1,       // the database is closed
  kDBSQLiteFailed = 2,  // an SQLite call failed; the SQLite result code says why
  kDBNoTable = 3,       // no column exists: the index was emptied and not set up again
  kDBBadArgument = 4,   // an argument the database cannot use (empty path, wrong value count, ...)
  // 5 and 6 are not used.
  kDBRowExists = 7,     // the row to insert is already there (see RapidFindDB::kInsertRowExists)
};

// The one classification of SQLite result codes: kCorruption for a file that is damaged or not a
// database (the only kind a cache is rebuilt for), kBusy for a lock another connection holds,
// kInvalidArgument for a statement or value SQLite refuses, kIOError for everything else.
zorvcore::Status::Code SQLiteFailureKind(int rc);

class DBError {
 public:
  // A success.
  DBError() = default;

  // The SQLite call described by `text` failed with result code `rc` (its primary code is kept).
  static DBError SQLite(int rc, std::string_view text);
  // A failure the database finds itself: kDBNotOpen, kDBNoTable, kDBBadArgument or kDBRowExists.
  static DBError Make(int code, std::string_view text);

  bool ok() const { return status_.ok(); }
  const zorvcore::Status& status() const { return status_; }
  int code() const { return code_; }
  // A primary SQLite result code; 0 (SQLITE_OK) when SQLite did not fail.
  int sqliteCode() const { return sqliteCode_; }
  // UTF-8; empty for a success.
  const std::string& text() const { return status_.message(); }

  // The same failure with `context` put before its text.
  DBError WithContext(std::string_view context) const;

 private:
  DBError(zorvcore::Status status, int code, int sqliteCode)
      : status_(std::move(status)), code_(code), sqliteCode_(sqliteCode) {}

  zorvcore::Status status_;
  int code_ = kDBNoError;
  int sqliteCode_ = 0;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_
