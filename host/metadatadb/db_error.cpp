#include "host/metadatadb/db_error.h"

#include <sqlite3.h>

namespace zorvmetadatadb {

bool DBError::IsCorruption() const {
  return code == kDBSQLiteFailed && (sqliteCode == SQLITE_CORRUPT || sqliteCode == SQLITE_NOTADB);
}

}  // namespace zorvmetadatadb
