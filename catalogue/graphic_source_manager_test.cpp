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

using Manager = GraphicSourceManager;
using Words = std::vector<std::u16string>;
using Names = std::map<int32_t, std::u16string>;

template <typename Callback, typename Function>
std::shared_ptr<Callback> Make(Function function) {
  return std::make_shared<Callback>(std::move(function));
}

// A source whose answers the test scripts: `hits` entries in all, handed out page by page, or
// (not paged) the entries `names_` all at once.
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
    const int all = names_.empty() ? hits_ : static_cast<int>(names_.size());
    for (int i = paged_ ? start : 0; i < (paged_ ? std::min(all, start + count) : all); ++i) {
      const std::string number = std::to_string(i);
      auto entry = std::make_shared<CapsuleEntry>();
      entry->name = names_.empty() ? std::u16string(number.begin(), number.end()) : names_[i];
      entry->path = u"/" + std::u16string(id_.begin(), id_.end()) + u"/" + entry->name;
      entry->ids = {id_};
      entry->tags = tags_;
      results.push_back(entry);
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
  int start, total;
  size_t size;
};

// Records the stock vector deliveries of `manager` in `pages`.
void RecordPages(Manager& manager, std::vector<Page>& pages) {
  manager.SetStockRequestVectorCallback(Make<Manager::EntryVectorCallback>(
      [&pages](Manager::EntryVector& entries, int32_t start, int32_t total) {
        pages.push_back({start, total, entries.size()});
      }));
}

class PagedManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::RunMainThreadTasks();
    RecordPages(manager_, pages_);
  }
  Manager manager_;
  std::vector<Page> pages_;
};

// The walk asks for pages of 100 until the total or the largest total it walks (1000).
TEST(PagedWalkTest, WalksPagesUntilTheTotalOrItsLimit) {
  zorvcore::RunMainThreadTasks();
  const std::vector<std::pair<int, int>> ten = {{0, 100}, {100, 100}, {200, 100}, {300, 100}, {400, 100},
                                                {500, 100}, {600, 100}, {700, 100}, {800, 100}, {900, 100}};
  const std::pair<int, std::vector<std::pair<int, int>>> cases[] = {
      {100, {{0, 100}}}, {250, {{0, 100}, {100, 100}, {200, 50}}}, {5000, ten}};
  for (const auto& c : cases) {
    const int hits = c.first;
    const auto& expected = c.second;  // by name: clang does not capture structured bindings
    SCOPED_TRACE(hits);
    Manager manager;
    std::vector<Page> pages;
    RecordPages(manager, pages);
    auto source = std::make_shared<ScriptedSource>("paged", hits);
    manager.AddGraphicSource(source);
    manager.RequestGraphics({u"blue"});
    PumpUntil([&] { return pages.size() == expected.size(); });
    manager.Shutdown();  // waits for any further page task, of which there must be none
    zorvcore::RunMainThreadTasks();
    EXPECT_EQ(source->Pages(), expected);
    ASSERT_EQ(pages.size(), expected.size());
    for (size_t i = 0; i < pages.size(); ++i) {
      EXPECT_EQ(pages[i].start, expected[i].first);
      EXPECT_EQ(pages[i].total, hits);
      EXPECT_EQ(pages[i].size, static_cast<size_t>(expected[i].second));
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
  EXPECT_EQ(pages_.size(), 3u) << "only the second search's three pages reach the host";
}

// The map form numbers entries from the page start; the index-only requests do nothing here.
TEST_F(PagedManagerTest, MapCallbackNumbersFromThePageStartAndIndexOnlyRequestsAreIgnored) {
  bool databaseCalled = false;
  manager_.SetDatabaseTagRequestCallback(
      Make<Manager::WordSetCallback>([&](Manager::WordSet) { databaseCalled = true; }));
  std::set<std::u16string> folders{u"stale"};
  manager_.GetLocalDirectories(folders);
  EXPECT_TRUE(folders.empty());
  Names numbered;
  int32_t firstStart = -1;
  manager_.SetStockRequestCallback(
      Make<Manager::EntryMapCallback>([&](Manager::EntryMap& entries, int32_t start, int32_t) {
        if (firstStart < 0) firstStart = start;
        for (auto& [key, entry] : entries) numbered[key] = entry->name;
      }));
  manager_.AddGraphicSource(std::make_shared<ScriptedSource>("paged", 150));
  manager_.RequestSimilarTags(u"blu");
  manager_.LocalDirectoryChanged(true, {});
  manager_.RequestDefaultGraphicSet();  // queued behind the similar-tag task
  PumpUntil([&] { return numbered.size() == 150; });
  EXPECT_EQ(firstStart, 0);
  EXPECT_EQ(numbered.begin()->first, 0);
  EXPECT_EQ(numbered.rbegin()->first, 149);
  EXPECT_TRUE(pages_.empty());  // setting the map form cleared the vector form
  EXPECT_FALSE(databaseCalled);
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
  Manager manager;
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
  EXPECT_EQ(filters.size(), 4u) << "appended to, not replaced";
}

// Index mode: the module-wide index lives in a temporary folder for each test; the callbacks'
// deliveries are collected.
class IndexManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { zorvcore::RunMainThreadTasks(); }
  std::u16string IndexPath(const char16_t* name = u"index.db") const { return folder_.U16(name); }

  void Install(Manager& manager) {
    manager.SetLocalRequestCallback(
        Make<Manager::EntryMapCallback>([this](Manager::EntryMap& entries, int32_t first, int32_t) {
          maps_.emplace_back();
          for (auto& [key, entry] : entries) maps_.back()[key] = entry->name;
          firsts_.push_back(first);
        }));
    using WordsCallback = Manager::WordSetCallback;
    manager.SetDatabaseRequestCallback(Make<WordsCallback>([this](Manager::WordSet set) { keys_.push_back(set); }));
    manager.SetDatabaseTagRequestCallback(Make<WordsCallback>([this](Manager::WordSet set) { tags_.push_back(set); }));
  }

  static std::shared_ptr<ScriptedSource> NamedSource(Words names, Words tags = {}) {
    auto source = std::make_shared<ScriptedSource>("listing", 0);
    source->paged_ = false;
    source->names_ = std::move(names);
    source->tags_ = std::move(tags);
    return source;
  }

  zorvcore::TestTempFolder folder_;
  std::vector<Names> maps_;
  std::vector<int32_t> firsts_;
  std::vector<Manager::WordSet> keys_, tags_;
};

// Cancelled similar-tag requests never arrive.
TEST_F(IndexManagerTest, DefaultSetIsSortedNumberedAndSearchable) {
  Manager manager(IndexPath());
  Install(manager);
  manager.AddGraphicSource(NamedSource({u"b", u"B", u"a", u"ab"}, {u"Blue"}));
  manager.RequestSimilarTags(u"b");
  manager.CancelSimilarTagRequests();
  manager.RequestDefaultGraphicSet();  // runs after the similar-tag task on the serial queue
  PumpUntil([&] { return maps_.size() == 1; });
  EXPECT_EQ(firsts_[0], 4);
  EXPECT_EQ(maps_[0], (Names{{0, u"B"}, {1, u"a"}, {2, u"ab"}, {3, u"b"}}));
  zorvcore::RunMainThreadTasks();
  EXPECT_TRUE(tags_.empty());

  // (What words and similar tags find is pinned by the catalogue command's output, tools/testdata.)
  manager.RequestGraphics({});
  manager.RequestSimilarTags(u"bl");
  PumpUntil([&] { return keys_.size() == 1 && tags_.size() == 1; });
  EXPECT_TRUE(keys_[0].empty());
  EXPECT_EQ(tags_[0], (Manager::WordSet{u"blue"}));
}

TEST_F(IndexManagerTest, VectorFormAndSortingOff) {
  Manager manager(IndexPath());
  Words order;
  int32_t first = -1;
  manager.SetLocalRequestVectorCallback(
      Make<Manager::EntryVectorCallback>([&](Manager::EntryVector& entries, int32_t start, int32_t) {
        first = start;
        for (const auto& e : entries) order.push_back(e->name);
      }));
  manager.SetCapsuleSortFxn(nullptr);
  manager.AddGraphicSource(NamedSource({u"z", u"a"}));
  manager.AddGraphicSource(NamedSource({u"m"}));
  manager.RequestDefaultGraphicSet();
  PumpUntil([&] { return !order.empty(); });
  EXPECT_EQ(first, 0);
  EXPECT_EQ(order, (Words{u"z", u"a", u"m"}));
}

TEST_F(IndexManagerTest, TwoManagersShareTheOneIndex) {
  auto first = std::make_unique<Manager>(IndexPath(u"first.db"));
  auto second = std::make_unique<Manager>(IndexPath(u"second.db"));
  Install(*second);
  second->AddGraphicSource(NamedSource({u"shared"}));
  second->RequestDefaultGraphicSet();
  second->RequestGraphics({u"shared"});
  PumpUntil([&] { return keys_.size() == 1; });
  EXPECT_EQ(keys_[0].size(), 1u);
  first->Shutdown();  // closes the one index, which the second manager was using
  std::set<std::u16string> keys;
  QueryRapidFindDB({u"shared"}, keys);
  EXPECT_TRUE(keys.empty());
  second.reset();
}

}  // namespace
}  // namespace zorvcapsule
