// Dir names one folder by its UTF-16 path; it is a value (copying it copies the name) and holds
// nothing open. Queries look at the disk afresh and never throw.
//
// The path is kept in a normal form: repeated separators collapse to one and trailing ones are
// dropped, except that the root stays "/". Two Dirs are equal when their normal forms are equal;
// the disk is not consulted (a link and its target are different Dirs).
//
// BeginFiles/EndFiles list the regular files (and links to regular files) of this one folder, not
// of its subfolders, in byte order of their names. The listing is read once, at BeginFiles: files
// created later are not seen, and files removed later are still listed. A missing or unreadable
// folder lists nothing. Names that have no exact UTF-16 form (see file_helper_utils.h) are left
// out, because no File could name them.
//
//   for (const File& file : dir.Files()) { ... }
//   for (auto it = dir.BeginFiles(); it != dir.EndFiles(); ++it) { ... }
//
// Thread safety: const member functions may be called from any thread. A DirFileIterator is used
// by one thread at a time; copies share the immutable listing and may go to other threads.

#ifndef ZORVCAPSULE_HOST_CORE_DIR_H_
#define ZORVCAPSULE_HOST_CORE_DIR_H_

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/file.h"

namespace zorvcore {

// Walks one folder listing; a default-constructed iterator is the end of every listing.
class DirFileIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = File;
  using difference_type = std::ptrdiff_t;
  using pointer = const File*;
  using reference = const File&;

  DirFileIterator() = default;

  // REQUIRES: *this is not at the end.
  reference operator*() const { return (*files_)[index_]; }
  pointer operator->() const { return &(*files_)[index_]; }

  DirFileIterator& operator++() {
    ++index_;
    return *this;
  }
  DirFileIterator operator++(int) {
    DirFileIterator before = *this;
    ++index_;
    return before;
  }

  friend bool operator==(const DirFileIterator& a, const DirFileIterator& b) {
    if (a.AtEnd() || b.AtEnd()) return a.AtEnd() == b.AtEnd();
    return a.files_ == b.files_ && a.index_ == b.index_;
  }

 private:
  friend class Dir;
  explicit DirFileIterator(std::shared_ptr<const std::vector<File>> files)
      : files_(std::move(files)) {}

  bool AtEnd() const { return files_ == nullptr || index_ >= files_->size(); }

  std::shared_ptr<const std::vector<File>> files_;
  size_t index_ = 0;
};

// A begin/end pair for range-for.
struct DirFiles {
  DirFileIterator first;
  DirFileIterator last;
  DirFileIterator begin() const { return first; }
  DirFileIterator end() const { return last; }
};

class Dir {
 public:
  // `storageType` keeps the host's constructor form (callers give 0); there is one file system here.
  explicit Dir(std::u16string_view path, int storageType = 0);
  // The folder `name` inside `parent`.
  // REQUIRES: name is one path component (no separator, not "." or "..").
  Dir(const Dir& parent, std::u16string_view name);

  // The system temporary folder: $TMPDIR when it names a folder, else "/tmp".
  static Dir TempDir();

  // Without a trailing separator, except the root "/".
  const std::u16string& FullPath() const { return path_; }
  // The last component; empty for the root.
  std::u16string GetName() const;
  // The folder above; the root is its own parent, and a relative single name has an empty one.
  Dir Parent() const;
  bool IsTopLevelDir() const { return path_ == u"/"; }

  // True for a folder (or a link to one).
  bool Exists() const;
  // Removes the folder with everything in it, without following links out of it (a link is
  // removed, never its target). True when nothing is left at the path, also when nothing was
  // there; false, and nothing removed, when the path names a file rather than a folder.
  bool Delete() const;

  DirFileIterator BeginFiles() const;
  DirFileIterator EndFiles() const { return DirFileIterator(); }
  DirFiles Files() const { return DirFiles{BeginFiles(), EndFiles()}; }

  friend bool operator==(const Dir& a, const Dir& b) { return a.path_ == b.path_; }

 private:
  std::u16string path_;
};

// The names of the folders from `folder` up to, not including, `ancestor`, innermost first; none
// when the walk up from `folder` meets the top or a missing folder before it meets `ancestor`.
std::vector<std::u16string> FolderNamesBetween(Dir folder, const Dir& ancestor);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_DIR_H_
