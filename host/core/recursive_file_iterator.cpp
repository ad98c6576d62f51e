#include "host/core/recursive_file_iterator.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/core/file_helper_utils.h"

namespace zorvcore {
namespace {

namespace fs = std::filesystem;

struct Entry {
  fs::path path;
  std::string name;  // the last component, for sorting
  bool isFolder;
};

// One folder's files and real subfolders (links to folders left out), by byte order of names.
// An unreadable folder gives what could be read before the error, usually nothing.
std::vector<Entry> ReadFolder(const fs::path& folder) {
  std::vector<Entry> entries;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    fs::path name = it->path().filename();
    if (!FileHelperUtils::HasUTF16Form(name)) continue;
    std::error_code statusError;
    const bool isLink = it->is_symlink(statusError);
    if (!isLink && it->is_directory(statusError)) {
      entries.push_back({it->path(), name.native(), true});
    } else if (it->is_regular_file(statusError)) {
      entries.push_back({it->path(), name.native(), false});
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace

// The walk's state: one frame per folder entered, each a snapshot of its entries and a cursor.
class RecursiveFileIterator::Walk {
 public:
  explicit Walk(const fs::path& root, int storageType) : storageType_(storageType) {
    Enter(root);
    Advance();
  }

  bool Done() const { return !current_.has_value(); }
  const File& Current() const { return *current_; }

  // Moves to the next file in walk order, or to the end.
  void Advance() {
    current_.reset();
    while (!frames_.empty()) {
      Frame& frame = frames_.back();
      if (frame.next == frame.entries.size()) {
        frames_.pop_back();
        continue;
      }
      const Entry& entry = frame.entries[frame.next++];
      if (entry.isFolder) {
        Enter(entry.path);  // invalidates `frame` and `entry`
        continue;
      }
      current_.emplace(FileHelperUtils::StdPathToUTF16(entry.path), storageType_);
      return;
    }
  }

 private:
  struct Frame {
    std::vector<Entry> entries;
    size_t next = 0;
  };

  void Enter(const fs::path& folder) {
    fs::path copy = folder;  // `folder` may live in the frame that push_back moves
    frames_.push_back(Frame{ReadFolder(copy), 0});
  }

  int storageType_;
  std::vector<Frame> frames_;
  std::optional<File> current_;
};

RecursiveFileIterator::RecursiveFileIterator() = default;

RecursiveFileIterator::RecursiveFileIterator(const Dir& root) {
  if (root.FullPath().empty()) return;
  walk_ = std::make_shared<Walk>(FileHelperUtils::UTF16ToStdPath(root.FullPath()),
                                 root.StorageType());
}

RecursiveFileIterator::~RecursiveFileIterator() = default;
RecursiveFileIterator::RecursiveFileIterator(const RecursiveFileIterator&) = default;
RecursiveFileIterator& RecursiveFileIterator::operator=(const RecursiveFileIterator&) = default;

const File& RecursiveFileIterator::operator*() const { return walk_->Current(); }

RecursiveFileIterator& RecursiveFileIterator::operator++() {
  walk_->Advance();
  return *this;
}

// Copies share the walk, so one that another copy has run to the end is at the end too.
bool RecursiveFileIterator::AtEnd() const { return walk_ == nullptr || walk_->Done(); }

}  // namespace zorvcore
