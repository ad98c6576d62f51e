// A folder of its own under the system temporary folder for one test, removed with everything in
// it when the test ends. Used by the tests of this folder only.
//
// Thread safety: construct and destroy on one thread; the paths may be read from any.

#ifndef ZORVCAPSULE_HOST_METADATADB_TEST_TEMP_FOLDER_H_
#define ZORVCAPSULE_HOST_METADATADB_TEST_TEMP_FOLDER_H_

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "host/core/unicode.h"

namespace zorvmetadatadb {

class TestTempFolder {
 public:
  TestTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorv_metadatadb_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TestTempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }

  TestTempFolder(const TestTempFolder&) = delete;
  TestTempFolder& operator=(const TestTempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path Path(std::string_view name) const { return path_ / name; }
  std::u16string File(std::string_view name) const {
    return zorvcore::UTF8ToUTF16(Path(name).string());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_TEST_TEMP_FOLDER_H_
