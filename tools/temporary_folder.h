// TemporaryFolder: a new folder of the process's own in the system temporary folder ($TMPDIR, else
// /tmp), removed with everything in it when the object goes.
//
// Thread safety: use from one thread.

#ifndef ZORVCAPSULE_TOOLS_TEMPORARY_FOLDER_H_
#define ZORVCAPSULE_TOOLS_TEMPORARY_FOLDER_H_

#include <filesystem>
#include <string>

namespace capsuletool {

class TemporaryFolder {
 public:
  // Makes "<temp>/<prefix>XXXXXX"; Path() is empty when that failed.
  explicit TemporaryFolder(const std::string& prefix);
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder();

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEMPORARY_FOLDER_H_
