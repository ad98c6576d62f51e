#include "host/metadatadb/index_schema.h"

#include <string>

#include "host/metadatadb/sqlite_statement.h"

namespace zorvmetadatadb {
namespace {

// "ZRFD": marks a file as a search index, so that any other database found at the path is replaced.
constexpr int64_t kIndexApplicationId = 0x5A524644;
// Raised whenever the tables change shape; an index of another layout is rebuilt from scratch.
constexpr int64_t kIndexLayoutVersion = 1;

constexpr const char* kIndexTables[] = {"rf_columns", "rf_keys",      "rf_words",
                                        "rf_cells",   "rf_words_fts", "rf_shared_fts"};

std::string CreateTablesSql() {
  std::string tokenizer = kIndexTokenizerName;
  for (const char* arg : kIndexTokenizerArgs) (tokenizer += ' ') += arg;
  // The full-text indexes need neither the values (rf_words has them) nor word positions (queries
  // never ask for phrases), which keeps them small; prefix indexes make short prefixes cheap.
  const std::string fts = " USING fts5(value, content='', detail=none, prefix='1 2', tokenize='" +
                          tokenizer + "');";
  return "CREATE TABLE rf_columns(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
         "CREATE TABLE rf_keys(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE);"
         "CREATE TABLE rf_words(id INTEGER PRIMARY KEY, col INTEGER NOT NULL, value TEXT NOT NULL,"
         " keycount INTEGER NOT NULL DEFAULT 0, UNIQUE(col, value));"
         "CREATE TABLE rf_cells(word INTEGER NOT NULL, key INTEGER NOT NULL,"
         " PRIMARY KEY(word, key)) WITHOUT ROWID;"
         "CREATE VIRTUAL TABLE rf_words_fts" + fts +
         "CREATE VIRTUAL TABLE rf_shared_fts" + fts +
         "PRAGMA application_id = " + std::to_string(kIndexApplicationId) + ";";
}

DBError ReadInteger(SQLiteConnection& connection, const std::string& sql, int64_t* value) {
  DBError error;
  sqlite3_stmt* raw = connection.Prepare(sql, &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  const int rc = statement.Step();
  if (rc != SQLITE_ROW) return connection.Failure(rc, sql);
  *value = statement.ColumnInt64(0);
  return DBError{};
}

DBError ClassifyFile(SQLiteConnection& connection, bool* empty, bool* ours) {
  int64_t objects = 0, applicationId = 0, layout = 0, tables = 0;
  std::string countTables = "SELECT count(*) FROM sqlite_schema WHERE name IN (";
  for (const char* table : kIndexTables) (countTables += '\'') += std::string(table) + "',";
  countTables.back() = ')';
  DBError error = ReadInteger(connection, "SELECT count(*) FROM sqlite_schema", &objects);
  if (error.ok()) error = ReadInteger(connection, "PRAGMA application_id", &applicationId);
  if (error.ok()) error = ReadInteger(connection, "PRAGMA user_version", &layout);
  if (error.ok()) error = ReadInteger(connection, countTables, &tables);
  *empty = objects == 0;
  *ours = applicationId == kIndexApplicationId && layout == kIndexLayoutVersion &&
          tables == static_cast<int64_t>(std::size(kIndexTables));
  return error;
}

DBError CreateOrCheck(SQLiteConnection& connection, IndexFileState* state) {
  bool empty = false, ours = false;
  DBError error = ClassifyFile(connection, &empty, &ours);
  if (!error.ok()) return error;
  if (!empty && !ours) {
    *state = IndexFileState::kForeign;
    return DBError{};
  }
  if (empty) {
    error = connection.Exec(CreateTablesSql().c_str());
    if (!error.ok()) return error;
  }
  *state = IndexFileState::kReady;
  // Written on every open, not only on creation: it is what proves the file can be written.
  const std::string writeLayout = "PRAGMA user_version = " + std::to_string(kIndexLayoutVersion);
  return connection.Exec(writeLayout.c_str());
}

}  // namespace

DBError PrepareIndexSchema(SQLiteConnection& connection, IndexFileState* state) {
  DBError error = connection.Exec("BEGIN IMMEDIATE");
  if (!error.ok()) return error;
  error = CreateOrCheck(connection, state);
  if (error.ok() && *state == IndexFileState::kReady) error = connection.Exec("COMMIT");
  if (!error.ok() || *state != IndexFileState::kReady) {
    if (sqlite3_get_autocommit(connection.handle()) == 0) connection.Exec("ROLLBACK");
  }
  return error;
}

}  // namespace zorvmetadatadb
