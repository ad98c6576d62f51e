#include "host/storage/zip_directory.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "host/core/file.h"
#include "host/core/file_helper_utils.h"
#include "host/core/test_temp_folder.h"
#include "host/storage/test_zip_builder.h"
#include "host/storage/zip_file.h"

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;

// The package open for reading, closed at the end of the scope.
struct OpenPackage {
  explicit OpenPackage(const fs::path& path)
      : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), size(fs::file_size(path)) {}
  ~OpenPackage() { ::close(fd); }
  const int fd;
  const uint64_t size;
};

class ZipDirectoryTest : public ::testing::Test {
 protected:
  fs::path Package() const { return temp_.path() / "package.tplx"; }
  zorvcore::TestTempFolder temp_;
};

// Packages the reader leaves to the archive library, and ones it takes (one although its local headers
// carry extra fields); a ZipFile reads every one of them whole.
TEST_F(ZipDirectoryTest, DeclinesWhatItCannotVouchForAndZipFileStillReadsIt) {
  static const zip_uint8_t stamp[] = {1, 0, 0, 0, 0};
  const struct {
    const char* what;
    bool taken;
    std::function<void(TestZipBuilder&)> change;
  } cases[] = {
      {"a stored member", true,
       [](TestZipBuilder& zip) { zip_set_file_compression(zip.Archive(), 0, ZIP_CM_STORE, 0); }},
      {"an archive comment", false, [](TestZipBuilder& zip) { zip_set_archive_comment(zip.Archive(), "note", 4); }},
      {"a name that is not ASCII", false, [](TestZipBuilder& zip) { zip.Add("th\xC3\xBCmb.png", "x"); }},
      {"local extra fields", true, [](TestZipBuilder& zip) {
         zip_file_extra_field_set(zip.Archive(), 0, 0x5455, ZIP_EXTRA_FIELD_NEW, stamp, sizeof stamp, ZIP_FL_LOCAL);
       }},
  };
  const std::string description = std::string(3000, 'd') + NoiseBytes(100);
  for (const auto& one : cases) {
    SCOPED_TRACE(one.what);
    TestZipBuilder zip(Package());
    one.change(zip.Add("definition.json", description));
    zip.Write();

    OpenPackage file(Package());
    // A package it takes is read by itself; a ZipFile would hide a failed read by asking the library.
    const std::unique_ptr<ZipDirectory> directory = ZipDirectory::Read(file.fd, file.size);
    const ZipDirectory::Member* member = directory ? directory->Find("definition.json") : nullptr;
    EXPECT_EQ(member ? BlockText(directory->ReadMember(*member)) : "declined", one.taken ? description : "declined");
    const ZipFile package(zorvcore::File(zorvcore::FileHelperUtils::StdPathToUTF16(Package())), "");
    EXPECT_EQ(BlockText(package.UnzipItem("definition.json")), description);
    EXPECT_EQ(package.ItemSize("definition.json"), description.size());
  }
}

}  // namespace
}  // namespace zorvstorage
