// LibraryTree: reads the library layout (library_layout.h) under one root folder, and nothing
// outside it.
//
// The root is resolved once, at construction. Every later look resolves links and treats anything
// whose resolved location is not inside the resolved root as absent: a library or element folder
// that is a link to a folder elsewhere is no library or element; a manifest, package or thumbnail
// linked from elsewhere is not there. Links that stay inside the root are followed. The paths handed
// out are written under the root as configured ("<root>/<library>/<element>/template.tplx"), not in
// their resolved form.
//
// IDs that are not layout names (IsLayoutName) name nothing, so no ID can reach outside the root.
//
// Thread safety: a LibraryTree does not change after construction and any thread may call it. The
// folders on disk may change between two calls; every call looks at them afresh.

#ifndef ZORVCAPSULE_HOST_QVLIB_LIBRARY_TREE_H_
#define ZORVCAPSULE_HOST_QVLIB_LIBRARY_TREE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvqvlib {

// What an element folder holds, as the managers report it.
struct ElementFiles {
  std::string name;                // from "element.json", else the element ID
  std::string capsulePath;         // "template.tplx" when it is a regular file, else empty
  std::string schemaPath;          // "definition.json", whether or not it exists; empty only when it
                                   // is a link that does not lead to a place inside the root
  std::string thumbnailPath;       // "thumb.png" when it is a regular file, else empty
  std::string videoThumbnailPath;  // "thumb.mp4" when it is a regular file, else empty

  friend bool operator==(const ElementFiles&, const ElementFiles&) = default;
};

class LibraryTree {
 public:
  // REQUIRES: root is absolute and normal (ConfiguredLibraryRoot); an empty or missing root is a
  // tree without libraries.
  explicit LibraryTree(std::string root);

  const std::string& Root() const { return root_; }

  // "<folder>/<name>".
  static std::string Join(const std::string& folder, std::string_view name);
  // The library's or element's folder path under the root; nothing is checked.
  std::string LibraryPath(const std::string& libraryID) const { return Join(root_, libraryID); }
  std::string ElementPath(const std::string& libraryID, const std::string& elementID) const {
    return Join(LibraryPath(libraryID), elementID);
  }

  // The IDs of the folders in the root, in byte order; whether they are libraries is not checked.
  std::vector<std::string> ListLibraryFolders() const;
  // The library's display name: its manifest's "name", or the ID when that is absent or empty.
  // nullopt when the ID names no library (no folder inside the root, or no well-formed manifest).
  std::optional<std::string> ReadLibraryName(const std::string& libraryID) const;
  // True when the ID names a folder inside the root (library or not).
  bool IsLibraryFolder(const std::string& libraryID) const;

  // The IDs of the element folders in the library's folder, in byte order; the library's manifest
  // is not checked.
  std::vector<std::string> ListElementFolders(const std::string& libraryID) const;
  // What the element folder holds; nullopt when there is no such folder inside the root.
  std::optional<ElementFiles> ReadElement(const std::string& libraryID, const std::string& elementID) const;

 private:
  // The resolved form of `path` when it exists and lies inside the resolved root.
  std::optional<std::filesystem::path> ResolveInside(const std::filesystem::path& path) const;
  std::optional<std::filesystem::path> FolderInside(const std::filesystem::path& path) const;
  bool IsRegularFileInside(const std::filesystem::path& path) const;
  std::string PathIfRegularFile(const std::string& folder, std::string_view name) const;
  std::string DescriptionPath(const std::string& folder) const;
  // The name a well-formed manifest at `path` gives (empty when none); nullopt without one.
  std::optional<std::string> ManifestNameAt(const std::string& path) const;
  std::vector<std::string> ListFolders(const std::string& folder) const;

  const std::string root_;
  const std::filesystem::path resolvedRoot_;  // empty when the root did not exist
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_LIBRARY_TREE_H_
