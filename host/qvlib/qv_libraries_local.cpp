#include "host/qvlib/qv_libraries_local.h"

#include <optional>

#include "host/qvlib/library_root.h"
#include "host/qvlib/library_tree.h"

namespace zorvqvlib {
namespace {

// The element's files, when both the library and the element exist now.
std::optional<ElementFiles> CurrentElement(const std::string& libraryID, const std::string& elementID) {
  const LibraryTree tree(ConfiguredLibraryRoot());
  if (!tree.ReadLibraryName(libraryID)) return std::nullopt;
  return tree.ReadElement(libraryID, elementID);
}

}  // namespace

void QvLibrariesLocal::GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids) {
  const LibraryTree tree(ConfiguredLibraryRoot());
  if (!tree.ReadLibraryName(libraryID)) return;
  for (std::string& id : tree.ListElementFolders(libraryID)) ids.push_back(std::move(id));
}

std::string QvLibrariesLocal::GetCapsulePath(const std::string& libraryID, const std::string& elementID) {
  const auto element = CurrentElement(libraryID, elementID);
  return element ? element->capsulePath : std::string();
}

std::string QvLibrariesLocal::GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID) {
  const auto element = CurrentElement(libraryID, elementID);
  return element ? element->schemaPath : std::string();
}

std::string QvLibrariesLocal::GetCapsuleThumbnailPath(const std::string& libraryID,
                                                      const std::string& elementID) {
  const auto element = CurrentElement(libraryID, elementID);
  return element ? element->thumbnailPath : std::string();
}

std::string QvLibrariesLocal::GetCapsuleVideoThumbnailPath(const std::string& libraryID,
                                                           const std::string& elementID) {
  const auto element = CurrentElement(libraryID, elementID);
  return element ? element->videoThumbnailPath : std::string();
}

std::string QvLibrariesLocal::GetElementName(const std::string& libraryID, const std::string& elementID,
                                             bool* exists) {
  const auto element = CurrentElement(libraryID, elementID);
  if (exists != nullptr) *exists = element.has_value();
  return element ? element->name : std::string();
}

std::string QvLibrariesLocal::GetLibraryDiskPath(const std::string& libraryID) {
  const LibraryTree tree(ConfiguredLibraryRoot());
  return tree.ReadLibraryName(libraryID) ? tree.LibraryPath(libraryID) : std::string();
}

void QvLibrariesLocal::ClearLibraryData(const std::string&) {}

}  // namespace zorvqvlib
