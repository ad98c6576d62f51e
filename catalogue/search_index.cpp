#include "catalogue/search_index.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "host/core/debug.h"
#include "host/core/debug_database.h"
#include "host/core/unicode.h"
#include "host/metadatadb/rapid_find_db.h"

namespace zorvcapsule {
namespace {

using zorvmetadatadb::RapidFindDB;

constexpr int kSQLiteCorrupt = 11;
constexpr int kSimilarWordLimit = 100;

// The module-wide index. It is replaced only by InitializeRapidFindDB, which the manager's constructor
// calls before any other use, so it is read without a lock, as the callers' threading allows.
std::shared_ptr<RapidFindDB>& Index() {
  static std::shared_ptr<RapidFindDB> index;
  return index;
}

const std::vector<std::u16string>& Columns() {
  static const std::vector<std::u16string> columns{u"nametable"};
  return columns;
}

// Leading decimal digits of `text`; 0 when there are none.
int LeadingNumber(const std::string& text) {
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  return static_cast<int>(value);
}

// Hands a failed operation's error to the host's reporter, except a damaged index, which repairs
// itself at the next open and is nobody's to act on.
void ReportResult(RapidFindDB& index, bool ok) {
  if (ok) return;
  int code = 0, sqliteCode = 0;
  std::u16string text;
  index.GetDBErrorCode(code);
  index.GetDBErrorString(text);
  index.GetSQLiteErrorCode(sqliteCode);
  if (code == zorvmetadatadb::kDBSQLiteFailed && sqliteCode == kSQLiteCorrupt) return;
  zorvcore::debug::ReportDiagnostic(
      "RapidFindDB", "DB Assert ErrorCode:" + std::to_string(code) + " ErrorString:" +
                         zorvcore::UTF16ToUTF8(text) + " SQLiteErrorCode:" + std::to_string(sqliteCode));
}

}  // namespace

void InitializeRapidFindDB(const std::u16string& path) {
  Index() = std::make_shared<RapidFindDB>();
  RapidFindDB& index = *Index();
  const bool opened = index.Open(path);
  ReportResult(index, opened);
  if (!opened) return;
  index.SetSynchronousMode(false);
  const int interval = LeadingNumber(zorvcore::DebugDatabase::GetEntry("ZORV.graphicfindinterval", "50000"));
  // Null handler: setup keeps its progress-handler step and interval setting, yet nothing stops a query.
  index.RegisterSQLiteProgressHandler(interval, nullptr, nullptr);
  ReportResult(index, index.UpdateTable(Columns()));
}

void TerminateRapidFindDB() {
  if (auto index = Index()) index->Close();
}

void ClearRapidFindDB() {
  auto index = Index();
  if (!index) return;
  ReportResult(*index, index->DeleteTable());
  ReportResult(*index, index->UpdateTable(Columns()));
}

void InsertRow(const std::u16string& key, const std::u16string& word) {
  auto index = Index();
  if (!index) return;
  const int32_t status = index->InsertRow(key, {word});
  if (status == RapidFindDB::kInsertRowExists) return;
  ReportResult(*index, status >= 0);
}

void QueryRapidFindDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys) {
  auto index = Index();
  if (!index || words.empty()) return;
  std::vector<zorvmetadatadb::DBMatchTerm> terms;
  terms.reserve(words.size());
  for (const auto& word : words) terms.emplace_back(word, Columns());
  std::vector<std::u16string> found;
  ReportResult(*index, index->Match(terms, zorvmetadatadb::kDBMatchAll, found));
  keys.insert(found.begin(), found.end());
}

void GetTags(const std::u16string& word, std::set<std::u16string>& tags) {
  auto index = Index();
  if (!index) return;
  std::vector<zorvmetadatadb::DBMenuItem> items;
  const bool ok = index->GetSimilarList(word, kSimilarWordLimit, Columns(), items, false);
  if (ok) {
    for (const auto& item : items) {
      if (!item.word.empty()) tags.insert(zorvcore::LowerCase(item.word));
    }
  }
  ReportResult(*index, ok);
}

}  // namespace zorvcapsule
