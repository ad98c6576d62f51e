#include "host/metadatadb/rapid_find_db.h"

#include <filesystem>
#include <system_error>

#include "host/core/unicode.h"
#include "host/metadatadb/index_schema.h"

namespace zorvmetadatadb {
namespace {

const DBError kNotOpen = DBError::Make(kDBNotOpen, "the index is not open");

// An absolute path is never taken by SQLite for a URI ("file:") or a memory database (":memory:"),
// both of which would split the two connections of one index apart.
DBError AbsoluteIndexPath(const std::u16string& path, std::string* absolute) {
  if (path.empty()) return DBError::Make(kDBBadArgument, "the index path is empty");
  std::error_code ec;
  const std::filesystem::path full =
      std::filesystem::absolute(std::filesystem::path(zorvcore::UTF16ToUTF8(path)), ec);
  if (ec) return DBError::Make(kDBBadArgument, "the index path cannot be used: " + ec.message());
  *absolute = full.string();
  return DBError{};
}

// Removes the index file and SQLite's companions of it. Only plain files: a folder or device at
// the path is left to fail the open.
void RemoveIndexFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    std::error_code ec;
    const std::filesystem::path file(path + suffix);
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(file, ec))) {
      std::filesystem::remove(file, ec);
    }
  }
}

DBError WithPath(const DBError& error, const std::string& path) {
  return error.WithContext("index \"" + path + "\": ");
}

}  // namespace

RapidFindDB::RapidFindDB() : writer_(kRowsPerBatch) {}

RapidFindDB::~RapidFindDB() { Close(); }

bool RapidFindDB::Open(const std::u16string& path) {
  std::lock_guard<std::mutex> lifecycle(lifecycleMutex_);
  StopIdleCommits();
  std::string absolute;
  DBError error = AbsoluteIndexPath(path, &absolute);
  {
    std::scoped_lock lock(writeMutex_, readMutex_);
    writer_.Commit();
    CloseConnections();
    if (error.ok()) {
      path_ = absolute;
      error = WithPath(OpenFile(), absolute);
    }
    stopIdleCommits_ = false;
    idleCommitError_ = DBError{};
  }
  if (error.ok()) StartIdleCommits();
  RecordOutcome(error);
  return error.ok();
}

void RapidFindDB::Close() {
  std::lock_guard<std::mutex> lifecycle(lifecycleMutex_);
  StopIdleCommits();
  DBError error;
  {
    std::scoped_lock lock(writeMutex_, readMutex_);
    error = idleCommitError_.ok() ? writer_.Commit() : idleCommitError_;
    idleCommitError_ = DBError{};
    CloseConnections();
  }
  RecordOutcome(error);
}

DBError RapidFindDB::OpenFile() {
  damaged_ = false;
  DBError error = OpenConnections();
  if (error.status().IsCorruption()) {
    // A cache that cannot be read is worth nothing: start a fresh one in its place.
    CloseConnections();
    RemoveIndexFiles(path_);
    error = OpenConnections();
  }
  if (!error.ok()) CloseConnections();
  return error;
}

DBError RapidFindDB::OpenConnections() {
  SQLiteConnection& writing = writer_.connection();
  DBError error = writing.Open(path_);
  if (!error.ok()) return error;
  ConfigureConnection(writing.handle());
  // Readers work next to the writer in WAL mode; the index is a cache, so freed pages need not be
  // overwritten, and a larger page cache pays off when filling it.
  error = writing.Exec("PRAGMA journal_mode = WAL; PRAGMA secure_delete = OFF;"
                       " PRAGMA cache_size = -16384");
  IndexFileState state = IndexFileState::kReady;
  if (error.ok()) error = PrepareIndexSchema(writing, &state);
  if (error.ok() && state == IndexFileState::kForeign) {
    return DBError::SQLite(SQLITE_NOTADB, "the file is not a search index");
  }
  if (!error.ok()) return error;

  SQLiteConnection& reading = reader_.connection();
  error = reading.Open(path_);
  if (!error.ok()) return error;
  ConfigureConnection(reading.handle());
  return reader_.Attach();
}

void RapidFindDB::CloseConnections() {
  reader_.Detach();
  reader_.connection().Close();
  writer_.connection().Close();
  writer_.Forget();
}

DBError RapidFindDB::StartFresh() {
  CloseConnections();
  RemoveIndexFiles(path_);
  DBError error = OpenConnections();
  if (!error.ok()) CloseConnections();
  damaged_ = false;
  return WithPath(error, path_);
}

template <typename Write>
DBError RapidFindDB::RunWrite(Write write) {
  std::lock_guard<std::mutex> lock(writeMutex_);
  if (!writer_.connection().IsOpen()) return kNotOpen;
  const bool hadBatch = writer_.HasOpenBatch();
  DBError error = write();
  if (writer_.HasOpenBatch()) {
    lastWrite_ = std::chrono::steady_clock::now();
    if (!hadBatch) batchOpened_.notify_one();
  }
  return error;
}

bool RapidFindDB::Finish(const DBError& outcome) {
  if (outcome.status().IsCorruption()) damaged_ = true;
  RecordOutcome(outcome);
  return outcome.ok();
}

bool RapidFindDB::UpdateTable(const std::vector<std::u16string>& columns) {
  return Finish(RunWrite([&] { return writer_.AddColumns(columns); }));
}

bool RapidFindDB::DeleteTable() {
  const DBError error = RunWrite([&] {
    if (!damaged_) {
      DBError deleted = writer_.DeleteAll();
      if (!deleted.status().IsCorruption()) return deleted;
    }
    std::lock_guard<std::mutex> lock(readMutex_);
    return StartFresh();
  });
  return Finish(error);
}

int32_t RapidFindDB::InsertRow(const std::u16string& key, const std::vector<std::u16string>& values) {
  const DBError error = RunWrite([&] { return writer_.InsertRow(key, values); });
  return Finish(error) ? kInsertRowOk : (kInsertStatusBase | error.code());
}

bool RapidFindDB::Match(const std::vector<DBMatchTerm>& terms, int op,
                        std::vector<std::u16string>& keys) {
  keys.clear();
  DBError error = CommitWrites();
  if (error.ok()) {
    std::lock_guard<std::mutex> lock(readMutex_);
    error = reader_.connection().IsOpen() ? reader_.Match(terms, op, keys) : kNotOpen;
  }
  return Finish(error);
}

bool RapidFindDB::GetSimilarList(const std::u16string& word, int maxCount,
                                 const std::vector<std::u16string>& columns,
                                 std::vector<DBMenuItem>& items, bool wholeWordsOnly) {
  items.clear();
  DBError error = CommitWrites();
  if (error.ok()) {
    std::lock_guard<std::mutex> lock(readMutex_);
    error = reader_.connection().IsOpen()
                ? reader_.SimilarValues(word, maxCount, columns, wholeWordsOnly, items)
                : kNotOpen;
  }
  return Finish(error);
}

void RapidFindDB::ReconfigureConnections() {
  std::scoped_lock lock(writeMutex_, readMutex_);
  if (writer_.connection().IsOpen()) {
    // The synchronous setting cannot change inside a transaction.
    const DBError error = writer_.Commit();
    if (!error.ok() && idleCommitError_.ok()) idleCommitError_ = error;
    ConfigureConnection(writer_.connection().handle());
  }
  if (reader_.connection().IsOpen()) ConfigureConnection(reader_.connection().handle());
}

DBError RapidFindDB::CommitWrites() {
  std::lock_guard<std::mutex> lock(writeMutex_);
  if (!idleCommitError_.ok()) {
    DBError error = idleCommitError_;
    idleCommitError_ = DBError{};
    return error;
  }
  return writer_.Commit();
}

void RapidFindDB::CommitWhenIdle() {
  std::unique_lock<std::mutex> lock(writeMutex_);
  while (!stopIdleCommits_) {
    if (!writer_.HasOpenBatch()) {
      batchOpened_.wait(lock);
      continue;
    }
    const auto due = lastWrite_ + kIdleCommitDelay;
    if (std::chrono::steady_clock::now() < due) {
      batchOpened_.wait_until(lock, due);
      continue;
    }
    const DBError error = writer_.Commit();
    if (!error.ok() && idleCommitError_.ok()) idleCommitError_ = error;
  }
}

void RapidFindDB::StartIdleCommits() {
  try {
    idleCommitter_ = std::thread([this] { CommitWhenIdle(); });
  } catch (const std::system_error&) {
    // Without the thread batches still commit when full, before reads and at Close; only another
    // index object on the same file may wait longer for them.
  }
}

void RapidFindDB::StopIdleCommits() {
  if (!idleCommitter_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(writeMutex_);
    stopIdleCommits_ = true;
  }
  batchOpened_.notify_all();
  idleCommitter_.join();
}

}  // namespace zorvmetadatadb
