// One use of a prepared statement: binds its parameters, steps through its rows and, when it leaves
// scope, resets it and clears its bindings, so that a kept statement never holds a read transaction
// open or carries values into its next use.
//
// Thread safety: none; it runs on its connection and shares that connection's contract.

#ifndef ZORVCAPSULE_HOST_METADATADB_SQLITE_STATEMENT_H_
#define ZORVCAPSULE_HOST_METADATADB_SQLITE_STATEMENT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

namespace zorvmetadatadb {

class ScopedStatement {
 public:
  // REQUIRES: statement is a prepared statement not in use elsewhere.
  explicit ScopedStatement(sqlite3_stmt* statement) : statement_(statement) {}
  ~ScopedStatement();

  ScopedStatement(const ScopedStatement&) = delete;
  ScopedStatement& operator=(const ScopedStatement&) = delete;

  // Parameters are numbered from 1. A failed bind is reported by the next Step.
  void BindText(int index, std::string_view text);
  void BindInt64(int index, int64_t value);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();

  // Column values of the current row; columns are numbered from 0.
  int64_t ColumnInt64(int column) const;
  std::string_view ColumnText(int column) const;

 private:
  sqlite3_stmt* statement_;
  int bindError_ = SQLITE_OK;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_SQLITE_STATEMENT_H_
