// Preview downloads against a loopback server: the cache hit, the transfer and its completion, the
// failures, and a shutdown with transfers in flight.
#include "stock/stock_preview_download_manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <string>

#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"
#include "stock/stock_capsule_entry.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TestStockService;

// Waits for the transfer of every pending preview, playing the host's main thread, which is where
// completions name their files; a minute means it never ended.
void WaitUntilNothingPending(const StockPreviewDownloadManager& manager) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!manager.WaitForPendingDownloads(10)) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    zorvcore::RunMainThreadTasks();
  }
}

class StockPreviewDownloadManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_.Get("/previews/missing/(\\d+)", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    service_.HoldGet("/previews/slow/(\\d+)");
    service_.Start();
    StockPreviewDownloadManager::Terminate();
    ASSERT_TRUE(StockPreviewDownloadManager::Initialize());
    manager_ = StockPreviewDownloadManager::GetInstance();
    ASSERT_NE(manager_, nullptr);
  }
  void TearDown() override {
    manager_.reset();
    StockPreviewDownloadManager::Terminate();
  }

  std::shared_ptr<StockCapsuleEntry> Entry(const std::string& id, const std::string& kind) {
    auto entry = std::make_shared<StockCapsuleEntry>();
    entry->path = zorvcore::StdToUTF16String(id);
    entry->videoPreviewURL = zorvcore::StdToUTF16String(service_.Url("/previews/" + kind + "/" + id));
    return entry;
  }
  fs::path Cached(const std::string& id) { return service_.AssetFolder(id) / "thumb.mp4"; }
  fs::path Path(const std::u16string& path) { return zorvcore::FileHelperUtils::UTF16ToStdPath(path); }

  TestStockService service_;
  std::shared_ptr<StockPreviewDownloadManager> manager_;
};

// A cached preview, an entry that names its preview already and an entry of another source start no
// transfer; a failed transfer leaves the entry alone and forgets the address, so a later request
// tries again.
TEST_F(StockPreviewDownloadManagerTest, OnlyAnUncachedStockPreviewIsFetchedAndAFailedOneIsTriedAgain) {
  testing::WriteFile(Cached("12"), "cached video");
  const auto cached = Entry("12", "ok");
  manager_->DownloadPreview(cached);
  EXPECT_EQ(Path(cached->videoPreviewPath), Cached("12"));
  const auto named = Entry("13", "ok");
  named->videoPreviewPath = u"/elsewhere/video.mp4";
  manager_->DownloadPreview(named);
  EXPECT_EQ(named->videoPreviewPath, u"/elsewhere/video.mp4");
  auto local = std::make_shared<CapsuleEntry>();
  local->path = u"14";
  manager_->DownloadPreview(local);
  EXPECT_TRUE(local->videoPreviewPath.empty());
  EXPECT_EQ(manager_->PendingCount(), 0u);
  EXPECT_TRUE(service_.Requests().empty());

  const auto failing = Entry("15", "missing");
  manager_->DownloadPreview(failing);
  WaitUntilNothingPending(*manager_);
  EXPECT_TRUE(failing->videoPreviewPath.empty());
  manager_->DownloadPreview(failing);
  WaitUntilNothingPending(*manager_);
  EXPECT_EQ(service_.CountOf("/previews/missing/15"), 2u);
}

// A second request for a pending address starts no transfer and gets the result. The host reads its
// entries on the main thread without a lock, so the completion, which arrives on the download
// thread, must leave the write to the main thread: reading while it completes is no race.
TEST_F(StockPreviewDownloadManagerTest, ASecondRequestForAPendingURLGetsTheResultOnTheMainThread) {
  const auto first = Entry("16", "slow");
  const auto second = Entry("16", "slow");
  manager_->DownloadPreview(first);
  manager_->DownloadPreview(second);
  ASSERT_TRUE(service_.WaitUntilHeld(1));
  EXPECT_EQ(manager_->PendingCount(), 1u);
  service_.Release();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  size_t readsWhilePending = 0;
  while (manager_->PendingCount() > 0) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    const std::u16string shown = second->videoPreviewPath;  // what a host's panel does on every repaint
    readsWhilePending += shown.empty() ? 1 : 0;
    zorvcore::RunMainThreadTasks();
  }
  EXPECT_GT(readsWhilePending, 0u);
  EXPECT_EQ(ReadFile(Cached("16")), "late");
  EXPECT_EQ(Path(second->videoPreviewPath), Cached("16"));
  EXPECT_TRUE(first->videoPreviewPath.empty());
  EXPECT_EQ(service_.CountOf("/previews/slow/16"), 1u);
}

// Initialize keeps the first instance; Terminate with transfers in flight reaches no released manager.
TEST_F(StockPreviewDownloadManagerTest, TerminateWithTransfersInFlightReachesNoReleasedManager) {
  EXPECT_TRUE(StockPreviewDownloadManager::Initialize());
  EXPECT_EQ(StockPreviewDownloadManager::GetInstance(), manager_);
  const auto entry = Entry("17", "slow");
  manager_->DownloadPreview(entry);
  ASSERT_TRUE(service_.WaitUntilHeld(1));
  std::weak_ptr<StockPreviewDownloadManager> released = manager_;
  manager_.reset();
  StockPreviewDownloadManager::Terminate();  // flushes: the held transfer is cancelled and completes
  EXPECT_TRUE(released.expired());
  EXPECT_EQ(StockPreviewDownloadManager::GetInstance(), nullptr);
  StockPreviewDownloadManager::Terminate();  // a second time does nothing
  service_.Release();
  EXPECT_TRUE(entry->videoPreviewPath.empty());
  EXPECT_FALSE(fs::exists(Cached("17")));
}

// (A transfer and its completion are walked by every preview fetched above.)
TEST_F(StockPreviewDownloadManagerTest, DownloadVideoFromURLIgnoresEmptyInputs) {
  auto calls = std::make_shared<std::atomic<int>>(0);
  auto callback = std::make_shared<DownloadVideoCallback>([calls](bool, const std::u16string&) { ++*calls; });
  DownloadVideoFromURL(u"", u"/tmp/x.mp4", callback);
  DownloadVideoFromURL(u"https://127.0.0.1/x", u"", callback);
  EXPECT_EQ(calls->load(), 0);
}

}  // namespace
}  // namespace zorvcapsule
