// The outcome of one operation on a metadata database: the error code the database reports, a text
// for people, and the SQLite result code behind it.
//
// Thread safety: a plain value; copies may travel between threads freely.

#ifndef ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_
#define ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_

#include <string>

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

struct DBError {
  int code = kDBNoError;
  int sqliteCode = 0;  // a primary SQLite result code; 0 (SQLITE_OK) when SQLite did not fail
  std::string text;    // UTF-8; empty when code is kDBNoError

  bool ok() const { return code == kDBNoError; }
  bool IsCorruption() const;  // the file is damaged or not a database at all

  static DBError Make(int code, std::string text) { return DBError{code, 0, std::move(text)}; }
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_DB_ERROR_H_
