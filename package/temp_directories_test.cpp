#include "package/temp_directories.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/app_config.h"
#include "host/core/test_report_capture.h"
#include "host/core/test_environment_variable.h"
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
  void SetUp() override { internal::ResetTempDirectoryChecksForTesting(); }
  void TearDown() override {
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
  zorvcore::ScopedEnvironmentVariable tmpDir_{"TMPDIR", temp_.path().string()};
};

// ---- Paths ----

TEST_F(TempDirectoriesTest, AStockAssetFolderIsNamedByHostAndCurrentVersionAndStaysInside) {
  EXPECT_EQ(GetTempLocalDirectory(), U16(Local()));
  EXPECT_FALSE(fs::exists(Local())) << "the local root is only computed";
  zorvcore::config::SetApplicationName(u"Editor");
  // The version is read at every call (the stock source's tests read an asset's files back).
  zorvcore::config::SetClientVersion(u"24.1");
  GetTempStockDirectory(u"12345");
  zorvcore::config::SetClientVersion(u"25.0");
  EXPECT_EQ(GetTempStockDirectory(u"12345"), U16(Stock() / "Editor" / "25.0" / "12345"));

  // An asset ID cannot reach outside its version folder.
  const fs::path version = Stock() / "Editor" / "25.0";
  for (const auto& [id, folder] : {std::pair<std::u16string, const char*>{u"../../../escape", ".._.._.._escape"},
       {u"..", "_.."}, {u".", "_."}, {u"", "_"}, {std::u16string(u"a\0b", 3), "a_b"}}) {
    EXPECT_EQ(GetTempStockDirectory(id), U16(version / folder));
  }
  EXPECT_FALSE(fs::exists(temp_.path() / "escape") || fs::exists(Stock() / "escape"));
}

// ---- The size check ----

TEST_F(TempDirectoriesTest, ATreeOfExactlyTheLimitSurvivesOneByteMoreClearsItOncePerProcess) {
  // Hidden files do not count.
  SizedFile(Local() / "a.png", 200 * 1024 * 1024);
  SizedFile(Local() / "nested" / "deeper" / "b.mp4", kTempTreeSizeLimit - 200 * 1024 * 1024);
  SizedFile(Local() / ".hidden.png", 2 * kTempTreeSizeLimit);
  SizedFile(Local() / "nested" / ".DS_Store", kTempTreeSizeLimit);
  InitTempDirectory(true);
  EXPECT_TRUE(fs::exists(Local() / "a.png") && fs::exists(Local() / "nested" / "deeper" / "b.mp4"));

  SizedFile(Local() / "nested" / "one.byte", 1);
  internal::ResetTempDirectoryChecksForTesting();
  InitTempDirectory(true);
  EXPECT_TRUE(fs::is_directory(Local()) && fs::is_empty(Local()));

  // Each tree is checked once per process.
  SizedFile(Local() / "big.png", kTempTreeSizeLimit + 1);
  SizedFile(Stock() / "zorvhost" / "1.0" / "7" / "thumb.mp4", kTempTreeSizeLimit + 1);

  InitTempDirectory(true);
  EXPECT_TRUE(fs::exists(Local() / "big.png")) << "the local tree was checked already";

  InitTempDirectory(false);
  EXPECT_TRUE(fs::is_directory(Stock()) && fs::is_empty(Stock())) << "the stock tree has a check of its own";

  SizedFile(Stock() / "again.mp4", kTempTreeSizeLimit + 1);
  InitTempDirectory(false);
  EXPECT_TRUE(fs::exists(Stock() / "again.mp4"));
}

TEST_F(TempDirectoriesTest, OnlyStaleLeftoversOfInterruptedWritesAreRemoved) {
  const auto twoHoursAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
  const std::vector<fs::path> stale = {Local() / ".thumb.png.0A1B.tmp", Local() / "nested" / ".b.mp4.77.tmp"};
  const std::vector<fs::path> kept = {Local() / ".fresh.png.0A1B.tmp", Local() / "old.tmp",
                                      Local() / ".old-but-not-a-leftover", Local() / "old.png"};
  for (const fs::path& path : stale) SizedFile(path, 10);
  for (const fs::path& path : kept) SizedFile(path, 10);
  for (const fs::path& path : stale) fs::last_write_time(path, twoHoursAgo);
  for (const fs::path& path : {kept[1], kept[2], kept[3]}) fs::last_write_time(path, twoHoursAgo);
  InitTempDirectory(true);
  for (const fs::path& path : stale) EXPECT_FALSE(fs::exists(path)) << path;
  for (const fs::path& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
}

// ---- A root someone else could control ----

class PlantedRootTest : public TempDirectoriesTest {
 protected:
  void SetUp() override {
    TempDirectoriesTest::SetUp();
    reports_.emplace();
  }
  void TearDown() override {
    reports_.reset();
    TempDirectoriesTest::TearDown();
  }
  fs::path Personal() const { return temp_.path() / ("TslBrowser-" + std::to_string(::geteuid())); }

  // The local tree's root after the first check (made once: see the size check's test), which must be
  // the personal one, with one report naming the refused root.
  void ExpectPersonalRootChosen() {
    InitTempDirectory(true);
    EXPECT_EQ(GetTempLocalDirectory(), U16(Personal()));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(Personal())));
    EXPECT_EQ(fs::status(Personal()).permissions() & fs::perms::all, fs::perms::owner_all);
    const std::vector<std::string> reports = reports_->Messages();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(Local().string()), std::string::npos) << reports[0];
  }

  std::optional<zorvcore::ReportCapture> reports_;
};

TEST_F(PlantedRootTest, ALinkInPlaceOfTheRootOrARootOthersCanWriteIsNotUsed) {
  const fs::path elsewhere = temp_.path() / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directory_symlink(elsewhere, Local());
  ExpectPersonalRootChosen();
  EXPECT_TRUE(fs::is_empty(elsewhere));

  fs::remove(Local());
  fs::create_directories(Local());
  fs::permissions(Local(), fs::perms::all);
  internal::ResetTempDirectoryChecksForTesting();
  reports_->Clear();
  ExpectPersonalRootChosen();
}

TEST_F(PlantedRootTest, ARootOwnedByAnotherUserIsNotUsed) {
  if (::geteuid() != 0) GTEST_SKIP() << "planting a folder owned by another user needs root";
  constexpr uid_t kNobody = 65534;
  SizedFile(Local() / "planted.png", 10);
  ASSERT_EQ(::chown(Local().c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chmod(Local().c_str(), 0700), 0);
  ExpectPersonalRootChosen();
  EXPECT_TRUE(fs::exists(Local() / "planted.png")) << "a refused root is left alone";
}

TEST_F(PlantedRootTest, WhenThePersonalRootIsTakenTooAFreshPrivateFolderIsUsed) {
  fs::create_directories(Local());
  fs::permissions(Local(), fs::perms::all);
  fs::create_directory_symlink(temp_.path(), Personal());
  InitTempDirectory(true);
  const fs::path chosen = FileHelperUtils::UTF16ToStdPath(GetTempLocalDirectory());
  EXPECT_EQ(chosen.parent_path(), temp_.path());
  EXPECT_EQ(chosen.filename().string().rfind(Personal().filename().string() + "-", 0), 0u) << chosen;
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(chosen)));
  EXPECT_EQ(reports_->Messages().size(), 2u);
}

}  // namespace
}  // namespace zorvcapsule
