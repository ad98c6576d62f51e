// LocalFolderWatch beside a real manager and local source (catalogue_test_fixture.h): packages
// changing on disk lead to new default sets on the main thread. Each step waits, with a generous
// limit, for the delivery that shows it; none waits for a fixed time.
#include "catalogue/local_folder_watch.h"

#include <algorithm>
#include <functional>

#include "catalogue/catalogue_test_fixture.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using zorvwatch::WatchedFolder;

constexpr auto kPatience = std::chrono::seconds(120);

class LocalFolderWatchTest : public testing::CatalogueTest {
 protected:
  void TearDown() override {
    watch_.reset();
    if (manager_) manager_->Shutdown();
    CatalogueTest::TearDown();
  }

  // A package without a description, listed under its file title.
  void Write(const std::string& relative) const { WritePackage(relative, "", false, false); }

  // The manager and its local source with `folders`, the watch beside them, and the first default set.
  void Start(const LocalGraphicsSource::FolderList& folders) {
    fs::create_directories(folder_.path() / "templates");
    auto source = std::make_shared<LocalGraphicsSource>(Path("templates"), folders);
    StartManager(source);
    watch_ = std::make_unique<LocalFolderWatch>(*manager_, source);
    manager_->RequestDefaultGraphicSet();
    ASSERT_TRUE(WaitForSet([](const Entries&) { return true; }));
  }

  static bool Has(const Entries& entries, const std::u16string& name) {
    return std::any_of(entries.begin(), entries.end(), [&](const auto& entry) { return entry->name == name; });
  }

  // Pumps the main-thread queue until a default set that arrives from now on satisfies `wanted`;
  // returns its place in sets_.
  std::optional<size_t> WaitForSet(const std::function<bool(const Entries&)>& wanted) {
    const auto limit = std::chrono::steady_clock::now() + kPatience;
    for (size_t seen = sets_.size(); std::chrono::steady_clock::now() < limit;) {
      zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(50));
      for (; seen < sets_.size(); ++seen) {
        if (wanted(sets_[seen].entries)) return seen;
      }
    }
    return std::nullopt;
  }

  std::unique_ptr<LocalFolderWatch> watch_;
};

TEST_F(LocalFolderWatchTest, TheCatalogueFollowsTheTreeAndTheAddedAndReplacedFoldersWithFewRebuildsForABurst) {
  Write("templates/kept.tplx");
  fs::create_directories(folder_.path() / "extra/sub");
  Start({{u"Extra", Path("extra")}, {u"Later", Path("later")}});
  EXPECT_EQ(watch_->WatchedFolders(), (std::vector<WatchedFolder>{{Path("templates"), true},
                                                                   {Path("extra"), false},
                                                                   {Path("later"), false}}));

  Write("templates/New/Deeper/added.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, u"added"); }));
  Write("extra/beside.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, u"beside"); }));
  Write("later/appeared.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, u"appeared"); }));

  // Folders the host replaces are watched after a refresh.
  fs::create_directories(folder_.path() / "other");
  manager_->LocalDirectoryChanged(true, {{u"Other", Path("other")}});
  watch_->Refresh();
  EXPECT_EQ(watch_->WatchedFolders(),
            (std::vector<WatchedFolder>{{Path("templates"), true}, {Path("other"), false}}));
  Write("other/moved-in.tplx");
  EXPECT_TRUE(WaitForSet([](const auto& names) { return Has(names, u"moved-in"); }));

  // A burst of packages gives few rebuilds.
  constexpr int kBurst = 200;
  // Made beforehand and moved in one after another, so the burst is as short as a real copy's.
  for (int i = 0; i < kBurst; ++i) Write("staging/" + std::to_string(i) + ".tplx");
  fs::create_directories(folder_.path() / "templates/Burst");
  const size_t before = sets_.size();
  for (int i = 0; i < kBurst; ++i) {
    const std::string name = std::to_string(i) + ".tplx";
    fs::rename(folder_.path() / "staging" / name, folder_.path() / "templates/Burst" / name);
  }
  // Written after the burst: the first set that holds it comes from the last rebuild the burst asked for.
  Write("other/after-the-burst.tplx");
  const auto last = WaitForSet([](const auto& names) { return Has(names, u"after-the-burst"); });
  ASSERT_TRUE(last);
  EXPECT_LE(*last - before, 10u);
  EXPECT_EQ(sets_[*last].entries.size(), static_cast<size_t>(kBurst + 4));  // with kept, added, moved-in
}

}  // namespace
}  // namespace zorvcapsule
