#include "package/temp_directories.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "host/core/app_config.h"
#include "host/core/test_temp_folder.h"
#include "package/temp_directories_internal.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using zorvcore::FileHelperUtils;

// Points the system temporary folder at a fresh test folder and forgets earlier checks; both are
// process-wide, so every test here starts from a first InitTempDirectory of its own.
class TempDirectoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = ::getenv("TMPDIR")) savedTmpDir_ = old;
    ::setenv("TMPDIR", temp_.path().c_str(), 1);
    internal::ResetTempDirectoryChecksForTesting();
  }
  void TearDown() override {
    if (savedTmpDir_) {
      ::setenv("TMPDIR", savedTmpDir_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    internal::ResetTempDirectoryChecksForTesting();
    zorvcore::config::SetApplicationName(u"zorvhost");
    zorvcore::config::SetClientVersion(u"1.0");
  }

  fs::path Local() const { return temp_.path() / "TslBrowser"; }
  fs::path Stock() const { return temp_.path() / "TslStock"; }
  std::u16string U16(const fs::path& path) const { return FileHelperUtils::StdPathToUTF16(path); }

  // A sparse file: its size counts, its blocks cost nothing.
  static void SizedFile(const fs::path& path, uintmax_t size) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).close();
    fs::resize_file(path, size);
  }

  zorvcore::TestTempFolder temp_;
  std::optional<std::string> savedTmpDir_;
};

// ---- Paths ----

TEST_F(TempDirectoriesTest, TheLocalRootIsOnlyComputed) {
  EXPECT_EQ(GetTempLocalDirectory(), U16(Local()));
  EXPECT_FALSE(fs::exists(Local()));
}

TEST_F(TempDirectoriesTest, AStockAssetFolderIsNamedByHostVersionAndAssetAndMadeOnDemand) {
  zorvcore::config::SetApplicationName(u"Editor");
  zorvcore::config::SetClientVersion(u"24.1");
  const fs::path asset = Stock() / "Editor" / "24.1" / "12345";

  EXPECT_EQ(GetTempStockAssetThumbPath(u"12345"), U16(asset / "thumb.png"));
  EXPECT_TRUE(fs::is_directory(asset));
  EXPECT_FALSE(fs::exists(asset / "thumb.png"));
  EXPECT_EQ(GetTempStockDirectory(u"12345"), U16(asset));
  EXPECT_EQ(GetTempStockAssetJSONPath(u"12345"), U16(asset / "definition.json"));
  EXPECT_EQ(GetTempStockAssetVideoThumbPath(u"12345"), U16(asset / "thumb.mp4"));
  EXPECT_TRUE(fs::is_empty(asset));

  zorvcore::config::SetClientVersion(u"25.0");
  EXPECT_EQ(GetTempStockDirectory(u"12345"), U16(Stock() / "Editor" / "25.0" / "12345"));
}

TEST_F(TempDirectoriesTest, AnAssetIDCannotReachOutsideItsVersionFolder) {
  const fs::path version = Stock() / "zorvhost" / "1.0";
  EXPECT_EQ(GetTempStockDirectory(u"../../../escape"), U16(version / ".._.._.._escape"));
  EXPECT_EQ(GetTempStockDirectory(u".."), U16(version / "_.."));
  EXPECT_EQ(GetTempStockDirectory(u"."), U16(version / "_."));
  EXPECT_EQ(GetTempStockDirectory(u""), U16(version / "_"));
  EXPECT_EQ(GetTempStockDirectory(std::u16string(u"a\0b", 3)), U16(version / "a_b"));
  EXPECT_FALSE(fs::exists(temp_.path() / "escape"));
  EXPECT_FALSE(fs::exists(Stock() / "escape"));
}

// ---- The size check ----

TEST_F(TempDirectoriesTest, ATreeOfExactlyTheLimitSurvives) {
  SizedFile(Local() / "a.png", 200 * 1024 * 1024);
  SizedFile(Local() / "nested" / "deeper" / "b.mp4", kTempTreeSizeLimit - 200 * 1024 * 1024);
  SizedFile(Local() / ".hidden.png", 2 * kTempTreeSizeLimit);
  SizedFile(Local() / "nested" / ".DS_Store", kTempTreeSizeLimit);
  InitTempDirectory(true);
  EXPECT_TRUE(fs::exists(Local() / "a.png"));
  EXPECT_TRUE(fs::exists(Local() / "nested" / "deeper" / "b.mp4"));
}

TEST_F(TempDirectoriesTest, OneByteOverTheLimitClearsTheWholeTree) {
  SizedFile(Local() / "a.png", 200 * 1024 * 1024);
  SizedFile(Local() / "nested" / "deeper" / "b.mp4", kTempTreeSizeLimit - 200 * 1024 * 1024);
  SizedFile(Local() / "nested" / "one.byte", 1);
  InitTempDirectory(true);
  EXPECT_TRUE(fs::is_directory(Local()));
  EXPECT_TRUE(fs::is_empty(Local()));
}

TEST_F(TempDirectoriesTest, AMissingRootIsCreated) {
  InitTempDirectory(true);
  InitTempDirectory(false);
  EXPECT_TRUE(fs::is_directory(Local()));
  EXPECT_TRUE(fs::is_directory(Stock()));
}

TEST_F(TempDirectoriesTest, EachTreeIsCheckedOncePerProcess) {
  InitTempDirectory(true);
  SizedFile(Local() / "big.png", kTempTreeSizeLimit + 1);
  SizedFile(Stock() / "zorvhost" / "1.0" / "7" / "thumb.mp4", kTempTreeSizeLimit + 1);

  InitTempDirectory(true);
  EXPECT_TRUE(fs::exists(Local() / "big.png")) << "the local tree was checked already";

  InitTempDirectory(false);
  EXPECT_TRUE(fs::is_directory(Stock()));
  EXPECT_TRUE(fs::is_empty(Stock())) << "the stock tree has a check of its own";

  SizedFile(Stock() / "again.mp4", kTempTreeSizeLimit + 1);
  InitTempDirectory(false);
  EXPECT_TRUE(fs::exists(Stock() / "again.mp4"));
}

}  // namespace
}  // namespace zorvcapsule
