#include "host/core/recursive_file_iterator.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"

namespace zorvcore {
namespace {

struct Entry {
  std::string path;  // native (UTF-8)
  std::string name;  // the last component, for sorting
  bool isFolder;
};

std::string Joined(const std::string& folder, const char* name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  return path += name;
}

// The kind of the named entry as the walk sees it: a real folder, a file (or a link to one), or
// something to leave out (links to folders, dangling links, devices, pipes, sockets).
enum class Kind { kFolder, kFile, kOther };

Kind KindOf(const std::string& path, unsigned char type) {
  struct stat info;
  if (type == DT_UNKNOWN) {
    if (::lstat(path.c_str(), &info) != 0) return Kind::kOther;
    type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_FIFO;
  }
  if (type == DT_DIR) return Kind::kFolder;
  if (type == DT_REG) return Kind::kFile;
  if (type == DT_LNK && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return Kind::kFile;
  return Kind::kOther;
}

// One folder's files and real subfolders (links to folders left out), by byte order of names.
// An unreadable folder gives what could be read before the error, usually nothing. Read with the
// system's own listing rather than std::filesystem, whose entries cost a path split each.
std::vector<Entry> ReadFolder(const std::string& folder) {
  std::vector<Entry> entries;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return entries;
  while (const dirent* found = ::readdir(listing)) {
    const std::string_view name = found->d_name;
    if (name == "." || name == "..") continue;
    if (!FileHelperUtils::HasUTF16Form(name)) continue;
    std::string path = Joined(folder, found->d_name);
    const Kind kind = KindOf(path, found->d_type);
    if (kind != Kind::kOther) entries.push_back({std::move(path), std::string(name), kind == Kind::kFolder});
  }
  ::closedir(listing);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace

// The walk's state: one frame per folder entered, each a snapshot of its entries and a cursor.
class RecursiveFileIterator::Walk {
 public:
  explicit Walk(const std::string& root) {
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
      current_.emplace(UTF8ToUTF16(entry.path));
      return;
    }
  }

 private:
  struct Frame {
    std::vector<Entry> entries;
    size_t next = 0;
  };

  void Enter(const std::string& folder) {
    std::string copy = folder;  // `folder` may live in the frame that push_back moves
    frames_.push_back(Frame{ReadFolder(copy), 0});
  }

  std::vector<Frame> frames_;
  std::optional<File> current_;
};

RecursiveFileIterator::RecursiveFileIterator() = default;

RecursiveFileIterator::RecursiveFileIterator(const Dir& root) {
  if (root.FullPath().empty()) return;
  walk_ = std::make_shared<Walk>(UTF16ToUTF8(root.FullPath()));
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
