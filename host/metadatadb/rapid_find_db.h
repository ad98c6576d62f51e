// RapidFindDB is the host's full-text search index: rows of (key, one value per column) in an
// SQLite file, found again by the words of their values.
//
// Words. Values are split into words at anything but letters and digits; words are compared
// without regard to case or diacritics ("Été" is found by "ete"). A word looked for matches every
// stored word that begins with it. Text to look for is never read as query syntax: quotes, '*',
// "OR", '-', parentheses or "NEAR" in it are punctuation or plain words. Text holding no word at
// all (only punctuation or spaces) asks for nothing: such a term is ignored.
//
// Match. A term is (text, column names); it matches a row when the row's value in one of the
// named columns (any column when the list is empty; unknown names are ignored) holds, for every
// word of the text, a word beginning with it. With kDBMatchAll (operator 0) a key matches when
// EVERY term matches AT LEAST ONE of the key's rows, so a template tagged "blue" and named "Title"
// is found by the terms "blue" and "title"; with kDBMatchAny (1) when any term does. Keys come
// back once each, in the order they were first inserted since the index was last emptied.
//
// GetSimilarList. The stored values holding a word that begins with each word of the given text,
// with the number of keys that carry each value; most keys first, equal counts ordered by value
// (code point order), at most maxCount items. The flag `wholeWordsOnly` asks for values holding
// each word itself instead of a word beginning with it.
//
// Rows. A key may carry many rows; a value is stored once per column and counts each key once.
// InsertRow returns kInsertRowOk, kInsertRowExists when the key already carries every value of
// the row (nothing changes; the caller's own error state says code kDBRowExists), or another
// negative status kInsertStatusBase | error code on failure. DeleteTable removes every row and
// column; UpdateTable(columns) then registers the columns again (the index's columns are those
// registered since the last DeleteTable, in the order first registered; InsertRow takes one value
// per column in that order).
//
// Writing. Changes are gathered into batches, one write transaction each: a batch commits after
// kRowsPerBatch rows, when writes pause for kIdleCommitDelay (so that another index object on the
// same file is never kept waiting long), before any Match or GetSimilarList (so that a read
// always sees every row inserted before it, on any thread), and at Close.
//
// The file. The index is a cache, not user data. Open creates a missing file; a file that is
// damaged, not a database, some other database, or an index of an older layout is deleted and a
// fresh index made in its place. A path in a folder that does not exist or cannot be written
// fails Open (false, with the error code and text set). Damage found later (a failure whose SQLite
// result SQLiteFailureKind classifies as corruption, db_error.h) makes the next DeleteTable start a
// fresh file. Two index objects may open the same file (each waits for the other's batch to commit);
// deleting a damaged file under the other object leaves that one on the deleted copy.
//
// Thread safety: every public method may be called from any thread. Writes (UpdateTable,
// DeleteTable, InsertRow) run one at a time; Match and GetSimilarList run on a connection of their
// own next to the writes and see committed data only (after committing the open batch), so a
// rebuild in progress looks like a smaller index, never like an error. Open and Close run one at
// a time and wait for running operations.

#ifndef ZORVCAPSULE_HOST_METADATADB_RAPID_FIND_DB_H_
#define ZORVCAPSULE_HOST_METADATADB_RAPID_FIND_DB_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/metadatadb/base_db.h"
#include "host/metadatadb/db_match_term.h"
#include "host/metadatadb/db_menu_item.h"
#include "host/metadatadb/index_reader.h"
#include "host/metadatadb/index_writer.h"

namespace zorvmetadatadb {

class RapidFindDB : public BaseDB {
 public:
  // InsertRow statuses. Failures are kInsertStatusBase | the error code (db_error.h), all negative.
  static constexpr int32_t kInsertRowOk = 0;
  static constexpr int32_t kInsertStatusBase = static_cast<int32_t>(0xA00F0000u);
  static constexpr int32_t kInsertRowExists = kInsertStatusBase | kDBRowExists;  // -1609629689

  static constexpr int kRowsPerBatch = 20000;
  static constexpr std::chrono::milliseconds kIdleCommitDelay{100};

  // A closed index.
  RapidFindDB();
  // Closes the index.
  ~RapidFindDB() override;

  bool Open(const std::u16string& path) override;
  void Close() override;

  // Creates the columns that do not exist yet; true on success.
  bool UpdateTable(const std::vector<std::u16string>& columns);
  // Empties the index: no row, no column; true on success.
  bool DeleteTable();
  // Adds the row `values` (one per column) to `key`; see the statuses above.
  int32_t InsertRow(const std::u16string& key, const std::vector<std::u16string>& values);

  // Replaces `keys` with the keys matching the terms under operator `op` (a DBMatchOperator);
  // true on success. No term (or only terms without words) matches nothing.
  bool Match(const std::vector<DBMatchTerm>& terms, int op, std::vector<std::u16string>& keys);
  // Replaces `items` with the values similar to `word` in the columns (all when empty); true on
  // success. A word without letters or digits, or maxCount below 1, lists nothing.
  bool GetSimilarList(const std::u16string& word, int maxCount,
                      const std::vector<std::u16string>& columns, std::vector<DBMenuItem>& items,
                      bool wholeWordsOnly);

 protected:
  void ReconfigureConnections() override;

 private:
  // REQUIRES: writeMutex_ and readMutex_ held.
  DBError OpenFile();
  DBError OpenConnections();
  void CloseConnections();
  DBError StartFresh();

  // Records the outcome of a call for its thread and remembers damage (a failure classified as
  // corruption) for the next DeleteTable; true on success.
  bool Finish(const DBError& outcome);
  // Runs a write under writeMutex_ and keeps the idle commit informed.
  template <typename Write>
  DBError RunWrite(Write write);
  // Commits the open batch so that the reading connection sees it.
  DBError CommitWrites();
  // The body of the thread that commits a batch once writes pause.
  void CommitWhenIdle();
  void StartIdleCommits();
  void StopIdleCommits();

  std::mutex lifecycleMutex_;  // held by Open and Close; taken before the others

  std::mutex writeMutex_;  // guards the members up to readMutex_
  std::string path_;
  IndexWriter writer_;
  std::chrono::steady_clock::time_point lastWrite_;
  DBError idleCommitError_;  // a failed idle commit, reported by the next read
  bool stopIdleCommits_ = false;
  std::condition_variable batchOpened_;
  std::thread idleCommitter_;

  std::mutex readMutex_;  // guards reader_; taken after writeMutex_ when both are held
  IndexReader reader_;

  std::atomic<bool> damaged_{false};  // SQLite found the file damaged; start afresh when emptied
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_RAPID_FIND_DB_H_
