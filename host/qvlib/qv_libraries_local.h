// QvLibrariesLocal: the older functions' view of the elements of one library and of the files the
// cloud-library client keeps for them on this machine.
//
// Every call reads the disk afresh under the root folder of the moment (library_root.h), by the
// layout of library_layout.h; nothing is kept between calls. An ID that names no library (no folder
// with a well-formed "library.json") or no element gets empty answers. Paths are written under the
// root as configured, and never lead outside it through a link.
//
// Thread safety: every function may be called from any thread at any time.

#ifndef ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_LOCAL_H_
#define ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_LOCAL_H_

#include <string>
#include <vector>

namespace zorvqvlib {

class QvLibrariesLocal {
 public:
  QvLibrariesLocal() = delete;

  // Appends the IDs of the library's elements, in byte order of their folder names, whether or not
  // they hold a package.
  static void GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids);

  // The element's template package; empty when it has none.
  static std::string GetCapsulePath(const std::string& libraryID, const std::string& elementID);
  // The element's description file, named whether or not it exists; empty for an unknown element.
  static std::string GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID);
  // The element's still and video thumbnails; empty when it has none.
  static std::string GetCapsuleThumbnailPath(const std::string& libraryID, const std::string& elementID);
  static std::string GetCapsuleVideoThumbnailPath(const std::string& libraryID, const std::string& elementID);

  // The element's display name ("element.json", else the ID); empty for an unknown element. When
  // `exists` is given, it is set to whether the element was found.
  static std::string GetElementName(const std::string& libraryID, const std::string& elementID,
                                    bool* exists = nullptr);

  // The library's folder; empty when the ID names no library.
  static std::string GetLibraryDiskPath(const std::string& libraryID);

  // Drops what these functions keep for the library. They keep nothing (every call reads the disk),
  // so this does nothing; it exists because callers clear a library before listing it.
  static void ClearLibraryData(const std::string& libraryID);
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_QV_LIBRARIES_LOCAL_H_
