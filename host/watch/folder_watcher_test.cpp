// FolderWatcher on real folders: which changes are reported, when, and how often. The tests wait for
// reports with generous limits and never for a fixed time: a "sentinel" folder watched beside the
// others marks the end of a step, since the watcher reads events in order and every earlier change
// has been reported by the time the sentinel's report arrives (or is part of it).

#include "host/watch/folder_watcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/core/test_report_capture.h"
#include "host/core/main_thread.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"

namespace zorvwatch {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr auto kPatience = std::chrono::seconds(60);

void WriteBytes(const fs::path& file, size_t size) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << std::string(size, 'x');
}

class FolderWatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Path("sentinel"));
    diagnostics_.emplace();
  }
  void TearDown() override {
    watcher_.reset();
    zorvcore::RunMainThreadTasks();
    diagnostics_.reset();
  }

  fs::path Path(const std::string& relative) const { return temp_.path() / relative; }
  std::u16string Folder(const std::string& relative) const { return temp_.U16(zorvcore::UTF8ToUTF16(relative)); }

  // Watches the sentinel folder and `folders`, reporting only ".tplx" files.
  void Watch(std::vector<WatchedFolder> folders, FolderWatcher::Options options = {}) {
    folders.insert(folders.begin(), {Folder("sentinel"), false});
    options.fileSuffixes = {u".tplx"};
    watcher_ = std::make_unique<FolderWatcher>([this](const FolderChange& change) {
      reports_.push_back(change);
      if (onReport_) onReport_(change);
    }, options);
    watcher_->SetFolders(folders);
  }

  size_t ReportsNaming(const std::string& relative) const {
    size_t count = 0;
    for (const FolderChange& change : reports_) count += std::ranges::count(change.folders, Folder(relative));
    return count;
  }

  bool PumpUntil(const std::function<bool()>& done) {
    for (const auto limit = std::chrono::steady_clock::now() + kPatience; !done();) {
      if (std::chrono::steady_clock::now() > limit) return false;
      zorvcore::WaitAndRunMainThreadTasks(milliseconds(50));
    }
    return true;
  }
  bool WaitForReportNaming(const std::string& relative) {
    const size_t before = ReportsNaming(relative);
    return PumpUntil([&] { return ReportsNaming(relative) > before; });
  }
  // Changes the sentinel folder and waits for its report: all earlier changes have been reported.
  void Settle() {
    WriteBytes(Path("sentinel/" + std::to_string(sentinelCount_++) + ".tplx"), 1);
    ASSERT_TRUE(WaitForReportNaming("sentinel"));
  }
  std::vector<std::string> Diagnostics() { return diagnostics_->Messages(); }

  zorvcore::TestTempFolder temp_;
  std::unique_ptr<FolderWatcher> watcher_;
  std::vector<FolderChange> reports_;
  std::function<void(const FolderChange&)> onReport_;

 private:
  int sentinelCount_ = 0;
  std::optional<zorvcore::ReportCapture> diagnostics_;  // until the watcher's thread is gone
};

TEST_F(FolderWatcherTest, EachKindOfChangeInTheTreeIsReported) {
  const struct {
    const char* name;
    std::function<void(const fs::path& templates)> change;
  } cases[] = {
      {"remove", [](const fs::path& t) { fs::remove(t / "a.tplx"); }},
      {"replace in place", [](const fs::path& t) { WriteBytes(t / "b.tplx", 20); }},
      {"modification time set",
       [](const fs::path& t) { fs::last_write_time(t / "b.tplx", fs::last_write_time(t / "b.tplx") - std::chrono::hours(1)); }},
      {"rename into place",
       [](const fs::path& t) { WriteBytes(t / "c.part", 10); fs::rename(t / "c.part", t / "c.tplx"); }},
      {"new subfolder with packages", [](const fs::path& t) { WriteBytes(t / "sub/deeper/d.tplx", 10); }},
      {"package in the new subfolder", [](const fs::path& t) { WriteBytes(t / "sub/deeper/e.tplx", 10); }},
      {"subfolder removed", [](const fs::path& t) { fs::remove_all(t / "sub"); }},
  };
  WriteBytes(Path("templates/a.tplx"), 10);
  WriteBytes(Path("templates/b.tplx"), 10);
  Watch({{Folder("templates"), true}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.change(Path("templates"));
    EXPECT_TRUE(WaitForReportNaming("templates"));
    Settle();
  }
}

TEST_F(FolderWatcherTest, ChangesOutsideWhatIsWatchedAreNotReported) {
  fs::create_directories(Path("extra/sub"));
  fs::create_directories(Path("templates"));
  Watch({{Folder("templates"), true}, {Folder("extra"), false}});

  WriteBytes(Path("extra/sub/inside-a-subfolder.tplx"), 10);  // the extra folder is watched alone
  fs::create_directories(Path("extra/new-subfolder"));
  WriteBytes(Path("templates/notes.txt"), 10);  // not a package
  WriteBytes(Path("templates/half.tplx.part"), 10);
  WriteBytes(Path("beside/other.tplx"), 10);
  Settle();
  EXPECT_EQ(ReportsNaming("templates"), 0u);
  EXPECT_EQ(ReportsNaming("extra"), 0u);  // its own packages are reported: local_folder_watch_test
}

TEST_F(FolderWatcherTest, AFileWrittenSlowlyIsReportedOnceWhenComplete) {
  constexpr size_t kPieces = 12, kPieceSize = 1000;
  fs::create_directories(Path("templates"));
  Watch({{Folder("templates"), true}});
  std::vector<uintmax_t> sizesSeen;
  onReport_ = [&](const FolderChange&) {
    std::error_code error;
    sizesSeen.push_back(fs::file_size(Path("templates/slow.tplx"), error));
  };
  {
    // Written through one open file over more than a second (longer than the watcher waits for a
    // burst to end), while reports keep being delivered.
    std::ofstream file(Path("templates/slow.tplx"), std::ios::binary);
    for (size_t piece = 0; piece < kPieces; ++piece) {
      file << std::string(kPieceSize, 'x') << std::flush;
      zorvcore::WaitAndRunMainThreadTasks(milliseconds(100));
    }
  }
  EXPECT_TRUE(WaitForReportNaming("templates"));
  Settle();
  EXPECT_EQ(ReportsNaming("templates"), 1u);
  for (const uintmax_t size : sizesSeen) EXPECT_EQ(size, kPieces * kPieceSize);
}

TEST_F(FolderWatcherTest, AWatchedFolderDeletedAndCreatedAgainIsFollowed) {
  WriteBytes(Path("templates/a.tplx"), 10);
  Watch({{Folder("templates"), true}, {Folder("later/extra"), false}});

  fs::remove_all(Path("templates"));
  EXPECT_TRUE(WaitForReportNaming("templates"));
  WriteBytes(Path("templates/again.tplx"), 10);
  EXPECT_TRUE(WaitForReportNaming("templates"));
  Settle();
  WriteBytes(Path("templates/Sub/later.tplx"), 10);
  EXPECT_TRUE(WaitForReportNaming("templates"));

  // A folder missing from the start is waited for too, however deep the missing part is.
  WriteBytes(Path("later/extra/first.tplx"), 10);
  EXPECT_TRUE(WaitForReportNaming("later/extra"));
  Settle();
  WriteBytes(Path("later/extra/second.tplx"), 10);
  EXPECT_TRUE(WaitForReportNaming("later/extra"));
}

TEST_F(FolderWatcherTest, LostEventsReportEveryFolderForARescan) {
  fs::create_directories(Path("templates"));
  Watch({{Folder("templates"), true}});
  watcher_->SimulateQueueOverflow();
  ASSERT_TRUE(PumpUntil([&] { return !reports_.empty(); }));
  EXPECT_TRUE(reports_.back().rescan);
  EXPECT_EQ(reports_.back().folders, (std::vector<std::u16string>{Folder("sentinel"), Folder("templates")}));
}

TEST_F(FolderWatcherTest, FoldersBeyondTheWatchLimitAreRescanned) {
  fs::create_directories(Path("templates/sub"));
  // The limit lets the sentinel and the templates folder be watched, not its subfolder.
  Watch({{Folder("templates"), true}},
        {.rescanInterval = milliseconds(50), .fileSuffixes = {}, .watchLimitForTesting = 2});
  ASSERT_EQ(Diagnostics().size(), 1u);
  EXPECT_THAT(Diagnostics()[0], ::testing::AllOf(::testing::HasSubstr("limit of inotify watches"),
                                                 ::testing::HasSubstr(Path("templates/sub").string())));

  WriteBytes(Path("templates/sub/unwatched.tplx"), 10);
  EXPECT_TRUE(WaitForReportNaming("templates"));
}

}  // namespace
}  // namespace zorvwatch
