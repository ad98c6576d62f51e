// LibrarySnapshot: the library tree as last read, refreshed piece by piece where the disk changed.
//
// Construction reads the whole tree under the root folder of the moment (library_root.h). Later
// calls answer from what was read and look at the disk again only where a stamp (file_stamp.h) shows
// a change: the root folder (libraries added, removed or renamed), a library's folder and manifest
// (elements added or removed, the library renamed or made no library), an element's folder and
// manifest (its files and its name). A part read while its stamps had not settled is read once more
// after they have, so a change made in the same clock tick as the read is not missed for long. A
// changed root setting starts the snapshot afresh. The tree is read through LibraryTree, so the
// snapshot never reads outside the root either.
//
// Thread safety: none; the owner (QvLibManager) serializes every call.

#ifndef ZORVCAPSULE_HOST_QVLIB_LIBRARY_SNAPSHOT_H_
#define ZORVCAPSULE_HOST_QVLIB_LIBRARY_SNAPSHOT_H_

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/qvlib/file_stamp.h"
#include "host/qvlib/library_tree.h"

namespace zorvqvlib {

class LibrarySnapshot {
 public:
  LibrarySnapshot();
  LibrarySnapshot(const LibrarySnapshot&) = delete;
  LibrarySnapshot& operator=(const LibrarySnapshot&) = delete;

  // The libraries' IDs in byte order.
  std::vector<std::string> LibraryIDs();
  // nullopt when the ID names no library.
  std::optional<std::string> LibraryName(const std::string& libraryID);
  // The library's element IDs in byte order; empty for an unknown library.
  std::vector<std::string> ElementIDs(const std::string& libraryID);
  // nullopt when either ID names nothing.
  std::optional<ElementFiles> Element(const std::string& libraryID, const std::string& elementID);

 private:
  // The stamps of the folder and the manifest (or nothing) one part was read under.
  struct ReadMark {
    bool read = false;
    bool provisional = false;  // read before the stamps settled: read once more when they have
    FileStamp folder, manifest;

    bool IsStale(const FileStamp& folderNow, const FileStamp& manifestNow) const;
    void Set(const FileStamp& folderNow, const FileStamp& manifestNow);
  };
  struct ElementState {
    ReadMark mark;
    std::optional<ElementFiles> files;  // nullopt: no such element
  };
  struct LibraryState {
    ReadMark mark;                    // the folder and manifest the name was read under
    std::optional<std::string> name;  // nullopt: the folder is no library
    ReadMark listMark;                // the folder the element list was read under
    std::vector<std::string> elementOrder;
    std::map<std::string, ElementState> elements;
  };

  // Each brings one level up to date; the library and element ones return null for no such thing.
  // An element is looked up by its own folder, not through the list, so that asking about one
  // element costs the same however large its library and however busy its folder.
  void RefreshRoot();
  LibraryState* RefreshLibrary(const std::string& libraryID);
  void RefreshElementList(const std::string& libraryID, LibraryState& library);
  const ElementState* RefreshElement(const std::string& libraryID, const std::string& elementID,
                                     LibraryState& library);

  std::unique_ptr<LibraryTree> tree_;
  ReadMark rootMark_;
  std::vector<std::string> folderOrder_;  // every folder in the root, library or not
  std::map<std::string, LibraryState> libraries_;
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_LIBRARY_SNAPSHOT_H_
