// The local folder source driven as a host drives it (catalogue_test_fixture.h): a local source
// over a folder tree the test writes, requests issued and the main-thread queue pumped until the
// delivery. The thumbnail cache lives under the test's own temporary folder ($TMPDIR points there).
#include "catalogue/local_graphics_source.h"

#include <set>
#include <thread>

#include "catalogue/catalogue_test_fixture.h"
#include "catalogue/source_ids.h"
#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/hostbridge/source_info.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using testing::Description;
using testing::NamedDescription;
using zorvstorage::ReadFileBytes;
using zorvstorage::WriteFileBytes;
using Folders = LocalGraphicsSource::FolderList;

std::string Titled(const std::u16string& name) { return NamedDescription(UIString(name)); }
const std::string kBrokenTags = R"({"apiVersion":"1.4","capsuleTags":"t"})";  // the reader's bad cast

class LocalSourceTest : public testing::CatalogueTest {
 protected:
  std::u16string Templates() const { return Path("templates"); }

  GraphicSourceManager& Manager(const Folders& folders = {}) {
    source_ = std::make_shared<LocalGraphicsSource>(Templates(), folders);
    return StartManager(source_);
  }

  std::shared_ptr<LocalGraphicsSource> source_;
};

// ---- What is listed ------------------------------------------------------------------------------

TEST_F(LocalSourceTest, ListsTheTreeRecursivelyAndAdditionalFoldersOneLevelAndFiltersByFolder) {
  WritePackage("templates/a.tplx");
  WritePackage("templates/UPPER.TPLX");
  WritePackage("templates/Upper2.Tplx");
  fs::create_directories(folder_.path() / "templates/Empty");
  folder_.WriteFile("templates/notes.txt", "not a package");
  WritePackage("templates/Lower Thirds/Sports/b.tplx");
  WritePackage("extra/c.tplx");
  WritePackage("extra/deeper/d.tplx");
  // The templates folder named with a trailing slash: its folder words and watched folders are the same.
  source_ = std::make_shared<LocalGraphicsSource>(
      Templates() + u"/", Folders{{u"gone", Path("missing")}, {u"Extra", Path("extra")}, {u"No path", u""}});
  GraphicSourceManager& manager = StartManager(source_);

  const Delivery set = DefaultSet();
  // (An added folder's entries carry it as their library: the catalogue command's tests read that.)
  EXPECT_EQ(Names(set.entries), (std::vector<std::u16string>{u"a", u"b", u"c"}));

  std::set<std::u16string> watched;
  manager.GetLocalDirectories(watched);
  EXPECT_EQ(watched, (std::set<std::u16string>{Templates(), Path("templates/Lower Thirds/Sports"), Path("extra")}));

  // The folders between a package and the templates folder are words of the package; an additional
  // folder's name is not.
  const std::set<std::u16string> b{Path("templates/Lower Thirds/Sports/b.tplx")};
  EXPECT_EQ(Search({u"Lower", u"Thirds"}), b);
  EXPECT_TRUE(Search({u"extra"}).empty());
  EXPECT_TRUE(Search({u"templates"}).empty());

  // The filter: the default item first, then the folders with a path by name, a missing one unavailable.
  IGraphicSource::GraphicFilterID filter = Filter();
  const std::vector<std::string> items{"Local Templates Folder=" + std::string(kLocalDefaultID),
                                       "Extra=" + zorvcore::UTF16ToUTF8(Path("extra")),
                                       "gone=" + zorvcore::UTF16ToUTF8(Path("missing")) + " (unavailable)"};
  EXPECT_EQ(Items(filter), items);
  source_->GetFilter(filter);  // filled again: replaced, not added to
  EXPECT_EQ(Items(filter), items);
}

TEST_F(LocalSourceTest, ReplacedFoldersAreListedByTheRebuildAndAMissingTemplatesFolderByNone) {
  WritePackage("templates/a.tplx");
  WritePackage("one/b.tplx");
  WritePackage("two/c.tplx");
  GraphicSourceManager& manager = Manager({{u"One", Path("one")}});
  EXPECT_EQ(Names(DefaultSet().entries), (std::vector<std::u16string>{u"a", u"b"}));

  manager.LocalDirectoryChanged(true, {{u"Two", Path("two")}});
  // Unchanged folders: the list stays, the index is rebuilt all the same.
  manager.LocalDirectoryChanged(false, {});
  PumpUntil([&] { return sets_.size() == 3; });
  EXPECT_EQ(Names(sets_.back().entries), (std::vector<std::u16string>{u"a", u"c"}));

  // A missing templates folder lists nothing, quietly.
  fs::remove_all(folder_.path() / "templates");
  EXPECT_EQ(Names(DefaultSet().entries), (std::vector<std::u16string>{u"c"}));
  EXPECT_TRUE(Reports().empty());
}

// ---- The entry built from a package --------------------------------------------------------------

TEST_F(LocalSourceTest, EntryCarriesTheDescriptionAndAnUnreadableOneLeavesTheTitle) {
  WritePackage("templates/file-title.tplx", Titled(u"Lower Third"));
  WritePackage("templates/negative.tplx", Description([](Capsule& c) {
                 c.SetCapsuleNameLocalized(UIString(u"Negative"));
                 hostbridge::SourceInfo info;
                 info.duration = hostbridge::MediaTime(-10, 3);
                 c.SetSourceInfo(info);
               }));
  WritePackage("templates/nameless.tplx");  // no name in the description: the file title stays
  // Only the compositing application's author text exactly marks a template as needing it (compliant
  // and not compliant ones are in the catalogue's pinned output, tools/testdata).
  WritePackage("templates/upper.tplx", Description([](Capsule& c) {
                 c.SetAuthorApp(u"QZFX");
                 c.SetCapsuleNameLocalized(UIString(u"Upper"));
               }));
  // Packages without a readable description, and one with Latin-1 bytes where UTF-8 belongs, as old
  // tools wrote them.
  WritePackage("templates/unversioned.tplx", R"({"capsuleID":"x","capsuleName":{"strDB":[]}})");
  WritePackage("templates/newer.tplx", R"({"apiVersion":"9.0","capsuleID":"x"})");
  WritePackage("templates/no-description.tplx", "");
  folder_.WriteFile("templates/not-a-zip.tplx", "these bytes are no archive");
  WritePackage("templates/odd.tplx", "{\"apiVersion\":\"1.4\",\"capsuleName\":\"Caf\xE9 Noir\",\"capsuleTags\":[\"\xFFx\"]}");
  Manager();
  const Delivery set = DefaultSet();
  ASSERT_EQ(set.entries.size(), 9u);

  const CapsuleEntryPtr entry = Named(set.entries, u"Lower Third");
  // The fields the samples' descriptions fill are pinned by the catalogue's output (tools/testdata).
  EXPECT_EQ(entry->modifiedTime, zorvcore::File(Path("templates/file-title.tplx")).Modified().ToPtime());
  EXPECT_EQ(Named(set.entries, u"Negative")->durationMs, -3333);  // truncated toward zero
  EXPECT_EQ(Named(set.entries, u"nameless")->state, 2);
  EXPECT_FALSE(Named(set.entries, u"Upper")->requiresQuazel);

  // The video thumbnail is in the cache already; the still one waits until it is asked for.
  ASSERT_TRUE(entry->SupportVideoPlayback());
  EXPECT_EQ(ReadFileBytes(fs::path(zorvcore::UTF16ToUTF8(entry->videoPreviewPath))), kVideoBytes);
  size_t cached = 0;
  for (const auto& file : fs::directory_iterator(folder_.path() / "tmp/TslBrowser")) {
    EXPECT_EQ(file.path().extension(), ".mp4");
    ++cached;
  }
  EXPECT_EQ(cached, 5u) << "none for the packages whose description was not read";

  // Without a readable description a package is listed under its title, with nothing of one (its IDs
  // and size come first, as for every package: the catalogue's pinned output shows them).
  for (const char16_t* name : {u"newer", u"no-description", u"not-a-zip", u"unversioned"}) {
    const CapsuleEntryPtr unread = Named(set.entries, name);
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(name));
    EXPECT_EQ(unread->state, 0);
    EXPECT_TRUE(unread->videoPreviewPath.empty());
    EXPECT_TRUE(unread->capsuleID.empty());
    EXPECT_TRUE(unread->modifiedTime.is_not_a_date_time());
  }
  // Ill-formed text is replaced, not refused.
  EXPECT_EQ(Named(set.entries, u"Caf\uFFFD Noir")->tags, (std::vector<std::u16string>{u"\uFFFDx"}));
  EXPECT_EQ(Named(set.entries, u"Caf\uFFFD Noir")->state, 2);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(LocalSourceTest, BadCastEndsTheListingAtThatPackage) {
  // Enough packages that the listing is spread over several pool tasks, with the broken one in the
  // middle of the walk: those before it arrive, none after it.
  for (char name = 'a'; name <= 'p'; ++name) {
    const std::string title(1, name);
    WritePackage("templates/" + title + ".tplx", name == 'h' ? kBrokenTags : Titled(std::u16string(1, name)));
  }
  WritePackage("extra/z.tplx");
  Manager({{u"Extra", Path("extra")}});
  const Delivery set = DefaultSet();
  EXPECT_EQ(Names(set.entries), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f", u"g"}));
  EXPECT_EQ(set.total, 7);
  const std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("bad cast"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find(kLocalSourceID), std::string::npos) << reports[0];
  // What was indexed before the error is searchable.
  EXPECT_EQ(Search({u"g"}), (WordSet{Path("templates/g.tplx")}));
  EXPECT_TRUE(Search({u"i"}).empty());
}

// Many pool tasks. (That the hand-over stops at a broken package, as the appending does, shows in
// BadCastEndsTheListingAtThatPackage: what follows it is not in the index.)
TEST_F(LocalSourceTest, ListHandsOverEachAppendedEntryInOrderWhileTheRestIsBuilt) {
  for (int n = 0; n < 40; ++n) WritePackage("templates/" + std::to_string(100 + n) + ".tplx");
  Manager();
  std::vector<CapsuleEntryPtr> results{std::make_shared<CapsuleEntry>()};
  std::vector<CapsuleEntryPtr> handed;  // the hand-over comes one call at a time
  int total = -1;
  source_->List(results, total, nullptr, [&handed](const CapsuleEntryPtr& entry) { handed.push_back(entry); });
  EXPECT_EQ(total, 41);
  ASSERT_EQ(results.size(), 41u);
  EXPECT_EQ(handed, std::vector<CapsuleEntryPtr>(results.begin() + 1, results.end()));
}

// ---- The source's own answers --------------------------------------------------------------------

TEST_F(LocalSourceTest, SearchWithWordsOrAnAbortedTokenAppendsNothingButSetsTheTotal) {
  WritePackage("templates/a.tplx");
  WritePackage("templates/b.tplx");
  Manager();
  std::vector<CapsuleEntryPtr> results{std::make_shared<CapsuleEntry>(), std::make_shared<CapsuleEntry>()};
  auto aborted = std::make_shared<CheckCancel>();
  aborted->Abort();
  struct Case {
    std::vector<std::u16string> words;
    int count;
    CheckCancelPtr token;
    size_t size;
  } cases[] = {{{}, 100, aborted, 2}, {{u"a"}, 100, nullptr, 2}, {{}, 1, nullptr, 4}};  // count means nothing
  for (const Case& c : cases) {
    int total = -1;
    source_->Search(c.words, results, 0, c.count, total, c.token);
    EXPECT_EQ(results.size(), c.size);
    EXPECT_EQ(total, static_cast<int>(c.size));
  }
}

// ---- Thumbnails ----------------------------------------------------------------------------------

TEST_F(LocalSourceTest, StillThumbnailIsExtractedOncePerPackageVersion) {
  WritePackage("templates/a.tplx");
  WritePackage("templates/no-still.tplx", Titled(u"no still"), false, true);
  GraphicSourceManager& manager = Manager();
  const Delivery set = DefaultSet();
  const CapsuleEntryPtr entry = Named(set.entries, u"a");

  const std::u16string first = manager.GetThumbnailPath(entry, nullptr);
  ASSERT_FALSE(first.empty());
  const fs::path firstFile = zorvcore::UTF16ToUTF8(first);
  EXPECT_EQ(ReadFileBytes(firstFile), kStillBytes);

  // The second request finds the cached file and leaves it alone; so does the next listing with
  // the video thumbnail. (A cached file of another size, as a crash leaves it, is extracted again:
  // the package reader's tests try that.)
  const fs::path videoFile = zorvcore::UTF16ToUTF8(entry->videoPreviewPath);
  const std::string still(kStillBytes.size(), 's'), video(kVideoBytes.size(), 'v');
  WriteFileBytes(firstFile, still);
  WriteFileBytes(videoFile, video);
  EXPECT_EQ(manager.GetThumbnailPath(entry, nullptr), first);
  EXPECT_EQ(ReadFileBytes(firstFile), still);
  EXPECT_EQ(Named(DefaultSet().entries, u"a")->videoPreviewPath, entry->videoPreviewPath);
  EXPECT_EQ(ReadFileBytes(videoFile), video);

  // A changed package is a new version: new cache names, extracted afresh.
  const fs::path package = folder_.path() / "templates/a.tplx";
  fs::last_write_time(package, fs::last_write_time(package) + std::chrono::seconds(5));
  const std::u16string second = manager.GetThumbnailPath(entry, nullptr);
  ASSERT_FALSE(second.empty());
  EXPECT_NE(second, first);
  EXPECT_EQ(ReadFileBytes(zorvcore::UTF16ToUTF8(second)), kStillBytes);
  const CapsuleEntryPtr relisted = Named(DefaultSet().entries, u"a");
  EXPECT_NE(relisted->videoPreviewPath, entry->videoPreviewPath);
  EXPECT_EQ(ReadFileBytes(zorvcore::UTF16ToUTF8(relisted->videoPreviewPath)), kVideoBytes);

  EXPECT_TRUE(manager.GetThumbnailPath(Named(set.entries, u"no still"), nullptr).empty());
  auto aborted = std::make_shared<CheckCancel>();
  aborted->Abort();
  EXPECT_TRUE(manager.GetThumbnailPath(entry, aborted).empty());
  fs::remove(package);
  EXPECT_TRUE(manager.GetThumbnailPath(entry, nullptr).empty());
}
// ---- Threads -------------------------------------------------------------------------------------

TEST_F(LocalSourceTest, ThumbnailsAndFolderChangesBesideARunningListingAndShutdownWithOneInFlight) {
  for (int i = 0; i < 24; ++i) WritePackage("templates/t" + std::to_string(i) + ".tplx");
  WritePackage("extra/x.tplx");
  GraphicSourceManager& manager = Manager();
  const Delivery first = DefaultSet();
  ASSERT_EQ(first.entries.size(), 24u);

  manager.RequestDefaultGraphicSet();
  // Another thread asks for thumbnails while the listing may be running; the manager serializes them.
  std::vector<std::u16string> thumbnails(first.entries.size());
  std::thread asker([&] {
    for (size_t i = 0; i < first.entries.size(); ++i) {
      thumbnails[i] = manager.GetThumbnailPath(first.entries[i], nullptr);
    }
  });
  manager.LocalDirectoryChanged(true, {{u"Extra", Path("extra")}});
  std::vector<IGraphicSource::GraphicFilterID> filters;
  manager.GetFilterList(filters);
  std::set<std::u16string> watched;
  manager.GetLocalDirectories(watched);
  asker.join();
  PumpUntil([&] { return sets_.size() == 3; });

  // The rebuild queued after the change lists the new folder, whatever the one before it saw.
  EXPECT_EQ(sets_.back().entries.size(), 25u);
  EXPECT_TRUE(watched.count(Path("extra")));
  for (const auto& thumbnail : thumbnails) EXPECT_EQ(ReadFileBytes(zorvcore::UTF16ToUTF8(thumbnail)), kStillBytes);
  EXPECT_TRUE(Reports().empty());

  // A shutdown with a listing and a search in flight delivers neither; the manager then answers nothing.
  manager.RequestDefaultGraphicSet();
  manager.RequestGraphics({u"t1"});
  manager.Shutdown();
  zorvcore::RunMainThreadTasks();
  EXPECT_EQ(sets_.size(), 3u);
  EXPECT_TRUE(searches_.empty());
  manager.Shutdown();
  filters.clear();
  manager.GetFilterList(filters);
  EXPECT_TRUE(filters.empty());
  EXPECT_TRUE(manager.GetThumbnailPath(first.entries[0], nullptr).empty());
}

}  // namespace
}  // namespace zorvcapsule
