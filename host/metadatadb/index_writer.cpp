#include "host/metadatadb/index_writer.h"

#include <algorithm>

#include "host/core/unicode.h"
#include "host/metadatadb/sqlite_statement.h"

namespace zorvmetadatadb {
namespace {

// Beyond this many remembered values the memory is worth more than the lookups it saves.
constexpr size_t kMaxRememberedValues = 1 << 20;

}  // namespace

IndexWriter::IndexWriter(int rowsPerBatch) : rowsPerBatch_(rowsPerBatch) {}

void IndexWriter::Forget() {
  inBatch_ = false;
  rowsInBatch_ = 0;
  dataVersion_ = -1;
  ForgetFileState();
}

void IndexWriter::ForgetFileState() {
  columnsLoaded_ = false;
  columns_.clear();
  values_.clear();
  valueCount_ = 0;
  valuesWithNewKeys_.clear();
  lastKey_.clear();
  lastKeyId_ = 0;
}

void IndexWriter::EndBatch() {
  inBatch_ = false;
  rowsInBatch_ = 0;
}

DBError IndexWriter::Commit() {
  if (!inBatch_) return DBError{};
  DBError error = WriteKeyCounts();
  if (error.ok()) error = Run("COMMIT");
  if (!error.ok()) {
    if (sqlite3_get_autocommit(connection_.handle()) == 0) Run("ROLLBACK");
    ForgetFileState();
  }
  EndBatch();
  return error;
}

DBError IndexWriter::DeleteAll() {
  DBError error = OpenBatch();
  if (!error.ok()) return error;
  for (const char* sql : {"DELETE FROM rf_cells", "DELETE FROM rf_words", "DELETE FROM rf_keys",
                          "DELETE FROM rf_columns",
                          "INSERT INTO rf_words_fts(rf_words_fts) VALUES('delete-all')",
                          "INSERT INTO rf_shared_fts(rf_shared_fts) VALUES('delete-all')"}) {
    error = Run(sql);
    if (!error.ok()) return error;
  }
  ForgetFileState();
  return DBError{};
}

DBError IndexWriter::AddColumns(const std::vector<std::u16string>& names) {
  DBError error = OpenBatch();
  if (!error.ok()) return error;
  sqlite3_stmt* raw =
      connection_.PrepareStatic("INSERT OR IGNORE INTO rf_columns(name) VALUES(?1)", &error);
  if (raw == nullptr) return error;
  columnsLoaded_ = false;
  for (const std::u16string& name : names) {
    ScopedStatement statement(raw);
    statement.BindText(1, zorvcore::UTF16ToUTF8(name));
    const int rc = statement.Step();
    if (rc != SQLITE_DONE) return Failed(rc, "register a column");
  }
  return DBError{};
}

DBError IndexWriter::InsertRow(std::u16string_view key, const std::vector<std::u16string>& values) {
  DBError error = OpenBatch();
  if (error.ok()) error = LoadColumns();
  if (!error.ok()) return error;
  if (columns_.empty()) return DBError::Make(kDBNoTable, "the index has no column; create it first");
  if (values.size() != columns_.size()) {
    return DBError::Make(kDBBadArgument, "a row needs one value per column: " +
                                             std::to_string(columns_.size()) + " expected, " +
                                             std::to_string(values.size()) + " given");
  }
  int64_t keyId = 0;
  error = KeyId(key, &keyId);
  bool anyAdded = false;
  for (size_t i = 0; error.ok() && i < values.size(); ++i) {
    KnownValue* value = nullptr;
    bool added = false;
    error = FindValue(i, zorvcore::UTF16ToUTF8(values[i]), &value);
    if (error.ok()) error = AddCell(*value, keyId, &added);
    anyAdded = anyAdded || added;
  }
  if (!error.ok()) return error;
  if (++rowsInBatch_ >= rowsPerBatch_) error = Commit();
  if (!error.ok()) return error;
  if (!anyAdded) return DBError::Make(kDBRowExists, "the row is already in the index");
  return DBError{};
}

DBError IndexWriter::OpenBatch() {
  if (inBatch_) return DBError{};
  DBError error = Run("BEGIN IMMEDIATE");
  int64_t version = 0;
  if (error.ok()) error = ReadDataVersion(&version);
  if (!error.ok()) {
    if (sqlite3_get_autocommit(connection_.handle()) == 0) Run("ROLLBACK");
    return error;
  }
  // Another connection committed since this writer last looked: what it remembers may be stale.
  if (version != dataVersion_) ForgetFileState();
  dataVersion_ = version;
  inBatch_ = true;
  return DBError{};
}

DBError IndexWriter::ReadDataVersion(int64_t* version) {
  DBError error;
  sqlite3_stmt* raw = connection_.PrepareStatic("PRAGMA data_version", &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  const int rc = statement.Step();
  if (rc != SQLITE_ROW) return connection_.Failure(rc, "read the data version");
  *version = statement.ColumnInt64(0);
  return DBError{};
}

DBError IndexWriter::LoadColumns() {
  if (columnsLoaded_) return DBError{};
  DBError error;
  sqlite3_stmt* raw =
      connection_.PrepareStatic("SELECT id FROM rf_columns ORDER BY id", &error);
  if (raw == nullptr) return error;
  std::vector<int64_t> columns;
  {
    ScopedStatement statement(raw);
    int rc;
    while ((rc = statement.Step()) == SQLITE_ROW) columns.push_back(statement.ColumnInt64(0));
    if (rc != SQLITE_DONE) return Failed(rc, "read the columns");
  }
  // New columns come after the known ones; anything else and the remembered values are dropped.
  if (!std::equal(columns_.begin(), columns_.end(), columns.begin(),
                  columns.begin() + std::min(columns.size(), columns_.size())) ||
      columns.size() < columns_.size()) {
    error = WriteKeyCounts();
    if (!error.ok()) return error;
    values_.clear();
    valueCount_ = 0;
  }
  columns_ = std::move(columns);
  values_.resize(columns_.size());
  columnsLoaded_ = true;
  return DBError{};
}

DBError IndexWriter::KeyId(std::u16string_view key, int64_t* id) {
  // The catalogue adds a template's rows one after another: one lookup per template, not per row.
  if (lastKeyId_ != 0 && key == lastKey_) {
    *id = lastKeyId_;
    return DBError{};
  }
  DBError error;
  sqlite3_stmt* insert =
      connection_.PrepareStatic("INSERT OR IGNORE INTO rf_keys(key) VALUES(?1)", &error);
  sqlite3_stmt* select =
      connection_.PrepareStatic("SELECT id FROM rf_keys WHERE key = ?1", &error);
  if (insert == nullptr || select == nullptr) return error;
  const std::string text = zorvcore::UTF16ToUTF8(key);
  {
    ScopedStatement statement(insert);
    statement.BindText(1, text);
    const int rc = statement.Step();
    if (rc != SQLITE_DONE) return Failed(rc, "add a key");
  }
  if (sqlite3_changes(connection_.handle()) > 0) {
    *id = sqlite3_last_insert_rowid(connection_.handle());
  } else {
    ScopedStatement statement(select);
    statement.BindText(1, text);
    const int rc = statement.Step();
    if (rc != SQLITE_ROW) return Failed(rc, "find a key");
    *id = statement.ColumnInt64(0);
  }
  lastKey_ = key;
  lastKeyId_ = *id;
  return DBError{};
}

DBError IndexWriter::FindValue(size_t column, std::string value, KnownValue** found) {
  ColumnValues& known = values_[column];
  if (auto it = known.find(value); it != known.end()) {
    *found = &*it;
    return DBError{};
  }
  DBError error;
  if (valueCount_ >= kMaxRememberedValues) {
    error = WriteKeyCounts();  // the counts waiting in the entries must not be lost with them
    if (!error.ok()) return error;
    for (ColumnValues& map : values_) map.clear();
    valueCount_ = 0;
  }
  sqlite3_stmt* raw = connection_.PrepareStatic(
      "SELECT id, keycount FROM rf_words WHERE col = ?1 AND value = ?2", &error);
  if (raw == nullptr) return error;
  Value entry;
  {
    ScopedStatement statement(raw);
    statement.BindInt64(1, columns_[column]);
    statement.BindText(2, value);
    const int rc = statement.Step();
    if (rc == SQLITE_ROW) {
      entry.id = statement.ColumnInt64(0);
      entry.keys = entry.storedKeys = statement.ColumnInt64(1);
    } else if (rc != SQLITE_DONE) {
      return Failed(rc, "find a value");
    } else {
      error = CreateValue(columns_[column], value, &entry.id);
      entry.storedKeys = 1;  // created counting the key of the row about to carry it
    }
  }
  if (!error.ok()) return error;
  ++valueCount_;
  *found = &*known.emplace(std::move(value), entry).first;
  return DBError{};
}

DBError IndexWriter::CreateValue(int64_t column, const std::string& value, int64_t* id) {
  DBError error;
  // A value is created for the row about to carry it, so it starts out counting that row's key.
  sqlite3_stmt* addWord = connection_.PrepareStatic(
      "INSERT INTO rf_words(col, value, keycount) VALUES(?1, ?2, 1)", &error);
  sqlite3_stmt* addText =
      connection_.PrepareStatic("INSERT INTO rf_words_fts(rowid, value) VALUES(?1, ?2)", &error);
  sqlite3_stmt* removeWord =
      connection_.PrepareStatic("DELETE FROM rf_words WHERE id = ?1", &error);
  if (addWord == nullptr || addText == nullptr || removeWord == nullptr) return error;
  {
    ScopedStatement statement(addWord);
    statement.BindInt64(1, column);
    statement.BindText(2, value);
    const int rc = statement.Step();
    if (rc != SQLITE_DONE) return Failed(rc, "add a value");
  }
  *id = sqlite3_last_insert_rowid(connection_.handle());
  int rc;
  {
    ScopedStatement statement(addText);
    statement.BindInt64(1, *id);
    statement.BindText(2, value);
    rc = statement.Step();
  }
  if (rc == SQLITE_DONE) return DBError{};
  // A value missing from the full-text index could never be found again: take it back out, or,
  // if even that fails, give up the whole batch rather than commit it half-made.
  error = Failed(rc, "add a value");
  if (!inBatch_) return error;
  ScopedStatement statement(removeWord);
  statement.BindInt64(1, *id);
  if (statement.Step() != SQLITE_DONE && sqlite3_get_autocommit(connection_.handle()) == 0) {
    Run("ROLLBACK");
    DropBatchIfRolledBack();
  }
  return error;
}

DBError IndexWriter::AddCell(KnownValue& value, int64_t keyId, bool* added) {
  DBError error;
  sqlite3_stmt* raw = connection_.PrepareStatic(
      "INSERT OR IGNORE INTO rf_cells(word, key) VALUES(?1, ?2)", &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  statement.BindInt64(1, value.second.id);
  statement.BindInt64(2, keyId);
  const int rc = statement.Step();
  if (rc != SQLITE_DONE) return Failed(rc, "add a row");
  *added = sqlite3_changes(connection_.handle()) > 0;
  if (*added && ++value.second.keys == value.second.storedKeys + 1) {
    valuesWithNewKeys_.push_back(&value);
  }
  return DBError{};
}

DBError IndexWriter::WriteKeyCounts() {
  DBError error;
  sqlite3_stmt* update =
      connection_.PrepareStatic("UPDATE rf_words SET keycount = ?2 WHERE id = ?1", &error);
  sqlite3_stmt* share =
      connection_.PrepareStatic("INSERT INTO rf_shared_fts(rowid, value) VALUES(?1, ?2)", &error);
  if (update == nullptr || share == nullptr) return error;
  for (KnownValue* known : valuesWithNewKeys_) {
    Value& value = known->second;
    {
      ScopedStatement counting(update);
      counting.BindInt64(1, value.id);
      counting.BindInt64(2, value.keys);
      const int rc = counting.Step();
      if (rc != SQLITE_DONE) return Failed(rc, "count the keys of a value");
    }
    if (value.storedKeys < 2 && value.keys >= 2) {
      // The value has just become shared by two keys.
      ScopedStatement sharing(share);
      sharing.BindInt64(1, value.id);
      sharing.BindText(2, known->first);
      const int rc = sharing.Step();
      if (rc != SQLITE_DONE) return Failed(rc, "list a shared value");
    }
    value.storedKeys = value.keys;
  }
  valuesWithNewKeys_.clear();
  return DBError{};
}

DBError IndexWriter::Run(const char* sql) {
  DBError error;
  sqlite3_stmt* raw = connection_.PrepareStatic(sql, &error);
  if (raw == nullptr) return error;
  ScopedStatement statement(raw);
  const int rc = statement.Step();
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) return Failed(rc, sql);
  return DBError{};
}

DBError IndexWriter::Failed(int rc, std::string_view what) {
  DBError error = connection_.Failure(rc, what);
  DropBatchIfRolledBack();
  return error;
}

void IndexWriter::DropBatchIfRolledBack() {
  // Some failures (a full disk, an I/O error) make SQLite roll the whole batch back; what this
  // writer remembers from the batch is then wrong.
  if (inBatch_ && sqlite3_get_autocommit(connection_.handle()) != 0) {
    EndBatch();
    ForgetFileState();
  }
}

}  // namespace zorvmetadatadb
