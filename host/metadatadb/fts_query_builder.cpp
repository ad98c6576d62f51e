#include "host/metadatadb/fts_query_builder.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "host/core/unicode.h"
#include "host/metadatadb/index_schema.h"

namespace zorvmetadatadb {
namespace {

fts5_api* FindFts5Api(sqlite3* db) {
  fts5_api* api = nullptr;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
  sqlite3_step(statement);
  sqlite3_finalize(statement);
  return api;
}

int CollectWord(void* context, int flags, const char* word, int size, int, int) {
  // Colocated tokens are synonyms a tokenizer may add; unicode61 adds none, and they would only
  // repeat a word already collected.
  if ((flags & FTS5_TOKEN_COLOCATED) == 0 && size > 0) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(word, static_cast<size_t>(size));
  }
  return SQLITE_OK;
}

// A quoted string is taken by the full-text parser as words only, never as syntax.
std::string Quoted(const std::string& word) {
  std::string quoted = "\"";
  for (char c : word) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted += '"';
}

}  // namespace

FtsQueryBuilder::~FtsQueryBuilder() { Detach(); }

DBError FtsQueryBuilder::Attach(sqlite3* db) {
  Detach();
  fts5_api* api = FindFts5Api(db);
  void* userData = nullptr;
  if (api == nullptr ||
      api->xFindTokenizer(api, kIndexTokenizerName, &userData, &methods_) != SQLITE_OK) {
    return DBError::SQLite(SQLITE_ERROR, "the full-text tokenizer is not available");
  }
  // The tokenizer takes its arguments as a mutable array.
  const char* args[std::size(kIndexTokenizerArgs)];
  std::copy(std::begin(kIndexTokenizerArgs), std::end(kIndexTokenizerArgs), args);
  const int rc = methods_.xCreate(userData, args, static_cast<int>(std::size(args)), &tokenizer_);
  if (rc != SQLITE_OK) {
    tokenizer_ = nullptr;
    return DBError::SQLite(rc, "the full-text tokenizer cannot be created");
  }
  return DBError{};
}

void FtsQueryBuilder::Detach() {
  if (tokenizer_ != nullptr) methods_.xDelete(tokenizer_);
  tokenizer_ = nullptr;
}

std::vector<std::string> FtsQueryBuilder::Words(std::u16string_view text) {
  const std::string utf8 = zorvcore::UTF16ToUTF8(text);
  std::vector<std::string> words;
  // The tokenizer takes an int length; text beyond it is not a search anyone typed.
  const int size = static_cast<int>(std::min<size_t>(utf8.size(), INT_MAX));
  methods_.xTokenize(tokenizer_, &words, FTS5_TOKENIZE_QUERY, utf8.data(), size, CollectWord);
  return words;
}

std::string FtsQueryBuilder::Expression(std::u16string_view text, bool wholeWords) {
  std::string expression;
  for (const std::string& word : Words(text)) {
    if (!expression.empty()) expression += " AND ";
    expression += Quoted(word);
    if (!wholeWords) expression += '*';
  }
  return expression;
}

}  // namespace zorvmetadatadb
