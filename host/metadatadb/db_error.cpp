#include "host/metadatadb/db_error.h"

#include <sqlite3.h>

namespace zorvmetadatadb {

using zorvcore::Status;

Status::Code SQLiteFailureKind(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return Status::Code::kCorruption;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Status::Code::kBusy;
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_TOOBIG:
    case SQLITE_ERROR:
      return Status::Code::kInvalidArgument;
    default:
      return Status::Code::kIOError;
  }
}

DBError DBError::SQLite(int rc, std::string_view text) {
  return DBError(Status(SQLiteFailureKind(rc), text), kDBSQLiteFailed, rc & 0xFF);
}

DBError DBError::Make(int code, std::string_view text) {
  // Each of the database's own failures is a request it cannot carry out, except an index with no
  // column, which lacks what the request needs.
  Status status = code == kDBNoTable ? Status::NotFound(text) : Status::InvalidArgument(text);
  return DBError(std::move(status), code, 0);
}

DBError DBError::WithContext(std::string_view context) const {
  return DBError(status_.WithContext(context), code_, sqliteCode_);
}

}  // namespace zorvmetadatadb
