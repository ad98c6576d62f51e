#include "tools/temporary_folder.h"

#include <stdlib.h>

#include <system_error>

namespace capsuletool {

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / (prefix + "XXXXXX")).native();
  if (!error && ::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

}  // namespace capsuletool
