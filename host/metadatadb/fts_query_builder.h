// Turns words a user typed into full-text match expressions that can only mean "a value holding a
// word that begins with each of these words", whatever quotes, operators or punctuation the text
// holds. The text is split and folded by the same tokenizer the index uses, so "Été" and "ete"
// are one word and "blue-title" is two.
//
// Thread safety: none; it uses a tokenizer of one connection and shares that connection's
// contract.

#ifndef ZORVCAPSULE_HOST_METADATADB_FTS_QUERY_BUILDER_H_
#define ZORVCAPSULE_HOST_METADATADB_FTS_QUERY_BUILDER_H_

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

#include "host/metadatadb/db_error.h"

namespace zorvmetadatadb {

class FtsQueryBuilder {
 public:
  FtsQueryBuilder() = default;
  ~FtsQueryBuilder();

  FtsQueryBuilder(const FtsQueryBuilder&) = delete;
  FtsQueryBuilder& operator=(const FtsQueryBuilder&) = delete;

  // Finds the index's tokenizer on `db`. REQUIRES: db stays open until Detach.
  DBError Attach(sqlite3* db);
  void Detach();
  bool IsAttached() const { return tokenizer_ != nullptr; }

  // The folded words of `text`, in order. REQUIRES: IsAttached().
  std::vector<std::string> Words(std::u16string_view text);

  // An expression matching the values that hold, for every word of `text`, a word beginning with
  // it (or equal to it when wholeWords). Empty when `text` holds no word (only punctuation or
  // spaces), which callers take as "nothing to look for". REQUIRES: IsAttached().
  std::string Expression(std::u16string_view text, bool wholeWords);

 private:
  fts5_tokenizer methods_{};
  Fts5Tokenizer* tokenizer_ = nullptr;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_FTS_QUERY_BUILDER_H_
