// LocalFolderWatch beside a real manager and local source: packages changing on disk lead to new
// default sets on the main thread. Each step waits, with a generous limit, for the delivery that
// shows it; none waits for a fixed time.

#include "catalogue/local_folder_watch.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/main_thread.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"
#include "package/temp_directories_internal.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using Entries = GraphicSourceManager::EntryVector;
using zorvwatch::WatchedFolder;

constexpr auto kPatience = std::chrono::seconds(120);

class LocalFolderWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::RunMainThreadTasks();
    if (const char* tmp = ::getenv("TMPDIR")) savedTmpDir_ = tmp;
    fs::create_directories(temp_.path() / "tmp");
    fs::create_directories(temp_.path() / "templates");
    ::setenv("TMPDIR", (temp_.path() / "tmp").c_str(), 1);
    internal::ResetTempDirectoryChecksForTesting();
  }

  void TearDown() override {
    watch_.reset();
    if (manager_) manager_->Shutdown();
    manager_.reset();
    zorvcore::RunMainThreadTasks();
    if (savedTmpDir_) {
      ::setenv("TMPDIR", savedTmpDir_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    internal::ResetTempDirectoryChecksForTesting();
  }

  std::u16string Path(const std::string& relative) const { return temp_.U16(zorvcore::UTF8ToUTF16(relative)); }

  // A package without a description, listed under its file title.
  void Write(const std::string& relative) const {
    fs::create_directories((temp_.path() / relative).parent_path());
    zorvstorage::TestZipBuilder zip(temp_.path() / relative);
    zip.Add("project.tsgraphic/main.json", "{}");
    zip.Write();
  }

  // The manager and its local source with `folders`, the watch beside them, and the first default set.
  void Start(const LocalGraphicsSource::FolderList& folders) {
    manager_ = std::make_unique<GraphicSourceManager>(Path("index.db"));
    source_ = std::make_shared<LocalGraphicsSource>(Path("templates"), folders);
    manager_->AddGraphicSource(source_);
    manager_->SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [this](Entries& entries, int32_t, int32_t) { sets_.push_back(Names(entries)); }));
    watch_ = std::make_unique<LocalFolderWatch>(*manager_, source_);
    manager_->RequestDefaultGraphicSet();
    ASSERT_TRUE(WaitForSet([](const std::vector<std::string>&) { return true; }));
  }

  static std::vector<std::string> Names(const Entries& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(zorvcore::UTF16ToUTF8(entry->name));
    return names;
  }

  static bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  }

  // Pumps the main-thread queue until a default set that arrives from now on satisfies `wanted`;
  // returns its place in sets_.
  std::optional<size_t> WaitForSet(const std::function<bool(const std::vector<std::string>&)>& wanted) {
    const auto limit = std::chrono::steady_clock::now() + kPatience;
    for (size_t seen = sets_.size(); std::chrono::steady_clock::now() < limit;) {
      zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(50));
      for (; seen < sets_.size(); ++seen) {
        if (wanted(sets_[seen])) return seen;
      }
    }
    return std::nullopt;
  }

  zorvcore::TestTempFolder temp_;
  std::unique_ptr<GraphicSourceManager> manager_;
  std::shared_ptr<LocalGraphicsSource> source_;
  std::unique_ptr<LocalFolderWatch> watch_;
  std::vector<std::vector<std::string>> sets_;

 private:
  std::optional<std::string> savedTmpDir_;
};

TEST_F(LocalFolderWatchTest, TheCatalogueFollowsPackagesInTheTreeAndTheAddedFolders) {
  Write("templates/kept.tplx");
  fs::create_directories(temp_.path() / "extra/sub");
  Start({{u"Extra", Path("extra")}, {u"Later", Path("later")}});
  EXPECT_EQ(watch_->WatchedFolders(), (std::vector<WatchedFolder>{{Path("templates"), true},
                                                                   {Path("extra"), false},
                                                                   {Path("later"), false}}));

  Write("templates/New/Deeper/added.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, "added"); }));
  Write("extra/beside.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, "beside"); }));
  Write("later/appeared.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, "appeared"); }));
  fs::remove(temp_.path() / "templates/New/Deeper/added.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return !Has(names, "added") && Has(names, "kept"); }));
}

TEST_F(LocalFolderWatchTest, FoldersTheHostReplacesAreWatchedAfterARefresh) {
  fs::create_directories(temp_.path() / "other");
  Start({{u"Extra", Path("extra")}});
  manager_->LocalDirectoryChanged(true, {{u"Other", Path("other")}});
  watch_->Refresh();
  EXPECT_EQ(watch_->WatchedFolders(),
            (std::vector<WatchedFolder>{{Path("templates"), true}, {Path("other"), false}}));
  Write("other/moved-in.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, "moved-in"); }));
}

TEST_F(LocalFolderWatchTest, ABurstOfPackagesGivesFewRebuilds) {
  constexpr int kBurst = 200;
  fs::create_directories(temp_.path() / "extra");
  Start({{u"Extra", Path("extra")}});
  // Made beforehand and moved in one after another, so the burst is as short as a real copy's.
  for (int i = 0; i < kBurst; ++i) Write("staging/" + std::to_string(i) + ".tplx");
  fs::create_directories(temp_.path() / "templates/Burst");
  const size_t before = sets_.size();
  for (int i = 0; i < kBurst; ++i) {
    const std::string name = std::to_string(i) + ".tplx";
    fs::rename(temp_.path() / "staging" / name, temp_.path() / "templates/Burst" / name);
  }
  // Written after the burst: the first set that holds it comes from the last rebuild the burst asked for.
  Write("extra/after-the-burst.tplx");
  const auto last = WaitForSet([](const auto& names) { return Has(names, "after-the-burst"); });
  ASSERT_TRUE(last);
  EXPECT_LE(*last - before, 10u);
  EXPECT_EQ(sets_[*last].size(), static_cast<size_t>(kBurst + 1));
}

}  // namespace
}  // namespace zorvcapsule
