// QvLibraries: the older functions' view of the user's cloud libraries as a whole: which libraries
// there are and what they are called. Their elements are QvLibrariesLocal's.
//
// Every call reads the disk afresh under the root folder of the moment (library_root.h); nothing is
// kept between calls. Libraries are the folders of the layout (library_layout.h) that have a
// well-formed "library.json"; a malformed one is treated as absent.
//
// Thread safety: every function may be called from any thread at any time.

#ifndef ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_H_
#define ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_H_

#include <string>
#include <vector>

namespace zorvqvlib {

class QvLibraries {
 public:
  QvLibraries() = delete;

  // Appends the IDs of the libraries, in byte order of their folder names.
  static void GetLibraryList(std::vector<std::string>& ids);
  // The library's display name; empty when the ID names no library.
  static std::string GetLibraryNameFromLibraryID(const std::string& libraryID);
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_H_
