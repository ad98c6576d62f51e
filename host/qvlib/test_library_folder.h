// TestLibraryFolder: a library root in a fresh temporary folder, made the configured root (the
// setting "Libraries.Root") for the object's lifetime, with helpers that write the library layout.
// Beside the root lies an "outside" folder for links that lead out of it. Test code only.
//
// Thread safety: create and destroy on one thread; the helpers may be called from any thread, each
// touching only what it names.

#ifndef ZORVCAPSULE_HOST_QVLIB_TEST_LIBRARY_FOLDER_H_
#define ZORVCAPSULE_HOST_QVLIB_TEST_LIBRARY_FOLDER_H_

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "host/core/debug_database.h"
#include "host/core/test_temp_folder.h"
#include "host/qvlib/library_root.h"

namespace zorvqvlib {

class TestLibraryFolder {
 public:
  TestLibraryFolder() : root_(temp_.path() / "libraries"), outside_(temp_.path() / "outside") {
    std::filesystem::create_directories(root_);
    std::filesystem::create_directories(outside_);
    zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, root_.native());
  }
  ~TestLibraryFolder() { zorvcore::DebugDatabase::ClearEntry(kLibraryRootSetting); }
  TestLibraryFolder(const TestLibraryFolder&) = delete;
  TestLibraryFolder& operator=(const TestLibraryFolder&) = delete;

  std::string Root() const { return root_.native(); }
  std::string Path(const std::string& relative) const { return (root_ / relative).native(); }
  std::string OutsidePath(const std::string& relative) const { return (outside_ / relative).native(); }

  // Writes `content` to `relative` inside the root, making missing folders on the way.
  void Write(const std::string& relative, const std::string& content) const { WriteAt(root_ / relative, content); }
  void WriteOutside(const std::string& relative, const std::string& content) const {
    WriteAt(outside_ / relative, content);
  }
  // As Write, but atomically, as a careful client writes: the old content or the new, never part.
  void Replace(const std::string& relative, const std::string& content) const {
    const std::filesystem::path target = root_ / relative;
    const std::filesystem::path temporary = target.parent_path() / ("." + target.filename().native() + ".part");
    WriteAt(temporary, content);
    std::filesystem::rename(temporary, target);
  }
  void MakeFolder(const std::string& relative) const { std::filesystem::create_directories(root_ / relative); }
  void Remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }
  // A link at `relative` inside the root to `target` (absolute, or relative to the link's folder).
  void Link(const std::string& relative, const std::string& target) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::filesystem::create_symlink(target, root_ / relative);
  }

  // A library folder with a manifest naming it.
  void Library(const std::string& id, const std::string& name) const { Write(id + "/library.json", Manifest(name)); }
  // An element folder with a package and, when `name` is not empty, a manifest naming it.
  void Element(const std::string& library, const std::string& element, const std::string& name = "") const {
    const std::string folder = library + "/" + element + "/";
    Write(folder + "template.tplx", "PK package bytes");
    if (!name.empty()) Write(folder + "element.json", Manifest(name));
  }

  // Moves every modification time in the tree an hour back, so that what is there now has settled
  // (file_stamp.h) and a later change shows in the stamps at once.
  void Settle() const {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      Backdate(it->path());
    }
    Backdate(root_);
  }

 private:
  static std::string Manifest(const std::string& name) { return "{\"name\": \"" + name + "\"}"; }
  static void WriteAt(const std::filesystem::path& file, const std::string& content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
  }
  static void Backdate(const std::filesystem::path& path) {
    struct timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
  }

  zorvcore::TestTempFolder temp_;
  std::filesystem::path root_;
  std::filesystem::path outside_;
};

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_TEST_LIBRARY_FOLDER_H_
