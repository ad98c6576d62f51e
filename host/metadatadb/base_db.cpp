#include "host/metadatadb/base_db.h"

#include "host/core/unicode.h"

namespace zorvmetadatadb {
namespace {

// How long a connection waits for another connection's write transaction (another index object
// on the same file) before giving up with SQLITE_BUSY.
constexpr int kBusyTimeoutMilliseconds = 10000;

}  // namespace

BaseDB::BaseDB() = default;

BaseDB::~BaseDB() = default;

void BaseDB::SetSynchronousMode(bool synchronous) {
  {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    synchronous_ = synchronous;
  }
  ReconfigureConnections();
}

void BaseDB::RegisterSQLiteProgressHandler(int interval, int (*handler)(void*), void* context) {
  {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    progressInterval_ = interval;
    progressHandler_ = handler;
    progressContext_ = context;
  }
  ReconfigureConnections();
}

void BaseDB::ConfigureConnection(sqlite3* db) const {
  std::lock_guard<std::mutex> lock(settingsMutex_);
  sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
  // Fails only inside a transaction, which callers commit first.
  sqlite3_exec(db, synchronous_ ? "PRAGMA synchronous = NORMAL" : "PRAGMA synchronous = OFF",
               nullptr, nullptr, nullptr);
  if (progressHandler_ != nullptr && progressInterval_ > 0) {
    sqlite3_progress_handler(db, progressInterval_, progressHandler_, progressContext_);
  } else {
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
  }
}

void BaseDB::RecordOutcome(const DBError& outcome) {
  std::lock_guard<std::mutex> lock(errorMutex_);
  if (outcome.ok()) {
    errors_.erase(std::this_thread::get_id());
  } else {
    errors_[std::this_thread::get_id()] = outcome;
  }
}

DBError BaseDB::LastError() const {
  std::lock_guard<std::mutex> lock(errorMutex_);
  auto it = errors_.find(std::this_thread::get_id());
  return it == errors_.end() ? DBError{} : it->second;
}

void BaseDB::GetDBErrorCode(int& code) const { code = LastError().code(); }

void BaseDB::GetDBErrorString(std::u16string& text) const {
  text = zorvcore::UTF8ToUTF16(LastError().text());
}

void BaseDB::GetSQLiteErrorCode(int& code) const { code = LastError().sqliteCode(); }

}  // namespace zorvmetadatadb
