#include "host/qvlib/library_snapshot.h"

#include <algorithm>

#include "host/qvlib/library_layout.h"
#include "host/qvlib/library_root.h"

namespace zorvqvlib {
namespace {

bool Contains(const std::vector<std::string>& sorted, const std::string& id) {
  return std::binary_search(sorted.begin(), sorted.end(), id);
}

// Drops the states of IDs no longer listed.
template <typename State>
void KeepOnly(std::map<std::string, State>& states, const std::vector<std::string>& sorted) {
  std::erase_if(states, [&](const auto& item) { return !Contains(sorted, item.first); });
}

bool BothSettled(const FileStamp& a, const FileStamp& b) {
  const int64_t now = FileStamp::NowNs();
  return a.IsSettledAt(now) && b.IsSettledAt(now);
}

}  // namespace

bool LibrarySnapshot::ReadMark::IsStale(const FileStamp& folderNow, const FileStamp& manifestNow) const {
  if (!read || folderNow != folder || manifestNow != manifest) return true;
  return provisional && BothSettled(folderNow, manifestNow);
}

void LibrarySnapshot::ReadMark::Set(const FileStamp& folderNow, const FileStamp& manifestNow) {
  read = true;
  provisional = !BothSettled(folderNow, manifestNow);
  folder = folderNow;
  manifest = manifestNow;
}

LibrarySnapshot::LibrarySnapshot() {
  for (const std::string& libraryID : LibraryIDs()) {
    for (const std::string& elementID : ElementIDs(libraryID)) Element(libraryID, elementID);
  }
}

// Every stamp is taken before the look it guards, so a change during the look shows at the next call.
void LibrarySnapshot::RefreshRoot() {
  const std::string root = ConfiguredLibraryRoot();
  const FileStamp stamp = FileStamp::Of(root);
  const bool sameRoot = tree_ && tree_->Root() == root;
  if (sameRoot && !rootMark_.IsStale(stamp, FileStamp())) return;
  if (!sameRoot) libraries_.clear();
  rootMark_.Set(stamp, FileStamp());
  tree_ = std::make_unique<LibraryTree>(root);
  folderOrder_ = tree_->ListLibraryFolders();
  KeepOnly(libraries_, folderOrder_);
}

LibrarySnapshot::LibraryState* LibrarySnapshot::RefreshLibrary(const std::string& libraryID) {
  if (!Contains(folderOrder_, libraryID)) return nullptr;
  LibraryState& library = libraries_[libraryID];
  const std::string folder = tree_->LibraryPath(libraryID);
  const FileStamp folderStamp = FileStamp::Of(folder);
  const FileStamp manifestStamp = FileStamp::Of(LibraryTree::Join(folder, kLibraryManifestName));
  if (library.mark.IsStale(folderStamp, manifestStamp)) {
    library.mark.Set(folderStamp, manifestStamp);
    library.name = tree_->ReadLibraryName(libraryID);
  }
  return library.name ? &library : nullptr;
}

// The folder stamp was taken by RefreshLibrary just before.
void LibrarySnapshot::RefreshElementList(const std::string& libraryID, LibraryState& library) {
  if (!library.listMark.IsStale(library.mark.folder, FileStamp())) return;
  library.listMark.Set(library.mark.folder, FileStamp());
  library.elementOrder = tree_->ListElementFolders(libraryID);
  KeepOnly(library.elements, library.elementOrder);
}

const LibrarySnapshot::ElementState* LibrarySnapshot::RefreshElement(const std::string& libraryID,
                                                                     const std::string& elementID,
                                                                     LibraryState& library) {
  if (!IsLayoutName(elementID)) return nullptr;
  ElementState& element = library.elements[elementID];
  const std::string folder = tree_->ElementPath(libraryID, elementID);
  const FileStamp folderStamp = FileStamp::Of(folder);
  const FileStamp manifestStamp = FileStamp::Of(LibraryTree::Join(folder, kElementManifestName));
  if (element.mark.IsStale(folderStamp, manifestStamp)) {
    element.mark.Set(folderStamp, manifestStamp);
    element.files = tree_->ReadElement(libraryID, elementID);
  }
  if (element.files) return &element;
  library.elements.erase(elementID);  // nothing worth keeping for a name that names nothing
  return nullptr;
}

std::vector<std::string> LibrarySnapshot::LibraryIDs() {
  RefreshRoot();
  std::vector<std::string> ids;
  for (const std::string& id : folderOrder_) {
    if (RefreshLibrary(id)) ids.push_back(id);
  }
  return ids;
}

std::optional<std::string> LibrarySnapshot::LibraryName(const std::string& libraryID) {
  RefreshRoot();
  const LibraryState* library = RefreshLibrary(libraryID);
  return library ? library->name : std::nullopt;
}

std::vector<std::string> LibrarySnapshot::ElementIDs(const std::string& libraryID) {
  RefreshRoot();
  LibraryState* library = RefreshLibrary(libraryID);
  if (!library) return {};
  RefreshElementList(libraryID, *library);
  return library->elementOrder;
}

std::optional<ElementFiles> LibrarySnapshot::Element(const std::string& libraryID, const std::string& elementID) {
  RefreshRoot();
  LibraryState* library = RefreshLibrary(libraryID);
  if (!library) return std::nullopt;
  const ElementState* element = RefreshElement(libraryID, elementID, *library);
  return element ? element->files : std::nullopt;
}

}  // namespace zorvqvlib
