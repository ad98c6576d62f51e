// GallerySearchWords: the words under which the catalogue's search index finds each template, folded
// as the index folds them, so that the gallery page answers a word search exactly as the catalogue
// does with nothing but prefix comparisons.
//
// The source manager indexes an entry's tags, its name and, for an entry of the local source, the
// names of the folders between its package and the templates folder. The index splits each of these
// values into words and folds them (lower case, diacritics removed) with its full-text tokenizer;
// this class asks that same tokenizer. A searched word matches a value when every word it splits
// into begins a word of that value; a search matches an entry when each searched word matches one of
// the entry's values.
//
// Thread safety: none; use one object from one thread.

#ifndef ZORVCAPSULE_TOOLS_GALLERY_SEARCH_WORDS_H_
#define ZORVCAPSULE_TOOLS_GALLERY_SEARCH_WORDS_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/capsule_entry.h"
#include "host/core/dir.h"
#include "host/metadatadb/fts_query_builder.h"
#include "host/metadatadb/sqlite_connection.h"

namespace capsuletool {

// One indexed value as its folded words, in order.
using FoldedValue = std::vector<std::string>;

class GallerySearchWords {
 public:
  // `templatesFolder` is the local source's templates folder, as given to the source.
  explicit GallerySearchWords(const std::u16string& templatesFolder);
  GallerySearchWords(const GallerySearchWords&) = delete;
  GallerySearchWords& operator=(const GallerySearchWords&) = delete;

  // False when the index's tokenizer is not available (the SQLite build lacks full-text search).
  bool Ready() const { return tokenizer_.IsAttached(); }

  // The values the index holds for `entry`, each folded; values without a word are left out.
  // REQUIRES: Ready().
  std::vector<FoldedValue> ValuesOf(const zorvcapsule::CapsuleEntry& entry);

  // The folded words (UTF-8) of `text`. REQUIRES: Ready().
  FoldedValue Fold(std::u16string_view text) { return tokenizer_.Words(text); }

 private:
  const std::vector<std::u16string>& FolderNamesOf(const std::u16string& packagePath);

  zorvmetadatadb::SQLiteConnection connection_;
  zorvmetadatadb::FtsQueryBuilder tokenizer_;
  const zorvcore::Dir templates_;
  std::map<std::u16string, std::vector<std::u16string>> folderNames_;  // by the package's folder
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_GALLERY_SEARCH_WORDS_H_
