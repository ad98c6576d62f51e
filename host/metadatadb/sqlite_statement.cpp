#include "host/metadatadb/sqlite_statement.h"

namespace zorvmetadatadb {

ScopedStatement::~ScopedStatement() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void ScopedStatement::BindText(int index, std::string_view text) {
  const int rc = sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
  if (rc != SQLITE_OK && bindError_ == SQLITE_OK) bindError_ = rc;
}

void ScopedStatement::BindInt64(int index, int64_t value) {
  const int rc = sqlite3_bind_int64(statement_, index, value);
  if (rc != SQLITE_OK && bindError_ == SQLITE_OK) bindError_ = rc;
}

int ScopedStatement::Step() {
  if (bindError_ != SQLITE_OK) return bindError_;
  return sqlite3_step(statement_);
}

int64_t ScopedStatement::ColumnInt64(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string_view ScopedStatement::ColumnText(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (text == nullptr) return {};
  return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

}  // namespace zorvmetadatadb
