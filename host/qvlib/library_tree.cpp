#include "host/qvlib/library_tree.h"

#include <algorithm>
#include <system_error>

#include "host/qvlib/library_layout.h"
#include "host/qvlib/manifest.h"

namespace zorvqvlib {
namespace {

namespace fs = std::filesystem;

fs::path Resolve(const std::string& root) {
  if (root.empty()) return {};
  std::error_code error;
  fs::path resolved = fs::canonical(root, error);
  if (error || !fs::is_directory(resolved, error)) return {};
  return resolved;
}

// True when `path` is `folder` or lies below it; both resolved.
bool IsWithin(const fs::path& path, const fs::path& folder) {
  const std::string& p = path.native();
  const std::string& f = folder.native();
  if (p.compare(0, f.size(), f) != 0) return false;
  return p.size() == f.size() || f == "/" || p[f.size()] == '/';
}

}  // namespace

LibraryTree::LibraryTree(std::string root) : root_(std::move(root)), resolvedRoot_(Resolve(root_)) {}

std::string LibraryTree::Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

std::optional<fs::path> LibraryTree::ResolveInside(const fs::path& path) const {
  if (resolvedRoot_.empty()) return std::nullopt;
  std::error_code error;
  fs::path resolved = fs::canonical(path, error);
  if (error || !IsWithin(resolved, resolvedRoot_)) return std::nullopt;
  return resolved;
}

std::optional<fs::path> LibraryTree::FolderInside(const fs::path& path) const {
  std::optional<fs::path> resolved = ResolveInside(path);
  std::error_code error;
  if (!resolved || !fs::is_directory(*resolved, error)) return std::nullopt;
  return resolved;
}

bool LibraryTree::IsRegularFileInside(const fs::path& path) const {
  const std::optional<fs::path> resolved = ResolveInside(path);
  std::error_code error;
  return resolved && fs::is_regular_file(*resolved, error);
}

std::string LibraryTree::PathIfRegularFile(const std::string& folder, std::string_view name) const {
  std::string path = Join(folder, name);
  return IsRegularFileInside(path) ? path : std::string();
}

std::string LibraryTree::DescriptionPath(const std::string& folder) const {
  std::string path = Join(folder, kDescriptionName);
  std::error_code error;
  // A missing description is still named: it may appear later. A link is named only while it
  // leads inside the root, so a reader of the path never leaves it.
  if (fs::is_symlink(fs::symlink_status(path, error)) && !ResolveInside(path)) return {};
  return path;
}

std::optional<std::string> LibraryTree::ManifestNameAt(const std::string& path) const {
  const std::optional<fs::path> resolved = ResolveInside(path);
  if (!resolved) return std::nullopt;
  return ReadManifestName(resolved->native());
}

std::vector<std::string> LibraryTree::ListFolders(const std::string& folder) const {
  std::vector<std::string> names;
  const std::optional<fs::path> resolved = FolderInside(folder);
  if (!resolved) return names;
  std::error_code error;
  for (fs::directory_iterator it(*resolved, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().native();
    if (IsLayoutName(name) && FolderInside(Join(folder, name))) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> LibraryTree::ListLibraryFolders() const { return ListFolders(root_); }

bool LibraryTree::IsLibraryFolder(const std::string& libraryID) const {
  return IsLayoutName(libraryID) && FolderInside(LibraryPath(libraryID)).has_value();
}

std::optional<std::string> LibraryTree::ReadLibraryName(const std::string& libraryID) const {
  if (!IsLibraryFolder(libraryID)) return std::nullopt;
  std::optional<std::string> name = ManifestNameAt(Join(LibraryPath(libraryID), kLibraryManifestName));
  if (name && name->empty()) return libraryID;
  return name;
}

std::vector<std::string> LibraryTree::ListElementFolders(const std::string& libraryID) const {
  if (!IsLayoutName(libraryID)) return {};
  return ListFolders(LibraryPath(libraryID));
}

std::optional<ElementFiles> LibraryTree::ReadElement(const std::string& libraryID,
                                                     const std::string& elementID) const {
  if (!IsLayoutName(libraryID) || !IsLayoutName(elementID)) return std::nullopt;
  const std::string folder = ElementPath(libraryID, elementID);
  if (!FolderInside(folder)) return std::nullopt;
  ElementFiles files;
  files.name = ManifestNameAt(Join(folder, kElementManifestName)).value_or(std::string());
  if (files.name.empty()) files.name = elementID;
  files.capsulePath = PathIfRegularFile(folder, kTemplatePackageName);
  files.schemaPath = DescriptionPath(folder);
  files.thumbnailPath = PathIfRegularFile(folder, kStillThumbnailName);
  files.videoThumbnailPath = PathIfRegularFile(folder, kVideoThumbnailName);
  return files;
}

}  // namespace zorvqvlib
