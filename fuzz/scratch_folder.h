// MakeScratchFolder: a fresh private folder for a fuzz target's files, on /dev/shm when there is a
// writable one (files written there are never flushed to a disk, which keeps every input fast),
// else in the system temporary folder. Aborts when no folder can be made. Fuzz targets only.
//
// Thread safety: any thread.

#ifndef ZORVCAPSULE_FUZZ_SCRATCH_FOLDER_H_
#define ZORVCAPSULE_FUZZ_SCRATCH_FOLDER_H_

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zorvfuzz {

inline std::filesystem::path MakeScratchFolder(const std::string& prefix) {
  std::error_code error;
  std::filesystem::path parent = "/dev/shm";
  if (!std::filesystem::is_directory(parent, error) || ::access(parent.c_str(), W_OK) != 0) {
    parent = std::filesystem::temp_directory_path();
  }
  std::string pattern = (parent / (prefix + "-XXXXXX")).native();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

}  // namespace zorvfuzz

#endif  // ZORVCAPSULE_FUZZ_SCRATCH_FOLDER_H_
