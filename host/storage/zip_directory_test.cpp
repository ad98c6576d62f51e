#include "host/storage/zip_directory.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <functional>
#include <tuple>
#include <string>

#include <gtest/gtest.h>

#include "host/core/file.h"
#include "host/core/file_helper_utils.h"
#include "host/core/test_temp_folder.h"
#include "host/storage/test_zip_builder.h"
#include "host/storage/zip_file.h"
#include "host/storage/zip_reader.h"

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;

std::string AsString(const std::shared_ptr<const RecycledMemory>& block) {
  return block ? std::string(reinterpret_cast<const char*>(block->Buffer()), block->Size()) : "<null>";
}

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

TEST_F(ZipDirectoryTest, ReadsAPlainPackageAsTheArchiveLibraryDoes) {
  const std::string noise = NoiseBytes(70000);
  TestZipBuilder(Package()).Add("definition.json", std::string(5000, '{')).Add("thumb.png", noise, /*stored=*/true)
      .Add("empty.txt", "").AddDirectory("project.tsgraphic").Add("project.tsgraphic/main.json", "{}")
      .AddLink("link", "/etc/passwd").Write();
  OpenPackage file(Package());
  const std::unique_ptr<ZipDirectory> directory = ZipDirectory::Read(file.fd, file.size);
  ASSERT_NE(directory, nullptr);
  const std::unique_ptr<ZipReader> library = ZipReader::Open(Package().native(), "");
  ASSERT_NE(library, nullptr);
  for (uint64_t i = 0; i < library->EntryCount(); ++i) {
    const std::optional<ZipReader::Entry> entry = library->EntryAt(i);
    ASSERT_TRUE(entry);
    SCOPED_TRACE(entry->name);
    const ZipDirectory::Member* member = directory->Find(entry->name);
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(std::tie(member->size, member->isDirectory, member->isLink),
              std::tie(entry->size, entry->isDirectory, entry->isLink));
    EXPECT_EQ(AsString(directory->ReadMember(*member)), AsString(library->Read(*entry)));
  }
  EXPECT_EQ(directory->Find("Definition.json"), nullptr);
  EXPECT_EQ(directory->Find("project.tsgraphic"), nullptr) << "the folder's member is named with its slash";
}

// Packages the reader leaves to the archive library, and one it takes although its local headers
// carry extra fields; a ZipFile reads every one of them whole.
TEST_F(ZipDirectoryTest, DeclinesWhatItCannotVouchForAndZipFileStillReadsIt) {
  static const zip_uint8_t stamp[] = {1, 0, 0, 0, 0};
  const struct {
    const char* what;
    bool taken;
    std::function<void(TestZipBuilder&)> change;
  } cases[] = {
      {"plain", true, [](TestZipBuilder&) {}},
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
    EXPECT_EQ(ZipDirectory::Read(file.fd, file.size) != nullptr, one.taken);
    const ZipFile package(zorvcore::File(zorvcore::FileHelperUtils::StdPathToUTF16(Package())), "");
    EXPECT_EQ(AsString(package.UnzipItem("definition.json")), description);
    EXPECT_EQ(package.ItemSize("definition.json"), description.size());
  }
}

}  // namespace
}  // namespace zorvstorage
