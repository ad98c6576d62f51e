// TestTempFolder: a fresh, empty folder under the system temporary folder for one test, removed
// with everything in it when the object goes. Test code only.
//
// Thread safety: create and destroy on one thread; the folder's path may be read from any.

#ifndef ZORVCAPSULE_HOST_CORE_TEST_TEMP_FOLDER_H_
#define ZORVCAPSULE_HOST_CORE_TEST_TEMP_FOLDER_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>

#include "host/core/file_helper_utils.h"

namespace zorvcore {

class TestTempFolder {
 public:
  TestTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorvcore-test-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    path_ = pattern;
  }
  ~TestTempFolder() {
    // Restore permissions a test may have taken away, so everything can be removed.
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      if (!it->is_symlink()) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
      }
    }
    std::filesystem::remove_all(path_, error);
  }
  TestTempFolder(const TestTempFolder&) = delete;
  TestTempFolder& operator=(const TestTempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::u16string U16() const { return FileHelperUtils::StdPathToUTF16(path_); }
  // The UTF-16 path of `relative` inside the folder.
  std::u16string U16(std::u16string_view relative) const { return U16() + u"/" + std::u16string(relative); }

  // Writes `content` to `relative` (UTF-8 path text), making missing folders on the way.
  void WriteFile(const std::string& relative, const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }
  // The bytes of `relative` (an absolute path is taken as it is); empty when it cannot be read.
  std::string ReadFile(const std::filesystem::path& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Every file (not folder) below the folder, as paths relative to it.
  std::set<std::string> Files() const {
    std::set<std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      if (!it->is_directory()) files.insert(std::filesystem::relative(it->path(), path_).native());
    }
    return files;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_TEST_TEMP_FOLDER_H_
