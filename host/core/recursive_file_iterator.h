// RecursiveFileIterator walks the files of a folder tree, depth first.
//
// Each folder's entries are visited in byte order of their names, a subfolder's files coming at
// its name's place among its siblings. Links to files are yielded like files; links to folders
// are neither yielded nor entered, so a link pointing back up the tree cannot loop the walk. The
// root itself may be a link to a folder; it is the one link the walk enters.
//
// The walk never throws for the disk's sake. A missing or unreadable root yields nothing; an
// unreadable subfolder is skipped and the walk carries on with its siblings, so one folder the
// user cannot read does not hide the rest of the tree. Names without an exact UTF-16 form (see
// file_helper_utils.h) are skipped as well, together with anything below them. Each folder is
// read when the walk enters it; changes made to a folder after that are not seen.
//
// It is an input iterator: copies share one position. A default-constructed iterator is the end.
//
//   for (const File& file : RecursiveFileIterator(root)) { ... }
//
// Thread safety: one iterator (with its copies) is used by one thread at a time.

#ifndef ZORVCAPSULE_HOST_CORE_RECURSIVE_FILE_ITERATOR_H_
#define ZORVCAPSULE_HOST_CORE_RECURSIVE_FILE_ITERATOR_H_

#include <cstddef>
#include <iterator>
#include <memory>

#include "host/core/dir.h"
#include "host/core/file.h"

namespace zorvcore {

class RecursiveFileIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = File;
  using difference_type = std::ptrdiff_t;
  using pointer = const File*;
  using reference = const File&;

  RecursiveFileIterator();
  // Positioned on the tree's first file, or at the end when there is none.
  explicit RecursiveFileIterator(const Dir& root);
  ~RecursiveFileIterator();

  RecursiveFileIterator(const RecursiveFileIterator&);
  RecursiveFileIterator& operator=(const RecursiveFileIterator&);

  // REQUIRES: *this is not at the end.
  reference operator*() const;
  pointer operator->() const { return &**this; }
  RecursiveFileIterator& operator++();

  bool AtEnd() const;

  friend bool operator==(const RecursiveFileIterator& a, const RecursiveFileIterator& b) {
    if (a.AtEnd() || b.AtEnd()) return a.AtEnd() == b.AtEnd();
    return a.walk_ == b.walk_;
  }

 private:
  class Walk;
  std::shared_ptr<Walk> walk_;
};

inline RecursiveFileIterator begin(RecursiveFileIterator it) { return it; }
inline RecursiveFileIterator end(const RecursiveFileIterator&) { return RecursiveFileIterator(); }

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_RECURSIVE_FILE_ITERATOR_H_
