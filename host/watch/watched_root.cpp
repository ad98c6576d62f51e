#include "host/watch/watched_root.h"

#include <system_error>

#include "host/core/file_helper_utils.h"

namespace zorvwatch {

namespace fs = std::filesystem;

fs::path NormalFolderPath(const fs::path& path) {
  std::error_code error;
  fs::path full = fs::absolute(path, error);
  if (error) full = path;
  full = full.lexically_normal();
  if (!full.has_filename() && full.has_relative_path()) full = full.parent_path();
  return full;
}

std::vector<WatchedRoot> MakeWatchedRoots(const std::vector<WatchedFolder>& folders) {
  std::vector<WatchedRoot> roots;
  for (const WatchedFolder& folder : folders) {
    if (folder.path.empty()) continue;
    roots.push_back({NormalFolderPath(zorvcore::FileHelperUtils::UTF16ToStdPath(folder.path)), folder.path,
                     folder.withSubfolders});
  }
  return roots;
}

bool IsAtOrBelow(const fs::path& path, const fs::path& ancestor) {
  const std::string& text = path.native();
  const std::string& top = ancestor.native();
  if (text.size() < top.size() || text.compare(0, top.size(), top) != 0) return false;
  return text.size() == top.size() || top.back() == '/' || text[top.size()] == '/';
}

bool CoversFilesOf(const WatchedRoot& root, const fs::path& dir) {
  return root.withSubfolders ? IsAtOrBelow(dir, root.path) : dir == root.path;
}

}  // namespace zorvwatch
