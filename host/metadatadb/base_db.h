// BaseDB is the part every metadata database of the host shares: opening and closing, the
// settings applied to its SQLite connections (synchronous writes, a progress handler), and the
// error state of its operations.
//
// Errors: every operation of a database records its outcome for the calling thread, and the
// GetDB* getters report the outcome of the last operation that thread called on this object: code
// kDBNoError and empty texts after a success, otherwise the code (db_error.h), a text for people
// and the SQLite result code behind it (0 when SQLite did not fail). Keeping the state per thread
// means a failure cannot be overwritten by another thread's success before its caller reads it.
//
// Thread safety: every public method may be called from any thread at any time; subclasses keep
// that promise for their own methods. Settings apply to the connections open now and to those
// opened later.

#ifndef ZORVCAPSULE_HOST_METADATADB_BASE_DB_H_
#define ZORVCAPSULE_HOST_METADATADB_BASE_DB_H_

#include <sqlite3.h>

#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "host/metadatadb/db_error.h"

namespace zorvmetadatadb {

class BaseDB {
 public:
  virtual ~BaseDB();

  // Opens the database file at `path`; true when it is open and usable. Opening an open database
  // closes it first.
  virtual bool Open(const std::u16string& path) = 0;
  // Closes the database; every change made before is on disk. Closing a closed database does
  // nothing.
  virtual void Close() = 0;

  BaseDB(const BaseDB&) = delete;
  BaseDB& operator=(const BaseDB&) = delete;

  // true (the default): commits reach the disk before the next one starts, so a crash of the
  // system loses at most the last commit (SQLite "synchronous = NORMAL"); false: the operating
  // system decides when ("synchronous = OFF"), faster, and still safe when only the process dies.
  void SetSynchronousMode(bool synchronous);

  // Registers `handler` as SQLite's progress handler, called with `context` about every `interval`
  // virtual-machine steps of a statement on any thread running one; a non-zero return interrupts
  // the statement, which then fails with SQLITE_INTERRUPT. A null handler or an interval below 1
  // removes the handler.
  void RegisterSQLiteProgressHandler(int interval, int (*handler)(void*), void* context);

  // The outcome of the calling thread's last operation on this object (see the top of the file).
  void GetDBErrorCode(int& code) const;
  void GetDBErrorString(std::u16string& text) const;
  void GetSQLiteErrorCode(int& code) const;

 protected:
  BaseDB();

  // Applies the settings to a connection the subclass has just opened.
  // REQUIRES: the caller alone uses `db` during the call.
  void ConfigureConnection(sqlite3* db) const;

  // Applies the settings again to every open connection, each under the subclass's own lock.
  // Called by the setters; implementations call ConfigureConnection.
  virtual void ReconfigureConnections() = 0;

  // Records the outcome of an operation for the calling thread.
  void RecordOutcome(const DBError& outcome);

 private:
  DBError LastError() const;

  mutable std::mutex settingsMutex_;
  bool synchronous_ = true;
  int progressInterval_ = 0;
  int (*progressHandler_)(void*) = nullptr;
  void* progressContext_ = nullptr;

  mutable std::mutex errorMutex_;
  std::unordered_map<std::thread::id, DBError> errors_;  // only threads whose last call failed
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_BASE_DB_H_
