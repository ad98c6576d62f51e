#include "host/qvlib/qv_libraries.h"

#include "host/qvlib/library_root.h"
#include "host/qvlib/library_tree.h"

namespace zorvqvlib {

void QvLibraries::GetLibraryList(std::vector<std::string>& ids) {
  const LibraryTree tree(ConfiguredLibraryRoot());
  for (const std::string& id : tree.ListLibraryFolders()) {
    if (tree.ReadLibraryName(id)) ids.push_back(id);
  }
}

std::string QvLibraries::GetLibraryNameFromLibraryID(const std::string& libraryID) {
  return LibraryTree(ConfiguredLibraryRoot()).ReadLibraryName(libraryID).value_or(std::string());
}

}  // namespace zorvqvlib
