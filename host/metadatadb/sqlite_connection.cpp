#include "host/metadatadb/sqlite_connection.h"

namespace zorvmetadatadb {
namespace {

// Dynamic match statements differ by their number of words; beyond this many kept statements the
// cache starts over rather than growing with every new shape of query.
constexpr size_t kMaxKeptStatements = 64;

}  // namespace

SQLiteConnection::~SQLiteConnection() { Close(); }

DBError SQLiteConnection::Open(const std::string& path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    DBError error = Failure(rc, "cannot open the file");
    Close();
    return error;
  }
  // SQLite falls back to reading only when the file is write-protected; an index must be written.
  if (sqlite3_db_readonly(db_, "main") == 1) {
    Close();
    return DBError::SQLite(SQLITE_READONLY, "the file cannot be written");
  }
  return DBError{};
}

void SQLiteConnection::Close() {
  FinalizeStatements(statements_);
  for (auto& [sql, statement] : staticStatements_) sqlite3_finalize(statement);
  staticStatements_.clear();
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

DBError SQLiteConnection::Exec(const char* sql) {
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? DBError{} : Failure(rc, sql);
}

sqlite3_stmt* SQLiteConnection::Prepare(const std::string& sql, DBError* error) {
  auto it = statements_.find(sql);
  if (it != statements_.end()) return it->second;
  if (statements_.size() >= kMaxKeptStatements) FinalizeStatements(statements_);
  sqlite3_stmt* statement = PrepareNew(sql.c_str(), sql.size(), error);
  if (statement != nullptr) statements_.emplace(sql, statement);
  return statement;
}

sqlite3_stmt* SQLiteConnection::PrepareStatic(const char* sql, DBError* error) {
  auto it = staticStatements_.find(sql);
  if (it != staticStatements_.end()) return it->second;
  sqlite3_stmt* statement = PrepareNew(sql, std::char_traits<char>::length(sql), error);
  if (statement != nullptr) staticStatements_.emplace(sql, statement);
  return statement;
}

sqlite3_stmt* SQLiteConnection::PrepareNew(const char* sql, size_t size, DBError* error) {
  sqlite3_stmt* statement = nullptr;
  const int rc = sqlite3_prepare_v3(db_, sql, static_cast<int>(size), SQLITE_PREPARE_PERSISTENT,
                                    &statement, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(statement);
    *error = Failure(rc, "prepare");
    return nullptr;
  }
  return statement;
}

DBError SQLiteConnection::Failure(int rc, std::string_view what) const {
  std::string text(what);
  text += ": ";
  // The connection's message is more specific than the code's, but only if it belongs to this rc.
  if (db_ != nullptr && (sqlite3_errcode(db_) & 0xFF) == (rc & 0xFF)) {
    text += sqlite3_errmsg(db_);
  } else {
    text += sqlite3_errstr(rc);
  }
  return DBError::SQLite(rc, text);
}

void SQLiteConnection::FinalizeStatements(
    std::unordered_map<std::string, sqlite3_stmt*>& statements) {
  for (auto& [sql, statement] : statements) sqlite3_finalize(statement);
  statements.clear();
}

}  // namespace zorvmetadatadb
