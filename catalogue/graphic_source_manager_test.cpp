// The manager driven as a host drives it: sources added, callbacks installed, requests issued and the
// main-thread queue pumped until the deliveries arrive.
#include "catalogue/graphic_source_manager.h"

#include <atomic>
#include <chrono>
#include <mutex>

#include <gtest/gtest.h>

#include "catalogue/search_index.h"
#include "host/core/gate.h"
#include "host/core/main_thread.h"
#include "host/core/test_temp_folder.h"

namespace zorvcapsule {
namespace {

using Words = std::vector<std::u16string>;

// A source whose answers the test scripts: `hits` entries in all, handed out page by page.
class ScriptedSource : public IGraphicSource {
 public:
  ScriptedSource(std::string id, int hits) : id_(std::move(id)), hits_(hits) {}

  void Search(const Words&, std::vector<CapsuleEntryPtr>& results, int start, int count, int& total,
              const CheckCancelPtr& token) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      pages_.emplace_back(start, count);
    }
    if (blockUntilAborted_ && token) {
      started_.Open();
      while (!token->GetAbort()) started_.PassThrough(1);
    }
    const int first = paged_ ? start : 0;
    const int all = names_.empty() ? hits_ : static_cast<int>(names_.size());
    const int last = paged_ ? std::min(all, start + count) : all;
    for (int i = first; i < last; ++i) {
      results.push_back(MakeEntry(names_.empty() ? Number(i) : names_[i]));
      results.back()->tags = tags_;
    }
    total = paged_ ? hits_ : static_cast<int>(results.size());
  }
  // Answers word searches from the index, as the local and library sources do.
  void SearchDB(const Words& words, std::set<std::u16string>& keys) override { QueryRapidFindDB(words, keys); }
  std::string GetSourceID() override { return id_; }
  void GetFilter(GraphicFilterID& filter) override { filter.sourceID = id_; }
  std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr&) override {
    return u"thumb:" + entry->path;
  }
  void Terminate() override { ++terminations; }

  std::vector<std::pair<int, int>> Pages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return pages_;
  }

  bool paged_ = true;
  bool blockUntilAborted_ = false;
  std::vector<std::u16string> names_;
  std::vector<std::u16string> tags_;
  zorvcore::Gate started_;
  std::atomic<int> terminations{0};

 private:
  static std::u16string Number(int i) {
    std::string s = std::to_string(i);
    return std::u16string(s.begin(), s.end());
  }
  CapsuleEntryPtr MakeEntry(const std::u16string& name) {
    auto entry = std::make_shared<CapsuleEntry>();
    entry->name = name;
    entry->path = u"/" + std::u16string(id_.begin(), id_.end()) + u"/" + name;
    entry->ids = {id_};
    return entry;
  }

  std::string id_;
  int hits_;
  std::mutex mutex_;
  std::vector<std::pair<int, int>> pages_;
};

// Pumps the main-thread queue until `done` holds; every wait is bounded only by the test timeout.
template <typename Predicate>
void PumpUntil(Predicate done) {
  while (!done()) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
}

struct Page {
  int start;
  int total;
  std::vector<std::u16string> names;
};

class PagedManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::RunMainThreadTasks();
    manager_.SetStockRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [this](GraphicSourceManager::EntryVector& entries, int32_t start, int32_t total) {
          Page page{start, total, {}};
          for (const auto& e : entries) page.names.push_back(e->name);
          pages_.push_back(page);
        }));
  }
  GraphicSourceManager manager_;
  std::vector<Page> pages_;
};

// The walk asks for pages of 100 until the total or the largest total it walks (1000).
TEST_F(PagedManagerTest, WalksPagesUntilTheTotalOrItsLimit) {
  struct Case {
    int hits;
    std::vector<std::pair<int, int>> pages;
  } cases[] = {
      {100, {{0, 100}}},
      {250, {{0, 100}, {100, 100}, {200, 50}}},
      {5000, {{0, 100}, {100, 100}, {200, 100}, {300, 100}, {400, 100}, {500, 100}, {600, 100}, {700, 100},
              {800, 100}, {900, 100}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hits);
    GraphicSourceManager manager;
    std::vector<Page> pages;
    manager.SetStockRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [&pages](GraphicSourceManager::EntryVector& entries, int32_t start, int32_t total) {
          pages.push_back({start, total, std::vector<std::u16string>(entries.size())});
        }));
    auto source = std::make_shared<ScriptedSource>("paged", c.hits);
    manager.AddGraphicSource(source);
    manager.RequestGraphics({u"blue"});
    PumpUntil([&] { return pages.size() == c.pages.size(); });
    manager.Shutdown();  // waits for any further page task, of which there must be none
    zorvcore::RunMainThreadTasks();
    EXPECT_EQ(source->Pages(), c.pages);
    ASSERT_EQ(pages.size(), c.pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
      EXPECT_EQ(pages[i].start, c.pages[i].first);
      EXPECT_EQ(pages[i].total, c.hits);
      EXPECT_EQ(pages[i].names.size(), static_cast<size_t>(c.pages[i].second));
    }
  }
}

TEST_F(PagedManagerTest, NewerRequestSuppressesPagesOfTheOlderOne) {
  auto source = std::make_shared<ScriptedSource>("paged", 250);
  manager_.AddGraphicSource(source);
  manager_.RequestGraphics({u"first"});
  // Let the first search deliver onto the main-thread queue without draining it.
  while (source->Pages().empty()) std::this_thread::yield();
  manager_.RequestGraphics({u"second"});
  PumpUntil([&] { return !pages_.empty() && pages_.back().start == 200; });
  // Only the second search's three pages reached the host, none of the first's.
  EXPECT_EQ(pages_.size(), 3u);
}

TEST_F(PagedManagerTest, MapCallbackNumbersEntriesFromThePageStart) {
  std::map<int32_t, std::u16string> numbered;
  int32_t first_start = -1;
  manager_.SetStockRequestCallback(std::make_shared<GraphicSourceManager::EntryMapCallback>(
      [&](GraphicSourceManager::EntryMap& entries, int32_t start, int32_t) {
        if (first_start < 0) first_start = start;
        for (auto& [key, entry] : entries) numbered[key] = entry->name;
      }));
  manager_.AddGraphicSource(std::make_shared<ScriptedSource>("paged", 150));
  manager_.RequestDefaultGraphicSet();
  PumpUntil([&] { return numbered.size() == 150; });
  EXPECT_EQ(first_start, 0);
  EXPECT_EQ(numbered.begin()->first, 0);
  EXPECT_EQ(numbered.rbegin()->first, 149);
  EXPECT_TRUE(pages_.empty());  // setting the map form cleared the vector form
}

TEST_F(PagedManagerTest, PagedModeIgnoresIndexOnlyRequests) {
  bool database_called = false;
  manager_.SetDatabaseTagRequestCallback(std::make_shared<GraphicSourceManager::WordSetCallback>(
      [&](GraphicSourceManager::WordSet) { database_called = true; }));
  std::set<std::u16string> folders{u"stale"};
  manager_.GetLocalDirectories(folders);
  EXPECT_TRUE(folders.empty());
  manager_.AddGraphicSource(std::make_shared<ScriptedSource>("paged", 1));
  manager_.RequestSimilarTags(u"blu");
  manager_.LocalDirectoryChanged(true, {});
  manager_.RequestDefaultGraphicSet();  // queued behind the similar-tag task
  PumpUntil([&] { return pages_.size() == 1; });
  EXPECT_FALSE(database_called);
}

TEST_F(PagedManagerTest, ShutdownAbortsASearchInFlightAndTerminatesSources) {
  auto source = std::make_shared<ScriptedSource>("paged", 250);
  source->blockUntilAborted_ = true;
  manager_.AddGraphicSource(source);
  manager_.RequestDefaultGraphicSet();
  ASSERT_TRUE(source->started_.PassThrough(zorvcore::Gate::kWaitForever));
  manager_.Shutdown();
  manager_.Shutdown();
  zorvcore::RunMainThreadTasks();
  EXPECT_TRUE(pages_.empty());
  EXPECT_EQ(source->terminations.load(), 1);
  EXPECT_EQ(manager_.FindGraphicSource("paged"), nullptr);
}

TEST(ManagerSourcesTest, ThumbnailsFiltersAndLookups) {
  GraphicSourceManager manager;
  auto a = std::make_shared<ScriptedSource>("a", 0);
  auto b = std::make_shared<ScriptedSource>("b", 0);
  manager.AddGraphicSource(a);
  manager.AddGraphicSource(b);
  auto entry = std::make_shared<CapsuleEntry>();
  entry->path = u"/x";
  entry->ids = {"b", "lib"};
  EXPECT_EQ(manager.GetThumbnailPath(entry, nullptr), u"thumb:/x");
  entry->ids = {"nobody"};
  EXPECT_EQ(manager.GetThumbnailPath(entry, nullptr), u"");
  std::vector<IGraphicSource::GraphicFilterID> filters;
  manager.GetFilterList(filters);
  manager.GetFilterList(filters);
  ASSERT_EQ(filters.size(), 4u);
  EXPECT_EQ(filters[0].sourceID, "a");
  EXPECT_EQ(filters[3].sourceID, "b");
  EXPECT_EQ(manager.FindGraphicSource("b"), b);
}

// Index mode: the module-wide index lives in a temporary folder for each test.
class IndexManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { zorvcore::RunMainThreadTasks(); }
  std::u16string IndexPath(const char16_t* name = u"index.db") const { return folder_.U16(name); }
  zorvcore::TestTempFolder folder_;
};

// Collects what the index-mode callbacks receive.
struct IndexDeliveries {
  std::vector<std::map<int32_t, std::u16string>> maps;
  std::vector<int32_t> firsts;
  std::vector<GraphicSourceManager::WordSet> keys;
  std::vector<GraphicSourceManager::WordSet> tags;

  void Install(GraphicSourceManager& manager) {
    manager.SetLocalRequestCallback(std::make_shared<GraphicSourceManager::EntryMapCallback>(
        [this](GraphicSourceManager::EntryMap& entries, int32_t first, int32_t) {
          std::map<int32_t, std::u16string> names;
          for (auto& [key, entry] : entries) names[key] = entry->name;
          maps.push_back(names);
          firsts.push_back(first);
        }));
    manager.SetDatabaseRequestCallback(std::make_shared<GraphicSourceManager::WordSetCallback>(
        [this](GraphicSourceManager::WordSet set) { keys.push_back(std::move(set)); }));
    manager.SetDatabaseTagRequestCallback(std::make_shared<GraphicSourceManager::WordSetCallback>(
        [this](GraphicSourceManager::WordSet set) { tags.push_back(std::move(set)); }));
  }
};

std::shared_ptr<ScriptedSource> NamedSource(std::vector<std::u16string> names,
                                            std::vector<std::u16string> tags = {}) {
  auto source = std::make_shared<ScriptedSource>("listing", 0);
  source->paged_ = false;
  source->names_ = std::move(names);
  source->tags_ = std::move(tags);
  return source;
}

TEST_F(IndexManagerTest, DefaultSetIsSortedNumberedAndSearchable) {
  GraphicSourceManager manager(IndexPath());
  IndexDeliveries got;
  got.Install(manager);
  manager.AddGraphicSource(NamedSource({u"b", u"B", u"a", u"ab"}, {u"Blue"}));
  manager.RequestDefaultGraphicSet();
  PumpUntil([&] { return got.maps.size() == 1; });
  EXPECT_EQ(got.firsts[0], 4);
  EXPECT_EQ(got.maps[0], (std::map<int32_t, std::u16string>{{0, u"B"}, {1, u"a"}, {2, u"ab"}, {3, u"b"}}));

  manager.RequestGraphics({u"ab"});
  manager.RequestGraphics({u"blue", u"a"});
  manager.RequestGraphics({});
  manager.RequestSimilarTags(u"bl");
  PumpUntil([&] { return got.keys.size() == 3 && got.tags.size() == 1; });
  EXPECT_EQ(got.keys[0], (GraphicSourceManager::WordSet{u"/listing/ab"}));
  EXPECT_EQ(got.keys[1], (GraphicSourceManager::WordSet{u"/listing/a", u"/listing/ab"}));
  EXPECT_TRUE(got.keys[2].empty());
  EXPECT_EQ(got.tags[0], (GraphicSourceManager::WordSet{u"blue"}));
}

TEST_F(IndexManagerTest, VectorFormAndSortingOff) {
  GraphicSourceManager manager(IndexPath());
  std::vector<std::u16string> order;
  int32_t first = -1;
  manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [&](GraphicSourceManager::EntryVector& entries, int32_t start, int32_t) {
        first = start;
        for (const auto& e : entries) order.push_back(e->name);
      }));
  manager.SetCapsuleSortFxn(nullptr);
  manager.AddGraphicSource(NamedSource({u"z", u"a"}));
  manager.AddGraphicSource(NamedSource({u"m"}));
  manager.RequestDefaultGraphicSet();
  PumpUntil([&] { return !order.empty(); });
  EXPECT_EQ(first, 0);
  EXPECT_EQ(order, (std::vector<std::u16string>{u"z", u"a", u"m"}));
}

TEST_F(IndexManagerTest, CancelledSimilarTagsNeverArrive) {
  GraphicSourceManager manager(IndexPath());
  IndexDeliveries got;
  got.Install(manager);
  manager.AddGraphicSource(NamedSource({u"a"}));
  manager.RequestSimilarTags(u"a");
  manager.CancelSimilarTagRequests();
  manager.RequestDefaultGraphicSet();  // runs after the similar-tag task on the serial queue
  PumpUntil([&] { return got.maps.size() == 1; });
  zorvcore::RunMainThreadTasks();
  EXPECT_TRUE(got.tags.empty());
}

TEST_F(IndexManagerTest, TwoManagersShareTheOneIndex) {
  auto first = std::make_unique<GraphicSourceManager>(IndexPath(u"first.db"));
  auto second = std::make_unique<GraphicSourceManager>(IndexPath(u"second.db"));
  IndexDeliveries got;
  got.Install(*second);
  second->AddGraphicSource(NamedSource({u"shared"}));
  second->RequestDefaultGraphicSet();
  second->RequestGraphics({u"shared"});
  PumpUntil([&] { return got.keys.size() == 1; });
  EXPECT_EQ(got.keys[0].size(), 1u);
  first->Shutdown();  // closes the one index, which the second manager was using
  std::set<std::u16string> keys;
  QueryRapidFindDB({u"shared"}, keys);
  EXPECT_TRUE(keys.empty());
  second.reset();
}

}  // namespace
}  // namespace zorvcapsule
