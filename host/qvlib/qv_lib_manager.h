// QvLibManager: the newer cloud-library manager, over the library layout of library_layout.h under
// the root folder of library_root.h.
//
// Initialize reads the whole tree once into a snapshot; the later calls answer from it and read again
// only the parts whose folders or manifests changed since (library_snapshot.h), so a listing costs a
// few status checks per element rather than a walk of the tree. Terminate drops the snapshot. Starts
// are counted: with several users (two catalogues, say) the snapshot stays until the last of them
// terminates, and a Terminate without a matching Initialize does nothing. While the manager is not
// started, every call answers as if there were no libraries.
//
// Unlike the older functions (QvLibrariesLocal) it hands out no library folders. A malformed
// "library.json" or "element.json" is treated as absent, and no path it gives leads outside the root
// through a link.
//
// Thread safety: every function may be called from any thread at any time (the host's main thread
// and the catalogue's workers at once); calls are serialized by one lock, held only for the few
// status checks, and reads of changed parts, that a call needs.

#ifndef ZORVCAPSULE_HOST_QVLIB_QV_LIB_MANAGER_H_
#define ZORVCAPSULE_HOST_QVLIB_QV_LIB_MANAGER_H_

#include <string>
#include <vector>

namespace zorvqvlib {

class QvLibManager {
 public:
  QvLibManager() = delete;

  static void Initialize();
  static void Terminate();
  static bool IsStarted();

  // Appends the IDs of the libraries, in byte order of their folder names.
  static void GetLibraryList(std::vector<std::string>& ids);
  // The library's display name; empty when the ID names no library.
  static std::string GetLibraryNameFromLibraryID(const std::string& libraryID);

  // Appends the IDs of the library's elements, in byte order, whether or not they hold a package.
  static void GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids);
  // The element's template package; empty when it has none.
  static std::string GetCapsulePath(const std::string& libraryID, const std::string& elementID);
  // The element's description file, named whether or not it exists; empty for an unknown element.
  static std::string GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID);
  // The element's still and video thumbnails; empty when it has none.
  static std::string GetCapsuleThumbnailPath(const std::string& libraryID, const std::string& elementID);
  static std::string GetCapsuleVideoThumbnailPath(const std::string& libraryID, const std::string& elementID);
  // The element's display name ("element.json", else the ID); empty for an unknown element.
  static std::string GetElementName(const std::string& libraryID, const std::string& elementID);
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_QV_LIB_MANAGER_H_
