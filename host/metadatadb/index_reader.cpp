#include "host/metadatadb/index_reader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <set>

#include "host/core/unicode.h"
#include "host/metadatadb/sqlite_statement.h"

namespace zorvmetadatadb {
namespace {

constexpr const char* kMatchingValues =
    "SELECT rowid FROM rf_words_fts WHERE rf_words_fts MATCH ?";

std::string ColumnFilter(const std::vector<int64_t>& columns) {
  if (columns.empty()) return {};
  std::string filter = " AND w.col IN (";
  for (int64_t column : columns) filter += std::to_string(column) + ',';
  filter.back() = ')';
  return filter;
}

// The ids of the keys that have a row matching the term bound to parameter 1, in no order.
std::string TermKeysSql(const std::vector<int64_t>& columns) {
  const std::string values = std::string(kMatchingValues) + "1";
  if (columns.empty()) return "SELECT c.key FROM rf_cells c WHERE c.word IN (" + values + ")";
  return "SELECT c.key FROM rf_cells c WHERE c.word IN (SELECT w.id FROM rf_words w WHERE w.id IN (" +
         values + ")" + ColumnFilter(columns) + ")";
}

// The ids the names refer to: nothing when none exists, an empty list when they cover every column.
std::optional<std::vector<int64_t>> ResolveColumns(const std::vector<std::u16string>& names,
                                                   const std::map<std::string, int64_t>& all) {
  if (names.empty()) return std::vector<int64_t>{};
  std::set<int64_t> ids;
  for (const std::u16string& name : names) {
    auto it = all.find(zorvcore::UTF16ToUTF8(name));
    if (it != all.end()) ids.insert(it->second);
  }
  if (ids.empty()) return std::nullopt;
  if (ids.size() == all.size()) return std::vector<int64_t>{};
  return std::vector<int64_t>(ids.begin(), ids.end());
}

// A read transaction for the length of one request. It always ends: a progress handler that
// interrupts the end must not leave the connection reading an old snapshot for good.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(SQLiteConnection& connection) : connection_(connection) {
    error_ = connection_.Exec("BEGIN");
  }
  ~ReadSnapshot() {
    if (sqlite3_get_autocommit(connection_.handle()) != 0) return;
    connection_.Exec("COMMIT");
    if (sqlite3_get_autocommit(connection_.handle()) == 0) connection_.Exec("ROLLBACK");
  }
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

  const DBError& error() const { return error_; }

 private:
  SQLiteConnection& connection_;
  DBError error_;
};

void Combine(std::vector<int64_t>& into, const std::vector<int64_t>& ids, int op) {
  std::vector<int64_t> out;
  if (op == kDBMatchAll) {
    std::set_intersection(into.begin(), into.end(), ids.begin(), ids.end(), std::back_inserter(out));
  } else {
    std::set_union(into.begin(), into.end(), ids.begin(), ids.end(), std::back_inserter(out));
  }
  into = std::move(out);
}

}  // namespace

DBError IndexReader::Attach() {
  // This connection only reads; the temporary sets a match builds stay small; reading the file
  // through a memory map and a larger page cache spare the copying of pages on every request.
  DBError error = connection_.Exec(
      "PRAGMA query_only = 1; PRAGMA temp_store = MEMORY; PRAGMA cache_size = -32768;"
      " PRAGMA mmap_size = 268435456");
  if (error.ok()) error = queries_.Attach(connection_.handle());
  return error;
}

void IndexReader::Detach() { queries_.Detach(); }

DBError IndexReader::Match(const std::vector<DBMatchTerm>& terms, int op,
                           std::vector<std::u16string>& keys) {
  keys.clear();
  if (op != kDBMatchAll && op != kDBMatchAny) {
    return DBError::Make(kDBBadArgument, "unknown match operator " + std::to_string(op));
  }
  ReadSnapshot snapshot(connection_);
  if (!snapshot.error().ok()) return snapshot.error();
  std::map<std::string, int64_t> all;
  DBError error = LoadColumns(&all);
  if (!error.ok()) return error;

  std::vector<PreparedTerm> prepared;
  std::set<std::pair<std::string, std::vector<int64_t>>> seen;
  for (const DBMatchTerm& term : terms) {
    std::string expression = queries_.Expression(term.first, /*wholeWords=*/false);
    if (expression.empty()) continue;  // punctuation alone asks for nothing
    std::optional<std::vector<int64_t>> columns = ResolveColumns(term.second, all);
    if (!columns) {
      if (op == kDBMatchAll) return DBError{};  // a term that cannot match fails them all
      continue;
    }
    if (seen.emplace(expression, *columns).second) {
      prepared.push_back(PreparedTerm{std::move(expression), std::move(*columns)});
    }
  }

  // Each term's keys are gathered on their own and combined here: cheaper than letting SQLite
  // build a temporary table for every term of a compound query.
  std::vector<int64_t> ids;
  for (size_t i = 0; i < prepared.size(); ++i) {
    std::vector<int64_t> termIds;
    error = TermKeyIds(prepared[i], &termIds);
    if (!error.ok()) return error;
    if (i == 0) ids = std::move(termIds);
    else Combine(ids, termIds, op);
    if (op == kDBMatchAll && ids.empty()) break;
  }
  return FetchKeys(ids, keys);
}

DBError IndexReader::TermKeyIds(const PreparedTerm& term, std::vector<int64_t>* ids) {
  DBError error;
  sqlite3_stmt* raw = connection_.Prepare(TermKeysSql(term.columns), &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  statement.BindText(1, term.expression);
  int rc;
  while ((rc = statement.Step()) == SQLITE_ROW) ids->push_back(statement.ColumnInt64(0));
  if (rc != SQLITE_DONE) return connection_.Failure(rc, "match words");
  std::sort(ids->begin(), ids->end());
  ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
  return DBError{};
}

DBError IndexReader::FetchKeys(const std::vector<int64_t>& ids, std::vector<std::u16string>& keys) {
  if (ids.empty()) return DBError{};
  std::string list = "[";
  for (int64_t id : ids) (list += std::to_string(id)) += ',';
  list.back() = ']';
  DBError error;
  sqlite3_stmt* raw = connection_.PrepareStatic(
      "SELECT key FROM rf_keys WHERE id IN (SELECT value FROM json_each(?1)) ORDER BY id", &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  statement.BindText(1, list);
  keys.reserve(ids.size());
  int rc;
  while ((rc = statement.Step()) == SQLITE_ROW) {
    keys.push_back(zorvcore::UTF8ToUTF16(statement.ColumnText(0)));
  }
  if (rc == SQLITE_DONE) return DBError{};
  keys.clear();
  return connection_.Failure(rc, "read the matching keys");
}

DBError IndexReader::SimilarValues(std::u16string_view word, int maxCount,
                                   const std::vector<std::u16string>& columns, bool wholeWords,
                                   std::vector<DBMenuItem>& items) {
  items.clear();
  if (maxCount <= 0) return DBError{};
  const std::string expression = queries_.Expression(word, wholeWords);
  if (expression.empty()) return DBError{};
  ReadSnapshot snapshot(connection_);
  if (!snapshot.error().ok()) return snapshot.error();
  std::map<std::string, int64_t> all;
  DBError error = LoadColumns(&all);
  if (!error.ok()) return error;
  std::optional<std::vector<int64_t>> wanted = ResolveColumns(columns, all);
  if (!wanted || all.empty()) return DBError{};

  const std::string filter = ColumnFilter(*wanted);
  const size_t columnCount = wanted->empty() ? all.size() : wanted->size();
  if (columnCount > 1) {
    // The same value in several columns counts a key once.
    const std::string sql =
        "SELECT w.value, count(DISTINCT c.key) AS n FROM rf_words w JOIN rf_cells c"
        " ON c.word = w.id WHERE w.id IN (" + std::string(kMatchingValues) + "1)" + filter +
        " GROUP BY w.value ORDER BY n DESC, w.value LIMIT ?2";
    return SelectSimilar(sql, expression, maxCount, items);
  }
  // One column holds each value once with its key count. The values shared by several keys come
  // first and have an index of their own; the many values of a single key are read only when the
  // shared ones do not fill the list.
  const std::string shared =
      "SELECT w.value, w.keycount FROM rf_words w WHERE w.id IN (SELECT rowid FROM rf_shared_fts"
      " WHERE rf_shared_fts MATCH ?1)" + filter +
      " AND w.keycount > 1 ORDER BY w.keycount DESC, w.value LIMIT ?2";
  const std::string single =
      "SELECT w.value, w.keycount FROM rf_words w WHERE w.id IN (" + std::string(kMatchingValues) +
      "1)" + filter + " AND w.keycount = 1 ORDER BY w.value LIMIT ?2";
  error = SelectSimilar(shared, expression, maxCount, items);
  const int missing = maxCount - static_cast<int>(items.size());
  if (error.ok() && missing > 0) error = SelectSimilar(single, expression, missing, items);
  if (!error.ok()) items.clear();
  return error;
}

DBError IndexReader::SelectSimilar(const std::string& sql, const std::string& expression,
                                   int maxCount, std::vector<DBMenuItem>& items) {
  DBError error;
  sqlite3_stmt* raw = connection_.Prepare(sql, &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  statement.BindText(1, expression);
  statement.BindInt64(2, maxCount);
  int rc;
  while ((rc = statement.Step()) == SQLITE_ROW) {
    const int64_t count = std::min<int64_t>(statement.ColumnInt64(1), INT32_MAX);
    items.push_back(DBMenuItem{zorvcore::UTF8ToUTF16(statement.ColumnText(0)),
                               static_cast<int32_t>(count)});
  }
  return rc == SQLITE_DONE ? DBError{} : connection_.Failure(rc, "list similar words");
}

DBError IndexReader::LoadColumns(std::map<std::string, int64_t>* columns) {
  DBError error;
  sqlite3_stmt* raw = connection_.PrepareStatic("SELECT id, name FROM rf_columns", &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  int rc;
  while ((rc = statement.Step()) == SQLITE_ROW) {
    columns->emplace(std::string(statement.ColumnText(1)), statement.ColumnInt64(0));
  }
  return rc == SQLITE_DONE ? DBError{} : connection_.Failure(rc, "read the columns");
}

}  // namespace zorvmetadatadb
