// File names one file by its UTF-16 path; it is a value (copying it copies the name) and holds
// nothing open. Every query looks at the disk afresh, never throws, and answers "missing" (false,
// 0, an unset DateTime) when the file cannot be seen.
//
// The name queries (GetTitle, GetExtension) work on the path's text only. They split the last
// component at its last dot, as std::filesystem does: "a.b.tplx" has the title "a.b" and the
// extension ".tplx"; a name whose only dot leads it (".DS_Store") is all title; "noext" has no
// extension. Case is kept: the extension of "X.TPLX" is ".TPLX".
//
// Parent returns a Dir; include "host/core/dir.h" to use it.
//
// Thread safety: const member functions may be called from any thread; the file itself may
// change between two calls.

#ifndef ZORVCAPSULE_HOST_CORE_FILE_H_
#define ZORVCAPSULE_HOST_CORE_FILE_H_

#include <cstdint>
#include <string>

#include "host/core/date_time.h"

namespace zorvcore {

class Dir;

class File {
 public:
  // `storageType` keeps the host's constructor form (callers give 0); there is one file system here.
  explicit File(std::u16string path, int storageType = 0);

  // The path as given.
  const std::u16string& FullPath() const { return path_; }

  // True for a regular file (or a link to one); false for a folder.
  bool Exists() const;
  // Size in bytes; 0 when the file is missing or is not a regular file.
  int64_t Size() const;
  // The last-modification time with the precision the filesystem keeps; unset when missing.
  DateTime Modified() const;

  // ".tplx" when withDot is true, "tplx" when it is false; empty when there is none.
  std::u16string GetExtension(bool withDot) const;
  // The last component without its extension.
  std::u16string GetTitle() const;
  // The folder named by the path without its last component.
  Dir Parent() const;

  // Makes the file empty, creating it when it is missing. True when it then exists.
  // REQUIRES: the parent folder exists.
  bool Create() const;

  friend bool operator==(const File& a, const File& b) { return a.path_ == b.path_; }

 private:
  std::u16string path_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_FILE_H_
