// The words a match looks for: each term is a word and the columns to look in, and an operator
// says how the terms combine.
//
// Thread safety: plain values.

#ifndef ZORVCAPSULE_HOST_METADATADB_DB_MATCH_TERM_H_
#define ZORVCAPSULE_HOST_METADATADB_DB_MATCH_TERM_H_

#include <string>
#include <utility>
#include <vector>

namespace zorvmetadatadb {

// (word, column names). An empty column list means every column.
using DBMatchTerm = std::pair<std::u16string, std::vector<std::u16string>>;

enum DBMatchOperator : int {
  kDBMatchAll = 0,  // a key matches when every term matches at least one of its rows
  kDBMatchAny = 1,  // a key matches when any term matches at least one of its rows
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_DB_MATCH_TERM_H_
